#include "SmtpSink.h"
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <filesystem>
#include <strings.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SinkArguments(const std::string& folder, const std::vector<std::string>& options)
{
    std::vector<std::string> arguments = { SMTP_SINK, folder };
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

} // namespace

SmtpSink::SmtpSink(const std::string& folder) : SmtpSink(folder, {})
{
}

SmtpSink::SmtpSink(const std::string& folder, const std::vector<std::string>& options)
    : folder_((fs::create_directories(folder), folder)),
      process_(SinkArguments(folder_, options), folder_ + "/sink.log", folder_ + "/port")
{
}

void SmtpSink::SetMode(const std::string& mode) const
{
    std::ofstream(folder_ + "/mode.part") << mode << "\n";
    fs::rename(folder_ + "/mode.part", folder_ + "/mode");
}

std::vector<std::string> SmtpSink::Messages() const
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_ + "/messages", error))
        if (entry.path().extension() == ".eml")
            names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> messages;
    for (const std::string& name : names)
        messages.push_back(ReadWholeFile(name));
    return messages;
}

std::vector<std::string> SmtpSink::WaitForMessages(size_t count, int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<std::string> messages = Messages();
    while (messages.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        messages = Messages();
    }
    return messages;
}

std::string HeaderOf(const std::string& message, const std::string& name)
{
    const std::string head = message.substr(0, message.find("\r\n\r\n")) + "\r\n";
    size_t start = 0;
    while (start < head.size()) {
        size_t end = head.find("\r\n", start);
        // Folded lines go on with a blank.
        while (end + 2 < head.size() && (head[end + 2] == ' ' || head[end + 2] == '\t'))
            end = head.find("\r\n", end + 2);
        const std::string field = head.substr(start, end - start);
        const size_t colon = field.find(':');
        if (colon == name.size() && strncasecmp(field.c_str(), name.c_str(), name.size()) == 0) {
            std::string value = field.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            std::string unfolded;
            for (size_t i = 0; i < value.size(); ++i) {
                if (value.compare(i, 2, "\r\n") == 0)
                    ++i;
                else
                    unfolded += value[i];
            }
            return unfolded;
        }
        start = end + 2;
    }
    return std::string();
}

std::string DecodeQuotedPrintable(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.compare(i + 1, 2, "\r\n") == 0) {
            i += 2;
        } else if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}
