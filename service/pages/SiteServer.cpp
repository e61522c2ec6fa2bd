#include "service/pages/SiteServer.h"
#include "service/pages/ConnectionThreads.h"
#include "service/pages/SiteAddress.h"
#include <netinet/in.h>
#include <netinet/tcp.h>
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
const int KeepAliveSliceMs = 100;
const int RequestsPerConnection = 1000;

thread_local ConnectionStream* currentConnection = nullptr;

} // namespace

SiteServer::SiteServer(size_t maxConnections)
{
    new_task_queue = [maxConnections] { return new ConnectionThreads(maxConnections); };
    set_socket_options([this](socket_t socket) {
        httplib::default_socket_options(socket);
        listening_ = socket;
    });
}

int SiteServer::Bind(const std::string& host, int port)
{
    const int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
    // The library listens with a queue of five; listening again lengthens it.
    if (bound > 0 && ::listen(listening_, SOMAXCONN) != 0)
        return -1;
    return bound;
}

ConnectionStream& SiteServer::CurrentConnection()
{
    if (!currentConnection)
        throw std::logic_error("no connection is being served on this thread");
    return *currentConnection;
}

void SiteServer::SetPageHook(std::function<void(const httplib::Request&)> hook)
{
    pageHook_ = std::move(hook);
}

void SiteServer::Serve(const char* method, const std::string& pathPattern, Handler handler)
{
    Handler hooked = [this, handler](const httplib::Request& request, httplib::Response& response) {
        if (pageHook_)
            pageHook_(request);
        handler(request, response);
    };
    const std::string pattern = OnSite(pathPattern);
    if (std::string(method) == "POST")
        Post(pattern, std::move(hooked));
    else if (std::string(method) == "GET")
        Get(pattern, std::move(hooked));
    else
        throw std::logic_error(std::string("no pages for ") + method);
}

// A kept connection waits for its next request in slices, so a stopping server does not
// wait the whole time for clients that will send nothing more.
bool SiteServer::WaitForNextRequest(ConnectionStream& stream) const
{
    const int slices = KeepAliveMs / KeepAliveSliceMs;
    for (int slice = 0; slice < slices && is_running(); ++slice)
        if (stream.WaitForNextRequest(KeepAliveSliceMs))
            return true;
    return false;
}

bool SiteServer::process_and_close_socket(socket_t socket)
{
    // A reply goes out in several writes (head, body); waiting to gather them costs a
    // client on a kept-alive connection the delayed acknowledgement, 40 ms a request.
    const int noDelay = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    ConnectionStream stream(socket, WaitTimeoutMs);
    currentConnection = &stream;
    bool served = true;
    for (int count = 1; served && count <= RequestsPerConnection; ++count) {
        if (count > 1 && !WaitForNextRequest(stream))
            break;
        stream.StartRequest(RequestDeadlineMs);
        bool closedByClient = false;
        const bool answered =
            process_request(stream, count == RequestsPerConnection || !is_running(), closedByClient, nullptr);
        // Whatever the reply was, what is held of it goes.
        served = stream.Flush() && answered;
        if (closedByClient || stream.IsTakenOver())
            break;
    }
    currentConnection = nullptr;
    shutdown(socket, SHUT_RDWR);
    close(socket);
    return served;
}
