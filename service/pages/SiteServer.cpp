#include "service/pages/SiteServer.h"
#include "service/pages/SiteAddress.h"
#include <sys/socket.h>
#include <stdexcept>

namespace {

thread_local ConnectionStream* currentConnection = nullptr;

} // namespace

SiteServer::SiteServer(const LoopSettings& settings) : settings_(settings)
{
    set_payload_max_length(settings_.maxBodyBytes);
    set_socket_options([this](socket_t socket) {
        httplib::default_socket_options(socket);
        listening_ = socket;
    });
}

SiteServer::~SiteServer() = default;

int SiteServer::Bind(const std::string& host, int port)
{
    const int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
    // The library listens with a queue of five; listening again lengthens it.
    if (bound <= 0 || ::listen(listening_, SOMAXCONN) != 0)
        return -1;
    loop_ = std::make_unique<ConnectionLoop>(
        listening_, settings_, [this](ConnectionStream& stream, bool closeAfter) { return Answer(stream, closeAfter); });
    return bound;
}

void SiteServer::Run()
{
    if (!loop_)
        throw std::logic_error("the server is not bound to a port");
    loop_->Run();
}

void SiteServer::Stop()
{
    if (loop_)
        loop_->Stop();
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

bool SiteServer::Answer(ConnectionStream& stream, bool closeAfter)
{
    currentConnection = &stream;
    bool closedByClient = false;
    bool answered = false;
    try {
        answered = process_request(stream, closeAfter, closedByClient, nullptr);
    } catch (...) {
    }
    currentConnection = nullptr;
    return answered && !closedByClient && !stream.IsTakenOver();
}
