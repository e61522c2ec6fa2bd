#include "service/pages/SiteServer.h"
#include "service/pages/ConnectionThreads.h"
#include <sys/socket.h>
#include <unistd.h>
#include <stdexcept>

namespace {

// Long enough for a slow client on a loaded machine, short enough that a stuck one
// frees its thread.
const int WaitTimeoutMs = 10000;
// A whole request must have come by then, however it trickles in.
const int RequestDeadlineMs = 60000;
// An idle connection is kept this long for the client's next request.
const int KeepAliveMs = 5000;
const int RequestsPerConnection = 100;

thread_local ConnectionStream* currentConnection = nullptr;

} // namespace

SiteServer::SiteServer(size_t maxConnections)
{
    new_task_queue = [maxConnections] { return new ConnectionThreads(maxConnections); };
}

ConnectionStream& SiteServer::CurrentConnection()
{
    if (!currentConnection)
        throw std::logic_error("no connection is being served on this thread");
    return *currentConnection;
}

bool SiteServer::process_and_close_socket(socket_t socket)
{
    ConnectionStream stream(socket, WaitTimeoutMs);
    currentConnection = &stream;
    bool served = true;
    for (int count = 1; served && count <= RequestsPerConnection; ++count) {
        if (count > 1 && !stream.WaitForNextRequest(KeepAliveMs))
            break;
        stream.StartRequest(RequestDeadlineMs);
        bool closedByClient = false;
        served = process_request(stream, count == RequestsPerConnection || !is_running(), closedByClient, nullptr);
        if (closedByClient || stream.IsTakenOver())
            break;
    }
    currentConnection = nullptr;
    shutdown(socket, SHUT_RDWR);
    close(socket);
    return served;
}
