#include "framework/Thread.h"
#include <process.h>

CWinThread::CWinThread(Routine routine, void* param) : routine_(routine), param_(param) {}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

// Through the C runtime's own start, so that the routine may use all of the runtime.
bool CWinThread::CreateSuspended(UINT stackSize)
{
    unsigned id = 0;
    const uintptr_t handle = ::_beginthreadex(nullptr, stackSize, &CWinThread::Start, this, CREATE_SUSPENDED, &id);
    if (!handle)
        return false;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    return true;
}

unsigned __stdcall CWinThread::Start(void* thread)
{
    CWinThread* self = static_cast<CWinThread*>(thread);
    const UINT result = self->routine_(self->param_);
    if (self->m_bAutoDelete)
        delete self;
    return result;
}

// Always created suspended, so that the handle, id and priority are in place before the
// routine runs (and, with auto-delete, before it can delete the object).
CWinThread* AfxBeginThread(CWinThread::Routine routine, void* param, int priority, UINT stackSize,
                           DWORD createFlags)
{
    CWinThread* thread = new CWinThread(routine, param);
    if (!thread->CreateSuspended(stackSize)) {
        delete thread;
        return nullptr;
    }
    // A priority the system refuses leaves the thread at normal, which still does the work.
    if (priority != THREAD_PRIORITY_NORMAL)
        ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
