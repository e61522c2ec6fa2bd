#include "service/pages/TestControl.h"
#include "service/pages/UpdatePages.h"
#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace {

// A test waits for a slow reply; it should not wait for ever on a typing error.
const int MaxDelayMs = 120000;

void Answer(httplib::Response& response, int status, const std::string& text)
{
    response.status = status;
    response.set_content(text + "\n", "text/plain");
}

// A whole number from min to max, or nothing.
std::optional<int> ParseNumber(const std::string& text, int min, int max)
{
    try {
        size_t used = 0;
        const long value = std::stol(text, &used);
        if (used == text.size() && value >= min && value <= max)
            return static_cast<int>(value);
    } catch (const std::logic_error&) {
    }
    return std::nullopt;
}

} // namespace

TestControl::TestControl(const GreetingStore& store, const RequestLog& log, UploadReplyPlan& plan,
                         UpdateReplyPlan& updatePlan)
    : store_(store), log_(log), plan_(plan), updatePlan_(updatePlan)
{
}

void TestControl::Mount(httplib::Server& server)
{
    server.Post("/_test/upload-reply", [this](const httplib::Request& request, httplib::Response& response) {
        SetUploadReply(request, response);
    });
    server.Post("/_test/reset", [this](const httplib::Request&, httplib::Response& response) {
        plan_.Set(UploadReply());
        updatePlan_.Reset();
        Answer(response, 200, "reset");
    });
    server.Post("/_test/update-reply", [this](const httplib::Request& request, httplib::Response& response) {
        SetUpdateReply(request, response);
    });
    server.Get("/_test/requests/last", [this](const httplib::Request&, httplib::Response& response) {
        if (const std::optional<std::string> record = log_.Last())
            response.set_content(*record, "application/octet-stream");
        else
            Answer(response, 404, "no request yet");
    });
    server.Get("/_test/greetings/([0-9]{1,18})", [this](const httplib::Request& request, httplib::Response& response) {
        if (const std::optional<std::string> bytes = store_.LoadBytes(std::stoull(request.matches[1].str())))
            response.set_content(*bytes, "application/octet-stream");
        else
            Answer(response, 404, "no such greeting");
    });
}

void TestControl::SetUploadReply(const httplib::Request& request, httplib::Response& response)
{
    UploadReply reply;
    const std::string kind = request.get_param_value("kind");
    if (kind == "fixed")
        reply.kind = UploadReply::Kind::Fixed;
    else if (kind == "raw")
        reply.kind = UploadReply::Kind::Raw;
    else if (kind != "store")
        return Answer(response, 400, "kind must be store, fixed or raw");

    const std::optional<int> status = ParseNumber(request.get_param_value("status"), 100, 999);
    const std::optional<int> delay = ParseNumber(request.get_param_value("delay"), 0, MaxDelayMs);
    if ((request.has_param("status") && !status) || (request.has_param("delay") && !delay))
        return Answer(response, 400, "status must be 100 to 999, delay 0 to " + std::to_string(MaxDelayMs));
    reply.status = status.value_or(reply.status);
    reply.delayMs = delay.value_or(reply.delayMs);
    reply.bytes = request.body;
    plan_.Set(reply);
    Answer(response, 200, "set");
}

void TestControl::SetUpdateReply(const httplib::Request& request, httplib::Response& response)
{
    static const std::pair<const char*, UpdateReply::Kind> kinds[] = {
        { "serve", UpdateReply::Kind::Serve },   { "notfound", UpdateReply::Kind::NotFound },
        { "redirect", UpdateReply::Kind::Redirect }, { "cut", UpdateReply::Kind::Cut },
        { "nolength", UpdateReply::Kind::NoLength },
    };
    const std::string name = request.get_param_value("name");
    if (!UpdatePages::IsServedName(name))
        return Answer(response, 400, "name must be a file name of the update folder");
    UpdateReply reply;
    const std::string kind = request.get_param_value("kind");
    const auto found = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto& k) { return kind == k.first; });
    if (found == std::end(kinds))
        return Answer(response, 400, "kind must be serve, notfound, redirect, cut or nolength");
    reply.kind = found->second;
    const std::optional<int> delay = ParseNumber(request.get_param_value("delay"), 0, MaxDelayMs);
    const std::optional<int> rate = ParseNumber(request.get_param_value("rate"), 1, 1 << 30);
    if ((request.has_param("delay") && !delay) || (request.has_param("rate") && !rate))
        return Answer(response, 400, "delay must be 0 to " + std::to_string(MaxDelayMs) + ", rate 1 or more");
    reply.delayMs = delay.value_or(0);
    reply.bytesPerSecond = rate.value_or(0);
    reply.redirectTo = request.get_param_value("to");
    if (reply.kind == UpdateReply::Kind::Redirect && !UpdatePages::IsServedName(reply.redirectTo))
        return Answer(response, 400, "a redirect needs the file name to go to");
    updatePlan_.Set(name, reply);
    Answer(response, 200, "set");
}
