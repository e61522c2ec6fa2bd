#pragma once
#include <windows.h>
#include <string>

// A program started for a test, or handed over by the shell. One still running when this
// goes (the test failed on the way) is ended, so that it does not outlive the test.
class RunningProgram {
public:
    // Starts the program in its own folder; a start that fails fails the test.
    RunningProgram(const std::string& path, const std::string& arguments);
    // Takes over a process the shell started.
    explicit RunningProgram(HANDLE process);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    // Waits for the program to end by itself; a failure after the timeout.
    bool WaitForExit(DWORD timeoutMs);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
