#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// A program the tests start, its output in a log file, that reports its port by writing
// it, with a line end, into a file of its own. Killed when this goes unless stopped before.
class ChildProcess {
public:
    // Starts the program (arguments[0]) and waits up to 20 s for its port; throws, with
    // what it wrote, when it ends first or stays silent.
    ChildProcess(const std::vector<std::string>& arguments, const std::string& log, const std::string& portFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int Port() const { return port_; }
    pid_t Pid() const { return pid_; }
    // Sends the signal and waits for the end, killing it after 30 s: a test must end.
    // Returns its exit status (or 128 + signal), -1 when it was stopped before.
    int Stop(int signal);
    // Its standard output and error so far.
    std::string Output() const;

private:
    std::string log_;
    pid_t pid_ = -1;
    int port_ = 0;
};

// A file's bytes; empty when there is none.
std::string ReadWholeFile(const std::string& path);
