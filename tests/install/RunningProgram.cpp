#include "RunningProgram.h"
#include <gtest/gtest.h>

RunningProgram::RunningProgram(const std::string& path, const std::string& arguments)
{
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    const std::string folder = path.substr(0, path.rfind('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "could not start " << commandLine << ": error " << GetLastError();
        return;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    id_ = process.dwProcessId;
}

RunningProgram::RunningProgram(HANDLE process) : process_(process), id_(process ? GetProcessId(process) : 0)
{
    if (!process)
        ADD_FAILURE() << "the shell started no process";
}

RunningProgram::~RunningProgram()
{
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool RunningProgram::WaitForExit(DWORD timeoutMs)
{
    if (!process_)
        return false;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program still runs after " << timeoutMs << " ms";
        return false;
    }
    return true;
}
