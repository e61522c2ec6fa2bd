#include "service/pages/ConnectionStream.h"
#include <algorithm>

namespace {

// The connection's loop tells a waiting client to go on as soon as the head is in; the
// library, seeing the whole request, would say it a second time.
const char InterimReply[] = "HTTP/1.1 100 ";

} // namespace

ConnectionStream::ConnectionStream(std::string request, const ConnectionAddresses& addresses, Sink sink)
    : request_(std::move(request)), addresses_(addresses), sink_(std::move(sink))
{
}

bool ConnectionStream::is_readable() const
{
    return true;
}

bool ConnectionStream::is_writable() const
{
    return !takenOver_;
}

ssize_t ConnectionStream::read(char* buffer, size_t size)
{
    const size_t given = std::min(size, request_.size() - taken_);
    std::copy(request_.data() + taken_, request_.data() + taken_ + given, buffer);
    taken_ += given;
    return static_cast<ssize_t>(given);
}

ssize_t ConnectionStream::write(const char* data, size_t size)
{
    if (takenOver_)
        return -1;
    const std::string piece(data, size);
    if (!written_ && piece.compare(0, sizeof InterimReply - 1, InterimReply) == 0)
        return static_cast<ssize_t>(size);
    if (!written_) {
        written_ = headOnly_ = true;
        held_ = piece;
    } else if (headOnly_) {
        headOnly_ = false;
        held_ += piece;
    } else {
        sink_(std::move(held_), false, false);
        held_ = piece;
    }
    return static_cast<ssize_t>(size);
}

void ConnectionStream::Finish(bool close)
{
    sink_(std::move(held_), true, close || takenOver_);
    held_.clear();
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    ip = addresses_.remoteIp;
    port = addresses_.remotePort;
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    ip = addresses_.localIp;
    port = addresses_.localPort;
}

socket_t ConnectionStream::socket() const
{
    return INVALID_SOCKET;
}

void ConnectionStream::TakeOver(const std::string& rawReply)
{
    if (takenOver_)
        return;
    held_ += rawReply;
    takenOver_ = true;
}
