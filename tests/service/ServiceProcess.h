#pragma once
#include "ChildProcess.h"
#include <httplib.h>
#include <string>
#include <vector>

// The service program itself, started on a free loopback port with its data in a folder
// of the caller's, and stopped (SIGTERM) when this goes.
class ServiceProcess {
public:
    ServiceProcess(const std::string& dataFolder, const std::vector<std::string>& settings);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    int Port() const { return process_.Port(); }
    int Pid() const { return process_.Pid(); }
    // A client of its own for each caller; the library's clients are not shared.
    httplib::Client Client() const;

    // Stops it with the signal and waits for it; returns its exit status (or 128 + signal).
    int Stop(int signal);
    // Its standard output and error so far.
    std::string Output() const;

private:
    std::string folder_;
    ChildProcess process_;
};

// A greeting as the program posts it: head lines with CR LF, then the action lines.
std::string GreetingText(const std::string& recipients, const std::string& senderName = "Ann Sender",
                         const std::string& senderEmail = "ann@example.com",
                         const std::vector<std::string>& actions = { "Merlin,Show", "Merlin,Speak,Hello!" });

// "r0@example.com,r1@example.com,...": count addresses for a greeting's recipient line.
std::string RecipientList(int count);

// Opens the send page of the greeting through one client and presses its Send through
// the other; a failed result when the page has no Send form.
httplib::Result PressSend(httplib::Client& pageFrom, httplib::Client& sendTo, const std::string& id);
