#include "update/WorkerLink.h"
#include "framework/Thread.h"

bool WorkerLink::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Under the lock, so that the window cannot be cut (and its handle reused) between
    // the test and the post.
    std::lock_guard<std::mutex> lock(mutex_);
    return window_ && ::PostMessageA(window_, message, wParam, lParam);
}

void WorkerLink::Cut()
{
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = nullptr;
    cancel_ = true;
}

bool StartWorkerThread(UINT (*routine)(void*), void* param)
{
    return AfxBeginThread(routine, param) != nullptr;
}
