#pragma once
#include "service/pages/ConnectionStream.h"
#include <httplib.h>
#include <functional>
#include <string>

// The HTTP library's server with connections of our own: each on its own thread, with a
// time limit on every wait and on the whole of a request's arrival, kept open for the
// next request unless a handler took the connection over to answer with raw bytes or
// close it early, as a broken server would.
class SiteServer : public httplib::Server {
public:
    explicit SiteServer(size_t maxConnections);

    // Binds to the port (0: any free one) with a long queue of connections waiting to be
    // taken, so a burst of clients is not turned away; the port, or -1.
    int Bind(const std::string& host, int port);

    // The connection of the request that the calling handler is answering.
    static ConnectionStream& CurrentConnection();

    // Called with every request a page of the site answers, before its handler.
    void SetPageHook(std::function<void(const httplib::Request&)> hook);
    // A page of the site ("GET" or "POST"), by its path's pattern: asked for by its path,
    // or in full as a proxy asks for it ("http://host/path").
    void Serve(const char* method, const std::string& pathPattern, Handler handler);

private:
    bool process_and_close_socket(socket_t socket) override;
    bool WaitForNextRequest(ConnectionStream& stream) const;

    socket_t listening_ = INVALID_SOCKET;
    std::function<void(const httplib::Request&)> pageHook_;
};
