#include "service/pages/SiteServer.h"
#include <sys/socket.h>
#include <unistd.h>
#include <stdexcept>

namespace {

// Long enough for a slow client on a loaded machine, short enough that a stuck one
// frees its worker.
const int ConnectionTimeoutMs = 10000;

thread_local ConnectionStream* currentConnection = nullptr;

} // namespace

ConnectionStream& SiteServer::CurrentConnection()
{
    if (!currentConnection)
        throw std::logic_error("no connection is being served on this thread");
    return *currentConnection;
}

bool SiteServer::process_and_close_socket(socket_t socket)
{
    ConnectionStream stream(socket, ConnectionTimeoutMs);
    currentConnection = &stream;
    bool closedByClient = false;
    const bool served = process_request(stream, true, closedByClient, nullptr);
    currentConnection = nullptr;
    shutdown(socket, SHUT_RDWR);
    close(socket);
    return served;
}
