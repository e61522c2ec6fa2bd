#pragma once
#include <httplib.h>
#include <chrono>
#include <string>

// One client connection as the HTTP library reads and writes it, with a time limit on
// every wait. The library reads a request's head a byte at a time: reads come from a
// buffer of this connection's, filled a socket read at a time, and what a pipelining
// client sent beyond one request stays there for the next. A reply's head is held back
// until its body's first piece, so that the two leave in one packet; what is held goes
// before any read and when the reply ends. A handler may take the connection over and
// answer with raw bytes (or with nothing at all): whatever the library writes afterwards
// is dropped.
class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(int socket, int timeoutMs);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* buffer, size_t size) override;
    ssize_t write(const char* data, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override;

    // Sends the bytes as they are; the connection is closed once the handler returns.
    void TakeOver(const std::string& rawReply);
    bool IsTakenOver() const { return takenOver_; }

    // From now on reads give up when the request is not all there within the time.
    void StartRequest(int deadlineMs);
    // Sends what is held back; false when the client is gone.
    bool Flush();
    // Whether another request starts within the time.
    bool WaitForNextRequest(int timeoutMs);

private:
    bool WaitFor(short events) const;
    int ReadWaitMs() const;
    bool SendAll(const char* data, size_t size) const;
    bool SendHeld() const;
    bool Fill();

    int socket_;
    int timeoutMs_;
    std::string remoteIp_;
    int remotePort_ = -1;
    std::string localIp_;
    int localPort_ = -1;
    bool takenOver_ = false;
    bool headExpected_ = false;
    // Sent from the waits for input too, which the library sees as const.
    mutable std::string held_;
    char buffer_[4096];
    size_t buffered_ = 0;
    size_t taken_ = 0;
    std::chrono::steady_clock::time_point requestDeadline_ = std::chrono::steady_clock::time_point::max();
};
