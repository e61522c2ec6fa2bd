#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A web site of the test's own on a free loopback port that misbehaves in ways the
// service stand-in does not: every request gets the same scripted reply. Reached as a
// proxy (ProxySetting), whatever host the address names.
class HostileSite {
public:
    struct Reply {
        // The Content-Length announced.
        size_t announced = 0;
        // What is sent of the body, in pieces of pieceSize bytes with pauseMs between them.
        std::string body;
        size_t pieceSize = 0;
        DWORD pauseMs = 0;
        // After the body, the connection stays open and silent until the site stops;
        // otherwise it is shut down cleanly (no reset).
        bool holdOpen = false;
    };

    HostileSite();
    ~HostileSite();
    HostileSite(const HostileSite&) = delete;
    HostileSite& operator=(const HostileSite&) = delete;

    unsigned short Port() const { return port_; }
    void SetReply(const Reply& reply);
    int Requests() const { return requests_; }
    // Connections that have not ended yet: a client that gave up closed its end.
    int OpenConnections() const { return open_; }

    // The announced length with the whole body, sent one byte at a time with pauseMs between.
    static Reply Trickle(const std::string& body, DWORD pauseMs);
    // The announced length, the first bytes of the body, then silence.
    static Reply Stall(const std::string& body, size_t sent);
    // The announced length, the first bytes of the body, then a clean end of the connection.
    static Reply EndEarly(const std::string& body, size_t sent);

private:
    void Accept();
    void Serve(SOCKET connection);
    // Waits for the pause; false when the site is stopping or the client went.
    bool Pause(SOCKET connection, DWORD ms) const;

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE stopping_;
    std::thread acceptor_;
    std::mutex mutex_;
    Reply reply_;
    std::vector<std::thread> connections_;
    std::atomic<int> requests_{ 0 };
    std::atomic<int> open_{ 0 };
};
