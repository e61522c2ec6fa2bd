#include "service/pages/ConnectionLoop.h"
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <stdexcept>

namespace {

const std::uint64_t ListeningKey = 0;
const std::uint64_t WakeKey = 1;
const int SweepMs = 250;
// A connection being closed reads what its client still sends this long, so that the
// client gets the last reply rather than a reset.
const int LingerMs = 2000;
// While a request is at a worker, a pipelining client may send this much ahead.
const size_t AheadBytes = 64 * 1024;
// Replies not yet taken by the client, past which no more of its requests are answered.
const size_t OutputAheadBytes = 256 * 1024;
// At a stop, a request still on its way gets this long to come in whole.
const int StopGraceMs = 2000;
// What a connection on its way out drops at one turn, so that a flood cannot hold the loop.
const size_t DropBytes = 1024 * 1024;
const char Continue[] = "HTTP/1.1 100 Continue\r\n\r\n";

void AddressOf(int socket, bool peer, std::string& ip, int& port)
{
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? getpeername(socket, raw, &length) : getsockname(socket, raw, &length)) != 0 ||
        address.ss_family != AF_INET)
        return;
    const auto* inet = reinterpret_cast<const sockaddr_in*>(&address);
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &inet->sin_addr, text, sizeof(text)))
        ip = text;
    port = ntohs(inet->sin_port);
}

bool Expired(std::chrono::steady_clock::time_point since, std::chrono::steady_clock::time_point now, int ms)
{
    return now - since > std::chrono::milliseconds(ms);
}

} // namespace

struct ConnectionLoop::Connection {
    std::uint64_t id = 0;
    int socket = -1;
    ConnectionAddresses addresses;
    std::string input;
    std::string output;
    size_t sent = 0;
    int served = 0;
    std::uint32_t watched = 0;
    // A request of this connection is at a worker.
    bool busy = false;
    bool continueSent = false;
    // The connection ends once its output is gone; what comes in meanwhile is dropped.
    bool closing = false;
    bool peerClosed = false;
    bool lingering = false;
    Clock::time_point lastProgress;
    Clock::time_point requestStarted;
};

ConnectionLoop::ConnectionLoop(int listening, const LoopSettings& settings, Answer answer, AnswerHere answerHere,
                               WorkerPool& workers, WorkerPool& readingWorkers)
    : listening_(listening), settings_(settings), answer_(std::move(answer)), answerHere_(std::move(answerHere)),
      framer_(settings.maxHeadBytes, settings.maxBodyBytes), epoll_(epoll_create1(EPOLL_CLOEXEC)),
      wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), now_(Clock::now()), workers_(workers),
      readingWorkers_(readingWorkers)
{
    if (epoll_ < 0 || wake_ < 0)
        throw std::runtime_error("cannot watch connections");
    fcntl(listening_, F_SETFL, fcntl(listening_, F_GETFL) | O_NONBLOCK);
    epoll_event listen{ EPOLLIN, {} };
    listen.data.u64 = ListeningKey;
    epoll_event wake{ EPOLLIN, {} };
    wake.data.u64 = WakeKey;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, listening_, &listen) != 0 || epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &wake) != 0)
        throw std::runtime_error("cannot watch connections");
}

ConnectionLoop::~ConnectionLoop()
{
    for (auto& entry : connections_)
        close(entry.second->socket);
    close(wake_);
    close(epoll_);
}

void ConnectionLoop::Stop()
{
    stopRequested_ = true;
    const std::uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
}

void ConnectionLoop::Run()
{
    epoll_event events[256];
    Clock::time_point lastSweep = Clock::now();
    while (true) {
        const int ready = epoll_wait(epoll_, events, 256, SweepMs);
        now_ = Clock::now();
        for (int i = 0; i < ready; ++i) {
            const std::uint64_t key = events[i].data.u64;
            if (key == ListeningKey) {
                Accept();
                continue;
            }
            if (key == WakeKey) {
                TakePosted();
                continue;
            }
            const auto found = connections_.find(key);
            if (found == connections_.end())
                continue;
            Connection& c = *found->second;
            if ((events[i].events & (EPOLLERR | EPOLLHUP)) && !(events[i].events & EPOLLIN)) {
                // A reply still to come finds the connection gone when it arrives.
                if (c.busy) {
                    c.peerClosed = true;
                    Watch(c);
                } else {
                    Close(c);
                }
                continue;
            }
            if ((events[i].events & EPOLLOUT) && !Write(c))
                continue;
            // Requests held back while the client took its replies are answered now.
            if (!(events[i].events & EPOLLIN) || Read(c))
                Advance(c);
        }
        if (stopRequested_ && !stopping_) {
            stopping_ = true;
            stopDeadline_ = now_ + std::chrono::milliseconds(StopGraceMs);
            epoll_ctl(epoll_, EPOLL_CTL_DEL, listening_, nullptr);
            close(listening_);
            Sweep();
        }
        if (Expired(lastSweep, now_, SweepMs)) {
            lastSweep = now_;
            Sweep();
        }
        if (stopping_ && connections_.empty() && inHand_ == 0)
            return;
    }
}

void ConnectionLoop::Accept()
{
    while (!stopping_ && connections_.size() < settings_.maxConnections) {
        const int socket = accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            // Out of descriptors or memory: new clients wait in the queue until the next sweep.
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                PauseAccepting(true);
            return;
        }
        // A reply leaves in one write; waiting to gather more would only delay it.
        const int noDelay = 1;
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        auto connection = std::make_unique<Connection>();
        connection->id = nextId_++;
        connection->socket = socket;
        connection->lastProgress = now_;
        AddressOf(socket, true, connection->addresses.remoteIp, connection->addresses.remotePort);
        AddressOf(socket, false, connection->addresses.localIp, connection->addresses.localPort);
        Connection& c = *connection;
        connections_.emplace(c.id, std::move(connection));
        Watch(c);
    }
    if (connections_.size() >= settings_.maxConnections)
        PauseAccepting(true);
}

void ConnectionLoop::PauseAccepting(bool paused)
{
    if (paused == acceptingPaused_ || stopping_)
        return;
    acceptingPaused_ = paused;
    epoll_event listen{ paused ? 0u : static_cast<std::uint32_t>(EPOLLIN), {} };
    listen.data.u64 = ListeningKey;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, listening_, &listen);
}

// Reads what the socket has; false once the connection is closed.
bool ConnectionLoop::Read(Connection& c)
{
    char buffer[16384];
    size_t dropped = 0;
    while (!c.peerClosed && !Backlogged(c) && dropped < DropBytes) {
        const ssize_t received = recv(c.socket, buffer, sizeof buffer, 0);
        if (received > 0) {
            // What comes to a connection on its way out is dropped, and keeps it no longer.
            if (c.closing || c.lingering) {
                dropped += static_cast<size_t>(received);
                continue;
            }
            c.lastProgress = now_;
            if (c.input.empty())
                c.requestStarted = now_;
            c.input.append(buffer, static_cast<size_t>(received));
            if (static_cast<size_t>(received) < sizeof buffer)
                break;
            continue;
        }
        if (received == 0) {
            c.peerClosed = true;
            break;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        Close(c);
        return false;
    }
    if (c.lingering && c.peerClosed) {
        Close(c);
        return false;
    }
    return true;
}

// Answers the whole requests that have come, here or through a worker (one at a time),
// tells a waiting client to go on, refuses what cannot be a request, then writes; false
// once the connection is closed.
bool ConnectionLoop::Advance(Connection& c)
{
    bool answeredHere = true;
    while (answeredHere && !c.busy && !c.closing && !c.lingering && !c.input.empty() &&
           c.output.size() < OutputAheadBytes) {
        answeredHere = false;
        const RequestFramer::Frame frame = framer_.Find(c.input);
        c.input.erase(0, frame.leading);
        switch (frame.state) {
        case RequestFramer::State::Incomplete:
            if (frame.headBytes > 0 && frame.expectsContinue && !c.continueSent) {
                c.output += Continue;
                c.continueSent = true;
            }
            break;
        case RequestFramer::State::Complete: {
            std::string request = c.input.substr(0, frame.bytes);
            c.input.erase(0, frame.bytes);
            c.requestStarted = now_;
            const bool last = ++c.served >= settings_.requestsPerConnection || stopping_;
            answeredHere = Here(c, request, last);
            if (!answeredHere)
                Dispatch(c, std::move(request), last);
            break;
        }
        case RequestFramer::State::BodyTooLarge:
            // The pages say why in their own words; the body is not read.
            Dispatch(c, c.input.substr(0, frame.headBytes), true);
            c.input.clear();
            c.closing = true;
            break;
        case RequestFramer::State::HeadTooLarge:
            Refuse(c, 431, "Request Header Fields Too Large");
            break;
        case RequestFramer::State::NoLength:
            Refuse(c, 411, "Length Required");
            break;
        case RequestFramer::State::Malformed:
            Refuse(c, 400, "Bad Request");
            break;
        }
    }
    if (c.peerClosed && !c.busy && c.output.empty()) {
        Close(c);
        return false;
    }
    if (stopping_ && !c.busy && c.output.empty() && c.input.empty()) {
        Close(c);
        return false;
    }
    return Write(c);
}

// The client has sent ahead while its replies wait: it is read no further for now.
bool ConnectionLoop::Backlogged(const Connection& c) const
{
    return (c.busy || c.output.size() >= OutputAheadBytes) && c.input.size() >= AheadBytes;
}

// Answers the request on this thread when its page needs no worker.
bool ConnectionLoop::Here(Connection& c, const std::string& request, bool closeAfter)
{
    LoopReply reply;
    try {
        if (!answerHere_(request, c.addresses, closeAfter, reply))
            return false;
    } catch (...) {
        Refuse(c, 500, "Internal Server Error");
        return true;
    }
    c.output += reply.bytes;
    c.requestStarted = now_;
    if (reply.close) {
        c.closing = true;
        c.input.clear();
    }
    return true;
}

void ConnectionLoop::Dispatch(Connection& c, std::string request, bool closeAfter)
{
    c.busy = true;
    c.continueSent = false;
    ++inHand_;
    const bool reading = request.compare(0, 4, "GET ") == 0 || request.compare(0, 5, "HEAD ") == 0;
    (reading ? readingWorkers_ : workers_).Run([this, id = c.id, request = std::move(request), addresses = c.addresses, closeAfter]() mutable {
        ConnectionStream stream(std::move(request), addresses, [this, id](std::string piece, bool last, bool close) {
            Post(id, std::move(piece), last, close);
        });
        bool keep = false;
        try {
            keep = answer_(stream, closeAfter);
        } catch (...) {
        }
        stream.Finish(!keep || closeAfter);
    });
}

void ConnectionLoop::Refuse(Connection& c, int status, const char* reason)
{
    const std::string body = std::string(reason) + "\n";
    c.output += "HTTP/1.1 " + std::to_string(status) + " " + reason +
                "\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n\r\n" + body;
    c.input.clear();
    c.closing = true;
}

// Sends what the socket takes; false once the connection is closed.
bool ConnectionLoop::Write(Connection& c)
{
    while (c.sent < c.output.size()) {
        const ssize_t sent = send(c.socket, c.output.data() + c.sent, c.output.size() - c.sent, MSG_NOSIGNAL);
        if (sent > 0) {
            c.sent += static_cast<size_t>(sent);
            c.lastProgress = now_;
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        Close(c);
        return false;
    }
    if (c.sent == c.output.size()) {
        c.output.clear();
        c.sent = 0;
        if (c.peerClosed && !c.busy) {
            Close(c);
            return false;
        }
        if (c.closing && !c.busy && !c.lingering) {
            shutdown(c.socket, SHUT_WR);
            c.lingering = true;
            c.lastProgress = now_;
        }
    }
    Watch(c);
    return true;
}

void ConnectionLoop::Watch(Connection& c)
{
    std::uint32_t wanted = 0;
    if (!c.peerClosed && !Backlogged(c))
        wanted |= EPOLLIN;
    if (!c.output.empty())
        wanted |= EPOLLOUT;
    if (c.watched == wanted)
        return;
    epoll_event event{ wanted, {} };
    event.data.u64 = c.id;
    if (c.watched == 0)
        epoll_ctl(epoll_, EPOLL_CTL_ADD, c.socket, &event);
    else if (wanted == 0)
        epoll_ctl(epoll_, EPOLL_CTL_DEL, c.socket, nullptr);
    else
        epoll_ctl(epoll_, EPOLL_CTL_MOD, c.socket, &event);
    c.watched = wanted;
}

void ConnectionLoop::Close(Connection& c)
{
    close(c.socket);
    connections_.erase(c.id);
    if (connections_.size() < settings_.maxConnections)
        PauseAccepting(false);
}

// From a worker: the pieces of a reply, handed to the loop's thread.
void ConnectionLoop::Post(std::uint64_t connection, std::string piece, bool last, bool close)
{
    bool first;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        first = posted_.empty();
        posted_.push_back(Posted{ connection, std::move(piece), last, close });
    }
    if (first) {
        const std::uint64_t one = 1;
        (void)!::write(wake_, &one, sizeof one);
    }
}

void ConnectionLoop::TakePosted()
{
    std::uint64_t count;
    (void)!::read(wake_, &count, sizeof count);
    std::vector<Posted> posted;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted.swap(posted_);
    }
    for (Posted& reply : posted) {
        if (reply.last)
            --inHand_;
        const auto found = connections_.find(reply.connection);
        if (found == connections_.end())
            continue;
        Connection& c = *found->second;
        c.output += reply.piece;
        if (!reply.last) {
            Write(c);
            continue;
        }
        c.busy = false;
        if (reply.close) {
            c.closing = true;
            c.input.clear();
        }
        Advance(c);
    }
}

// Ends the connections whose time ran out: idle ones, requests that stalled or took too
// long to arrive (they hear why), replies the client does not take, lingering closes. At a
// stop, idle and lingering connections end at once, and the rest once the grace is over.
void ConnectionLoop::Sweep()
{
    const bool graceOver = stopping_ && now_ > stopDeadline_;
    PauseAccepting(connections_.size() >= settings_.maxConnections);
    std::vector<Connection*> due;
    for (auto& entry : connections_)
        due.push_back(entry.second.get());
    for (Connection* c : due) {
        if (c->busy)
            continue;
        if (c->lingering) {
            if (stopping_ || Expired(c->lastProgress, now_, LingerMs))
                Close(*c);
        } else if (!c->output.empty()) {
            if (graceOver || Expired(c->lastProgress, now_, settings_.stallMs))
                Close(*c);
        } else if (c->input.empty() && !c->closing) {
            if (stopping_ || Expired(c->lastProgress, now_, settings_.idleMs))
                Close(*c);
        } else if (!c->closing &&
                   (Expired(c->lastProgress, now_, settings_.stallMs) ||
                    Expired(c->requestStarted, now_, settings_.requestMs) || graceOver)) {
            Refuse(*c, 408, "Request Timeout");
            Write(*c);
        }
    }
}
