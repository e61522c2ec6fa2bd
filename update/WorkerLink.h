#pragma once
#include <windows.h>
#include <atomic>
#include <memory>
#include <mutex>

// What an update worker shares with the dialog that started it: the window it reports
// to and the cancel request. Both hold it, so it lives as long as the longer of the two;
// a dialog that goes cuts the link, and the worker's later reports go nowhere.
class WorkerLink {
public:
    explicit WorkerLink(HWND window) : window_(window) {}
    WorkerLink(const WorkerLink&) = delete;
    WorkerLink& operator=(const WorkerLink&) = delete;

    // Posts to the window unless the link was cut; false when nothing was posted.
    bool Post(UINT message, WPARAM wParam, LPARAM lParam);
    // No report reaches the window from now on, and the worker is asked to stop.
    void Cut();

    void RequestCancel() { cancel_ = true; }
    bool CancelRequested() const { return cancel_; }

private:
    std::mutex mutex_;
    HWND window_;
    std::atomic<bool> cancel_{ false };
};

// Starts the routine on a thread of its own with param; false when none could be started.
bool StartWorkerThread(UINT (*routine)(void*), void* param);

// Starts the routine with a share of the job on the heap, which the routine takes over
// with TakeJob. False when no thread could be started.
template <class Job> bool StartWorker(UINT (*routine)(void*), const std::shared_ptr<Job>& job)
{
    auto* share = new std::shared_ptr<Job>(job);
    if (StartWorkerThread(routine, share))
        return true;
    delete share;
    return false;
}

template <class Job> std::shared_ptr<Job> TakeJob(void* param)
{
    std::unique_ptr<std::shared_ptr<Job>> share(static_cast<std::shared_ptr<Job>*>(param));
    return *share;
}
