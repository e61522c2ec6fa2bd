#pragma once
#include "service/pages/ConnectionStream.h"
#include "service/pages/LoopPages.h"
#include "service/pages/RequestFramer.h"
#include "service/pages/WorkerPool.h"
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct LoopSettings {
    // Loops, each on a thread of its own with a listening socket of its own on the port.
    size_t loops = 1;
    // For all loops together, each holding its share.
    size_t maxConnections = 1000;
    // Requests with a body (uploads, forms) wait for their commit, and the more of them
    // wait together, the more share one; reading pages only needs the processors.
    size_t workers = 64;
    size_t readingWorkers = 4;
    size_t maxHeadBytes = 16 * 1024;
    size_t maxBodyBytes = 1024 * 1024;
    // A kept connection waits this long for its next request.
    int idleMs = 5000;
    // The longest pause within a request's arrival or a reply's departure.
    int stallMs = 10000;
    // A whole request must have come by then, however it trickles in.
    int requestMs = 60000;
    int requestsPerConnection = 1000;
};

// Connections on one thread: each connection's bytes are read as they come (epoll,
// sockets that never block) and framed into whole requests; a request for a page that
// needs only the processor is answered here at once, any other goes to a pool of
// workers, and the replies are written back as the sockets take them. Idle and slow
// clients cost no thread. A connection has at most one request at a worker, and the next
// is taken only once the one before is answered, so pipelined requests are answered in
// order; a client that does not take its replies gets no more made until it does.
class ConnectionLoop {
public:
    // Answers one whole request on a worker; closeAfter: the connection ends after this
    // reply. Returns whether the connection may stay open.
    using Answer = std::function<bool(ConnectionStream& stream, bool closeAfter)>;
    // Answers a whole request on the loop's thread, or leaves it to the workers (false).
    using AnswerHere = std::function<bool(const std::string& request, const ConnectionAddresses& addresses,
                                          bool closeAfter, LoopReply& reply)>;

    // The pools outlive the loop's Run; requests without a body go to readingWorkers.
    ConnectionLoop(int listening, const LoopSettings& settings, Answer answer, AnswerHere answerHere,
                   WorkerPool& workers, WorkerPool& readingWorkers);
    ~ConnectionLoop();
    ConnectionLoop(const ConnectionLoop&) = delete;
    ConnectionLoop& operator=(const ConnectionLoop&) = delete;

    // Serves until Stop; then closes idle connections at once, answers the requests in
    // hand, gives requests on their way and replies not yet taken a moment, and returns.
    void Run();
    // From any thread.
    void Stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;
    struct Posted {
        std::uint64_t connection;
        std::string piece;
        bool last;
        bool close;
    };

    void Accept();
    void PauseAccepting(bool paused);
    bool Read(Connection& c);
    bool Advance(Connection& c);
    bool Backlogged(const Connection& c) const;
    bool Here(Connection& c, const std::string& request, bool closeAfter);
    void Dispatch(Connection& c, std::string request, bool closeAfter);
    void Refuse(Connection& c, int status, const char* reason);
    bool Write(Connection& c);
    void Watch(Connection& c);
    void Close(Connection& c);
    void Post(std::uint64_t connection, std::string piece, bool last, bool close);
    void TakePosted();
    void Sweep();

    const int listening_;
    const LoopSettings settings_;
    const Answer answer_;
    const AnswerHere answerHere_;
    const RequestFramer framer_;
    const int epoll_;
    const int wake_;
    std::atomic<bool> stopRequested_{ false };
    bool stopping_ = false;
    Clock::time_point stopDeadline_;
    bool acceptingPaused_ = false;
    std::uint64_t nextId_ = 2;
    std::unordered_map<std::uint64_t, std::unique_ptr<Connection>> connections_;
    // Requests at a worker whose reply has not ended yet.
    size_t inHand_ = 0;
    Clock::time_point now_;

    std::mutex postedMutex_;
    std::vector<Posted> posted_;

    WorkerPool& workers_;
    WorkerPool& readingWorkers_;
};
