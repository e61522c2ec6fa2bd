#pragma once
#include "service/pages/ConnectionStream.h"
#include <httplib.h>

// The HTTP library's server with connections of our own: each on its own thread, with a
// time limit on every wait and on the whole of a request's arrival, kept open for the
// next request unless a handler took the connection over to answer with raw bytes or
// close it early, as a broken server would.
class SiteServer : public httplib::Server {
public:
    explicit SiteServer(size_t maxConnections);

    // The connection of the request that the calling handler is answering.
    static ConnectionStream& CurrentConnection();

private:
    bool process_and_close_socket(socket_t socket) override;
    bool WaitForNextRequest(const ConnectionStream& stream) const;
};
