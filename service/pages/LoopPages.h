#pragma once
#include "service/pages/ConnectionStream.h"
#include <httplib.h>
#include <string>
#include <unordered_map>

// What the server does around every page: refine error replies, answer for a page that
// threw, log the request.
struct ServerHooks {
    httplib::Server::HandlerWithResponse errorHandler;
    httplib::Server::ExceptionHandler exceptionHandler;
    httplib::Logger logger;
};

// A reply made on a connection's own thread; close: the connection ends after it.
struct LoopReply {
    std::string bytes;
    bool close = false;
};

// The pages a connection's own thread answers at once, with no hand-over to a worker and
// back: pages that need only the processor and reads the store answers from this
// machine. They are answered as the library would (its error, exception and log hooks
// included), from a plain request read without it; any other request is left to it.
class LoopPages {
public:
    // The server's hooks, as it holds them (they may be set later); keepAlive: the
    // Keep-Alive header of a reply that keeps its connection.
    LoopPages(const ServerHooks& hooks, std::string keepAlive);

    // The GET page at exactly this path; a request whose query holds writingParameter is
    // left to the workers, as the page then writes.
    void Add(const std::string& path, httplib::Server::Handler handler, const std::string& writingParameter);
    // Answers a whole request when it is for one of the pages; closeAfter: the connection
    // ends after this reply.
    bool Answer(const std::string& bytes, const ConnectionAddresses& addresses, bool closeAfter, LoopReply& reply) const;

private:
    struct Page {
        httplib::Server::Handler handler;
        std::string writingParameter;
    };

    const ServerHooks& hooks_;
    const std::string keepAlive_;
    std::unordered_map<std::string, Page> pages_;
};
