#include "service/pages/SiteServer.h"
#include "service/pages/SiteAddress.h"
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <algorithm>
#include <stdexcept>
#include <thread>

namespace {

thread_local ConnectionStream* currentConnection = nullptr;

int IdleSeconds(const LoopSettings& settings)
{
    return std::max(1, settings.idleMs / 1000);
}

// What a reply that keeps its connection says of it: how long the connection waits for
// the next request, and how many it serves at most.
std::string KeepAliveOf(const LoopSettings& settings)
{
    return "timeout=" + std::to_string(IdleSeconds(settings)) +
           ", max=" + std::to_string(settings.requestsPerConnection);
}

std::string PatternOf(const std::string& path)
{
    std::string pattern;
    for (char c : path)
        pattern += c == '.' ? std::string("\\.") : std::string(1, c);
    return pattern;
}

// Whether a socket of another program holds the address. Our loops listen side by side on
// one port, which the system allows every program of the same user that asks for it too:
// another service there would silently take every other connection, to its own database.
// A leftover connection of an earlier run does not count.
bool AddressTaken(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.empty() ? nullptr : host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool taken = false;
    const int probe = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe >= 0) {
        const int yes = 1;
        setsockopt(probe, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        taken = ::bind(probe, found->ai_addr, found->ai_addrlen) != 0 && errno == EADDRINUSE;
        ::close(probe);
    }
    freeaddrinfo(found);
    return taken;
}

} // namespace

SiteServer::SiteServer(const LoopSettings& settings)
    : settings_(settings), loopPages_(hooks_, KeepAliveOf(settings)),
      workers_(settings.workers), readingWorkers_(settings.readingWorkers)
{
    set_payload_max_length(settings_.maxBodyBytes);
    // The library's Keep-Alive header tells these; the loops hold to them.
    set_keep_alive_max_count(settings_.requestsPerConnection);
    set_keep_alive_timeout(IdleSeconds(settings_));
    // The library ends an HTTP/1.0 connection that did not ask to be kept, but says it keeps it.
    set_post_routing_handler([](const httplib::Request& request, httplib::Response& response) {
        if (request.version == "HTTP/1.0" && request.get_header_value("Connection") != "Keep-Alive" &&
            response.has_header("Keep-Alive")) {
            response.headers.erase("Keep-Alive");
            response.set_header("Connection", "close");
        }
    });
    set_socket_options([this](socket_t socket) {
        httplib::default_socket_options(socket);
        listening_ = socket;
    });
}

SiteServer::~SiteServer() = default;

int SiteServer::Bind(const std::string& host, int port)
{
    if (port != 0 && AddressTaken(host, port))
        return -1;
    const int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
    // The library listens with a queue of five; listening again lengthens it.
    if (bound <= 0 || ::listen(listening_, SOMAXCONN) != 0)
        return -1;
    std::vector<int> sockets = { listening_ };
    while (sockets.size() < settings_.loops) {
        const int beside = ListenBeside(listening_);
        if (beside < 0)
            break;
        sockets.push_back(beside);
    }
    LoopSettings each = settings_;
    each.maxConnections = (settings_.maxConnections + sockets.size() - 1) / sockets.size();
    for (int socket : sockets)
        loops_.push_back(std::make_unique<ConnectionLoop>(
            socket, each, [this](ConnectionStream& stream, bool closeAfter) { return Answer(stream, closeAfter); },
            [this](const std::string& request, const ConnectionAddresses& addresses, bool closeAfter, LoopReply& reply) {
                return loopPages_.Answer(request, addresses, closeAfter, reply);
            },
            workers_, readingWorkers_));
    return bound;
}

// Another socket listening on the same address, which the system hands every other
// connection (the library sets SO_REUSEPORT on its own); -1 when there can be none.
int SiteServer::ListenBeside(int bound)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    const int socket = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return -1;
    httplib::default_socket_options(socket);
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(socket, SOMAXCONN) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

void SiteServer::Run()
{
    if (loops_.empty())
        throw std::logic_error("the server is not bound to a port");
    std::vector<std::thread> others;
    for (size_t i = 1; i < loops_.size(); ++i)
        others.emplace_back([loop = loops_[i].get()] { loop->Run(); });
    loops_[0]->Run();
    for (std::thread& other : others)
        other.join();
}

void SiteServer::Stop()
{
    for (const auto& loop : loops_)
        loop->Stop();
}

ConnectionStream& SiteServer::CurrentConnection()
{
    if (!currentConnection)
        throw std::logic_error("no connection is being served on this thread");
    return *currentConnection;
}

void SiteServer::SetErrorHandler(HandlerWithResponse handler)
{
    hooks_.errorHandler = handler;
    set_error_handler(std::move(handler));
}

void SiteServer::SetExceptionHandler(ExceptionHandler handler)
{
    hooks_.exceptionHandler = handler;
    set_exception_handler(std::move(handler));
}

void SiteServer::SetLogger(httplib::Logger logger)
{
    hooks_.logger = logger;
    set_logger(std::move(logger));
}

void SiteServer::SetPageHook(std::function<void(const httplib::Request&)> hook)
{
    pageHook_ = std::move(hook);
}

httplib::Server::Handler SiteServer::Hooked(Handler handler)
{
    return [this, handler = std::move(handler)](const httplib::Request& request, httplib::Response& response) {
        if (pageHook_)
            pageHook_(request);
        handler(request, response);
    };
}

void SiteServer::Serve(const char* method, const std::string& pathPattern, Handler handler)
{
    Handler hooked = Hooked(std::move(handler));
    const std::string pattern = OnSite(pathPattern);
    if (std::string(method) == "POST")
        Post(pattern, std::move(hooked));
    else if (std::string(method) == "GET")
        Get(pattern, std::move(hooked));
    else
        throw std::logic_error(std::string("no pages for ") + method);
}

void SiteServer::ServeReading(const std::string& path, Handler handler, bool onLoop, const std::string& writingParameter)
{
    if (onLoop)
        ServeOnLoop(path, handler, writingParameter);
    Serve("GET", PatternOf(path), std::move(handler));
}

void SiteServer::ServeOnLoop(const std::string& path, Handler handler, const std::string& writingParameter)
{
    loopPages_.Add(path, Hooked(std::move(handler)), writingParameter);
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
