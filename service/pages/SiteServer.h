#pragma once
#include "service/pages/ConnectionLoop.h"
#include "service/pages/ConnectionStream.h"
#include "service/pages/LoopPages.h"
#include "service/pages/WorkerPool.h"
#include <httplib.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The HTTP library's pages and routing, served by loops of our own: connections wait on
// the loops' threads (one per listening socket on the port), pages that only read are
// answered there, and other whole requests go to the workers that answer them. A
// connection is kept for the next request unless a handler took it over to answer with
// raw bytes or close it early, as a broken server would.
class SiteServer : public httplib::Server {
public:
    explicit SiteServer(const LoopSettings& settings);
    ~SiteServer() override;

    // Binds to the port (0: any free one) with a long queue of connections waiting to be
    // taken, so a burst of clients is not turned away; the port, or -1 (also where another
    // program listens on it).
    int Bind(const std::string& host, int port);
    // Serves until Stop, then answers the requests in hand and returns.
    void Run();
    // From any thread; also before Run.
    void Stop();

    // The connection of the request that the calling handler is answering.
    static ConnectionStream& CurrentConnection();

    // The library's hooks, for the pages on the loops too.
    void SetErrorHandler(HandlerWithResponse handler);
    void SetExceptionHandler(ExceptionHandler handler);
    void SetLogger(httplib::Logger logger);
    // Called with every request a page of the site answers, before its handler.
    void SetPageHook(std::function<void(const httplib::Request&)> hook);
    // A page of the site ("GET" or "POST"), by its path's pattern: asked for by its path,
    // or in full as a proxy asks for it ("http://host/path").
    void Serve(const char* method, const std::string& pathPattern, Handler handler);
    // A GET page at exactly this path that needs only the processor and reads the store
    // answers without waiting: with onLoop, a plain request for it by its path is answered
    // on a connection loop's thread, unless its query holds writingParameter.
    void ServeReading(const std::string& path, Handler handler, bool onLoop,
                      const std::string& writingParameter = std::string());
    // A GET page at exactly this path that needs only the processor, answered on a
    // connection loop's thread when asked for plainly by its path, unless its query holds
    // writingParameter; the caller serves it through Serve for every other request.
    void ServeOnLoop(const std::string& path, Handler handler, const std::string& writingParameter = std::string());

private:
    bool Answer(ConnectionStream& stream, bool closeAfter);
    Handler Hooked(Handler handler);
    int ListenBeside(int bound);

    const LoopSettings settings_;
    socket_t listening_ = INVALID_SOCKET;
    std::function<void(const httplib::Request&)> pageHook_;
    ServerHooks hooks_;
    LoopPages loopPages_;
    std::vector<std::unique_ptr<ConnectionLoop>> loops_;
    // After the loops, so that their workers are gone before the loops they post to.
    WorkerPool workers_;
    WorkerPool readingWorkers_;
};
