#include "ServiceProcess.h"
#include <csignal>
#include <filesystem>

namespace {

std::vector<std::string> ServiceArguments(const std::string& folder, const std::vector<std::string>& settings)
{
    std::vector<std::string> arguments = { SERVICE_PROGRAM, "--port", "0", "--data", folder, "--port-file",
                                           folder + "/port", "--web", SERVICE_WEB_DIR, "--access-log",
                                           folder + "/access.log" };
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    return arguments;
}

} // namespace

ServiceProcess::ServiceProcess(const std::string& dataFolder, const std::vector<std::string>& settings)
    : folder_((std::filesystem::create_directories(dataFolder), dataFolder)),
      process_(ServiceArguments(folder_, settings), folder_ + "/service.out", folder_ + "/port")
{
}

ServiceProcess::~ServiceProcess()
{
    Stop(SIGTERM);
}

httplib::Client ServiceProcess::Client() const
{
    httplib::Client client("127.0.0.1", Port());
    client.set_read_timeout(30, 0);
    return client;
}

int ServiceProcess::Stop(int signal)
{
    return process_.Stop(signal);
}

std::string ServiceProcess::Output() const
{
    return process_.Output();
}

std::string GreetingText(const std::string& recipients, const std::string& senderName, const std::string& senderEmail,
                         const std::vector<std::string>& actions)
{
    std::string text = "Parlacard File Version : 1\r\nBob\r\n" + recipients + "\r\n" + senderName + "\r\n" +
                       senderEmail + "\r\n\r\n";
    for (const std::string& action : actions)
        text += action + "\r\n";
    return text;
}

std::string RecipientList(int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += (i ? "," : "") + std::string("r") + std::to_string(i) + "@example.com";
    return list;
}

httplib::Result PressSend(httplib::Client& pageFrom, httplib::Client& sendTo, const std::string& id)
{
    const httplib::Result page = pageFrom.Get("/send/default.asp?GID=" + id);
    const std::string marker = "name=\"token\" value=\"";
    const size_t at = page && page->status == 200 ? page->body.find(marker) : std::string::npos;
    if (at == std::string::npos)
        return httplib::Result(nullptr, httplib::Error::Unknown);
    return sendTo.Post("/send/default.asp", "GID=" + id + "&token=" + page->body.substr(at + marker.size(), 32),
                       "application/x-www-form-urlencoded");
}
