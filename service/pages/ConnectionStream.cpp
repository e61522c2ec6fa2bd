#include "service/pages/ConnectionStream.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <algorithm>
#include <cerrno>

namespace {

void AddressOf(int socket, bool peer, std::string& ip, int& port)
{
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    ip.clear();
    port = -1;
    if ((peer ? getpeername(socket, raw, &length) : getsockname(socket, raw, &length)) != 0 ||
        address.ss_family != AF_INET)
        return;
    const auto* inet = reinterpret_cast<const sockaddr_in*>(&address);
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &inet->sin_addr, text, sizeof(text)))
        ip = text;
    port = ntohs(inet->sin_port);
}

bool PollFor(int socket, short events, int timeoutMs)
{
    pollfd watched{ socket, events, 0 };
    int ready;
    do {
        ready = poll(&watched, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

// The addresses are asked for once: the library wants them for every request.
ConnectionStream::ConnectionStream(int socket, int timeoutMs) : socket_(socket), timeoutMs_(timeoutMs)
{
    AddressOf(socket_, true, remoteIp_, remotePort_);
    AddressOf(socket_, false, localIp_, localPort_);
}

bool ConnectionStream::WaitFor(short events) const
{
    return PollFor(socket_, events, timeoutMs_);
}

void ConnectionStream::StartRequest(int deadlineMs)
{
    headExpected_ = true;
    requestDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
}

bool ConnectionStream::WaitForNextRequest(int timeoutMs)
{
    if (taken_ < buffered_)
        return true;
    // A busy client's next request is often there already: then no wait at all.
    const ssize_t received = recv(socket_, buffer_, sizeof buffer_, MSG_DONTWAIT);
    if (received > 0) {
        taken_ = 0;
        buffered_ = static_cast<size_t>(received);
        return true;
    }
    return received < 0 && PollFor(socket_, POLLIN, timeoutMs);
}

int ConnectionStream::ReadWaitMs() const
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(requestDeadline_ -
                                                                            std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(0, std::min<long long>(timeoutMs_, left.count())));
}

bool ConnectionStream::is_readable() const
{
    // The client may be waiting for what is held ("100 Continue") before it sends more.
    if (taken_ == buffered_ && !held_.empty())
        SendHeld();
    return taken_ < buffered_ || PollFor(socket_, POLLIN, ReadWaitMs());
}

// Writes wait for room themselves, and only when the socket has none.
bool ConnectionStream::is_writable() const
{
    return !takenOver_;
}

ssize_t ConnectionStream::read(char* buffer, size_t size)
{
    if (taken_ == buffered_ && !Flush())
        return -1;
    if (taken_ == buffered_ && !Fill())
        return -1;
    if (buffered_ == 0)
        return 0;
    const size_t given = std::min(size, buffered_ - taken_);
    std::copy(buffer_ + taken_, buffer_ + taken_ + given, buffer);
    taken_ += given;
    return static_cast<ssize_t>(given);
}

// Reads what the socket has; waits only when it has nothing yet. False on an error or
// when the wait ran out; an end of the stream leaves the buffer empty.
bool ConnectionStream::Fill()
{
    taken_ = buffered_ = 0;
    while (true) {
        const ssize_t received = recv(socket_, buffer_, sizeof buffer_, MSG_DONTWAIT);
        if (received >= 0) {
            buffered_ = static_cast<size_t>(received);
            return true;
        }
        if (errno == EINTR)
            continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !PollFor(socket_, POLLIN, ReadWaitMs()))
            return false;
    }
}

ssize_t ConnectionStream::write(const char* data, size_t size)
{
    if (takenOver_)
        return -1;
    if (headExpected_) {
        headExpected_ = false;
        held_.assign(data, size);
        return static_cast<ssize_t>(size);
    }
    if (!held_.empty()) {
        held_.append(data, size);
        return Flush() ? static_cast<ssize_t>(size) : -1;
    }
    return SendAll(data, size) ? static_cast<ssize_t>(size) : -1;
}

bool ConnectionStream::Flush()
{
    return SendHeld();
}

bool ConnectionStream::SendHeld() const
{
    std::string held;
    held.swap(held_);
    return takenOver_ || SendAll(held.data(), held.size());
}

bool ConnectionStream::SendAll(const char* data, size_t size) const
{
    while (size > 0) {
        // A client that went away must not end the whole service with SIGPIPE.
        const ssize_t sent = send(socket_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(POLLOUT))
                return false;
            continue;
        }
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    ip = remoteIp_;
    port = remotePort_;
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    ip = localIp_;
    port = localPort_;
}

socket_t ConnectionStream::socket() const
{
    return socket_;
}

void ConnectionStream::TakeOver(const std::string& rawReply)
{
    if (!takenOver_ && Flush())
        SendAll(rawReply.data(), rawReply.size());
    takenOver_ = true;
}
