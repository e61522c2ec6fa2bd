#pragma once
#include "service/pages/ConnectionStream.h"
#include <httplib.h>

// The HTTP library's server, answering one request per connection: so a handler can
// answer with raw bytes or close the connection early, as a broken server would.
class SiteServer : public httplib::Server {
public:
    // The connection of the request that the calling handler is answering.
    static ConnectionStream& CurrentConnection();

private:
    bool process_and_close_socket(socket_t socket) override;
};
