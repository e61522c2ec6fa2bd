#pragma once
#include "service/pages/ConnectionLoop.h"
#include "service/pages/ConnectionStream.h"
#include <httplib.h>
#include <functional>
#include <memory>
#include <string>

// The HTTP library's pages and routing, served by a loop of our own: connections wait on
// one thread, and only whole requests go to the workers that answer them. A connection is
// kept for the next request unless a handler took it over to answer with raw bytes or
// close it early, as a broken server would.
class SiteServer : public httplib::Server {
public:
    explicit SiteServer(const LoopSettings& settings);
    ~SiteServer() override;

    // Binds to the port (0: any free one) with a long queue of connections waiting to be
    // taken, so a burst of clients is not turned away; the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop, then answers the requests in hand and returns.
    void Run();
    // From any thread; also before Run.
    void Stop();

    // The connection of the request that the calling handler is answering.
    static ConnectionStream& CurrentConnection();

    // Called with every request a page of the site answers, before its handler.
    void SetPageHook(std::function<void(const httplib::Request&)> hook);
    // A page of the site ("GET" or "POST"), by its path's pattern: asked for by its path,
    // or in full as a proxy asks for it ("http://host/path").
    void Serve(const char* method, const std::string& pathPattern, Handler handler);

private:
    bool Answer(ConnectionStream& stream, bool closeAfter);

    const LoopSettings settings_;
    socket_t listening_ = INVALID_SOCKET;
    std::unique_ptr<ConnectionLoop> loop_;
    std::function<void(const httplib::Request&)> pageHook_;
};
