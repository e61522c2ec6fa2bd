#pragma once
#include <httplib.h>
#include <functional>
#include <string>

// Where a connection's peer and this end are, as the HTTP library asks for them.
struct ConnectionAddresses {
    std::string remoteIp;
    int remotePort = -1;
    std::string localIp;
    int localPort = -1;
};

// One whole request, already received, as the HTTP library reads it, and its reply as the
// library writes it, handed on piece by piece: a reply's head goes with its body's first
// piece, and each piece is held until the next one or the end, so that a plain reply
// leaves in one piece. A handler may take the connection over and answer with raw bytes
// (or with nothing at all): whatever the library writes afterwards is dropped, and the
// connection ends after them.
class ConnectionStream : public httplib::Stream {
public:
    // Gets each piece of the reply; last: the reply is all there, and close: the
    // connection ends after it.
    using Sink = std::function<void(std::string piece, bool last, bool close)>;

    ConnectionStream(std::string request, const ConnectionAddresses& addresses, Sink sink);

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

    // Hands on what is held, as the reply's last piece.
    void Finish(bool close);

private:
    const std::string request_;
    size_t taken_ = 0;
    const ConnectionAddresses& addresses_;
    Sink sink_;
    bool takenOver_ = false;
    bool written_ = false;
    bool headOnly_ = false;
    std::string held_;
};
