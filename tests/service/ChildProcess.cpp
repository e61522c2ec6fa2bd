#include "ChildProcess.h"
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& log,
                           const std::string& portFile)
    : log_(log)
{
    std::remove(portFile.c_str());
    std::vector<std::string> words = arguments;
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start " + arguments.at(0));
    if (pid_ == 0) {
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (!freopen(log.c_str(), "a", stdout) || !freopen(log.c_str(), "a", stderr))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        // A port without its line end may still be being written.
        const std::string port = ReadWholeFile(portFile);
        if (!port.empty() && port.back() == '\n') {
            port_ = std::stoi(port);
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error(arguments[0] + " ended at once: " + Output());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop(SIGKILL);
    throw std::runtime_error(arguments[0] + " did not report its port: " + Output());
}

ChildProcess::~ChildProcess()
{
    Stop(SIGKILL);
}

int ChildProcess::Stop(int signal)
{
    if (pid_ <= 0)
        return -1;
    kill(pid_, signal);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            kill(pid_, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ChildProcess::Output() const
{
    return ReadWholeFile(log_);
}
