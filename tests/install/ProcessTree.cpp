#include "ProcessTree.h"
#include <gtest/gtest.h>

namespace {

// Closes its handle on the way out of every return.
struct Handle {
    HANDLE value;
    explicit Handle(HANDLE handle) : value(handle) {}
    ~Handle()
    {
        if (value)
            CloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

// The job's processes, or -1 when the job cannot be asked.
int ActiveProcesses(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr))
        return -1;
    return static_cast<int>(info.ActiveProcesses);
}

} // namespace

DWORD RunProcessTree(const std::string& commandLine, DWORD timeoutMs)
{
    const DWORD failed = ~0u;
    Handle job(CreateJobObjectA(nullptr, nullptr));
    if (!job.value) {
        ADD_FAILURE() << "CreateJobObject failed: " << GetLastError();
        return failed;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "could not start " << commandLine << ": error " << GetLastError();
        return failed;
    }
    Handle thread(process.hThread);
    Handle first(process.hProcess);
    if (!AssignProcessToJobObject(job.value, first.value)) {
        ADD_FAILURE() << "AssignProcessToJobObject failed: " << GetLastError();
        TerminateProcess(first.value, failed);
        return failed;
    }
    ResumeThread(thread.value);

    const DWORD start = GetTickCount();
    if (WaitForSingleObject(first.value, timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << commandLine << " still runs after " << timeoutMs << " ms";
        TerminateJobObject(job.value, failed);
        return failed;
    }
    int active;
    while ((active = ActiveProcesses(job.value)) > 0 && GetTickCount() - start < timeoutMs)
        Sleep(50);
    if (active != 0) {
        ADD_FAILURE() << "processes started by " << commandLine << " still run after " << timeoutMs
                      << " ms (job answer " << active << ")";
        TerminateJobObject(job.value, failed);
        return failed;
    }
    DWORD exitCode = failed;
    GetExitCodeProcess(first.value, &exitCode);
    return exitCode;
}
