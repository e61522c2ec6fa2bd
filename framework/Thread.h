#pragma once
#include <windows.h>

// A worker thread started by AfxBeginThread. By default the object deletes itself when
// the routine returns; a caller that waits for the thread starts it suspended, clears
// m_bAutoDelete, resumes it, waits on m_hThread and then deletes the object itself.
class CWinThread {
public:
    using Routine = UINT (*)(void* param);

    CWinThread(Routine routine, void* param);
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // The previous suspend count, or (DWORD)-1 on failure.
    DWORD ResumeThread();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    bool m_bAutoDelete = true;

private:
    Routine routine_;
    void* param_;

    bool CreateSuspended(UINT stackSize);
    static unsigned __stdcall Start(void* thread);
    friend CWinThread* AfxBeginThread(Routine, void*, int, UINT, DWORD);
};

// Starts routine(param) on a new thread; nullptr when it cannot be created. With
// CREATE_SUSPENDED the thread waits for ResumeThread.
CWinThread* AfxBeginThread(CWinThread::Routine routine, void* param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0);
