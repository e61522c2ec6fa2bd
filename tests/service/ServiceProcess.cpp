#include "ServiceProcess.h"
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

ServiceProcess::ServiceProcess(const std::string& dataFolder, const std::vector<std::string>& settings)
    : folder_(dataFolder)
{
    std::filesystem::create_directories(folder_);
    const std::string portFile = folder_ + "/port";
    std::remove(portFile.c_str());
    std::vector<std::string> arguments = { SERVICE_PROGRAM, "--port", "0", "--data", folder_, "--port-file", portFile,
                                           "--web", SERVICE_WEB_DIR, "--access-log", folder_ + "/access.log" };
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start the service");
    if (pid_ == 0) {
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const std::string output = folder_ + "/service.out";
        if (!freopen(output.c_str(), "a", stdout) || !freopen(output.c_str(), "a", stderr))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string port = ReadAll(portFile);
        if (!port.empty() && port.back() == '\n') {
            port_ = std::stoi(port);
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the service ended at once: " + Output());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop(SIGKILL);
    throw std::runtime_error("the service did not report its port: " + Output());
}

ServiceProcess::~ServiceProcess()
{
    Stop(SIGTERM);
}

httplib::Client ServiceProcess::Client() const
{
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(30, 0);
    return client;
}

int ServiceProcess::Stop(int signal)
{
    if (pid_ <= 0)
        return -1;
    kill(pid_, signal);
    int status = 0;
    // A service that does not stop within the deadline is killed: a test must end.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            kill(pid_, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ServiceProcess::Output() const
{
    return ReadAll(folder_ + "/service.out");
}

std::string GreetingText(const std::string& recipients, const std::string& senderName, const std::string& senderEmail,
                         const std::vector<std::string>& actions)
{
    std::string text = "Parlacard File Version : 1\r\nBob\r\n" + recipients + "\r\n" + senderName + "\r\n" +
                       senderEmail + "\r\n\r\n";
    for (const std::string& action : actions)
        text += action + "\r\n";
    return text;
}
