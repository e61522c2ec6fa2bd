#include "HostileSite.h"
#include <ws2tcpip.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// How long the site waits for a request's head.
const DWORD HeadPatience = 10000;

bool SendAll(SOCKET connection, const char* data, size_t size)
{
    while (size > 0) {
        const int sent = send(connection, data, static_cast<int>(size), 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

// Reads until the blank line that ends a request's head; false when none came.
bool ReadHead(SOCKET connection)
{
    std::string head;
    char buffer[1024];
    const DWORD start = GetTickCount();
    while (head.find("\r\n\r\n") == std::string::npos && GetTickCount() - start < HeadPatience) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        timeval wait = { 0, 100000 };
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        const int got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head.find("\r\n\r\n") != std::string::npos;
}

} // namespace

HostileSite::HostileSite() : stopping_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    WSADATA data;
    EXPECT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ADD_FAILURE() << "the hostile site cannot listen: error " << WSAGetLastError();
        return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
}

HostileSite::~HostileSite()
{
    SetEvent(stopping_);
    if (acceptor_.joinable())
        acceptor_.join();
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    for (std::thread& connection : connections_)
        connection.join();
    CloseHandle(stopping_);
    WSACleanup();
}

void HostileSite::SetReply(const Reply& reply)
{
    std::lock_guard<std::mutex> lock(mutex_);
    reply_ = reply;
}

HostileSite::Reply HostileSite::Trickle(const std::string& body, DWORD pauseMs)
{
    return { body.size(), body, 1, pauseMs, false };
}

HostileSite::Reply HostileSite::Stall(const std::string& body, size_t sent)
{
    return { body.size(), body.substr(0, sent), sent, 0, true };
}

HostileSite::Reply HostileSite::EndEarly(const std::string& body, size_t sent)
{
    return { body.size(), body.substr(0, sent), sent, 0, false };
}

void HostileSite::Accept()
{
    while (WaitForSingleObject(stopping_, 0) == WAIT_TIMEOUT) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait = { 0, 50000 };
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        const SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        ++open_;
        std::lock_guard<std::mutex> lock(mutex_);
        connections_.emplace_back([this, connection] { Serve(connection); });
    }
}

bool HostileSite::Pause(SOCKET connection, DWORD ms) const
{
    const DWORD start = GetTickCount();
    do {
        if (WaitForSingleObject(stopping_, 0) != WAIT_TIMEOUT)
            return false;
        // A client that closed its end makes the socket readable with nothing to read.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        timeval wait = { 0, 20000 };
        if (select(0, &readable, nullptr, nullptr, &wait) > 0) {
            char byte;
            if (recv(connection, &byte, 1, MSG_PEEK) <= 0)
                return false;
        }
    } while (GetTickCount() - start < ms);
    return true;
}

void HostileSite::Serve(SOCKET connection)
{
    Reply reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reply = reply_;
    }
    if (ReadHead(connection)) {
        ++requests_;
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                                 std::to_string(reply.announced) + "\r\nConnection: close\r\n\r\n";
        bool going = SendAll(connection, head.data(), head.size());
        const size_t piece = reply.pieceSize ? reply.pieceSize : reply.body.size();
        for (size_t sent = 0; going && sent < reply.body.size(); sent += piece) {
            if (sent > 0)
                going = Pause(connection, reply.pauseMs);
            going = going && SendAll(connection, reply.body.data() + sent, std::min(piece, reply.body.size() - sent));
        }
        while (going && reply.holdOpen)
            going = Pause(connection, 100);
    }
    shutdown(connection, SD_SEND);
    closesocket(connection);
    --open_;
}
