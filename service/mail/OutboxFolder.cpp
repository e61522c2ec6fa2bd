#include "service/mail/OutboxFolder.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

OutboxFolder::OutboxFolder(const std::string& folder) : folder_(folder)
{
    std::filesystem::create_directories(folder_);
}

Delivery OutboxFolder::Deliver(const OutboxMessage& message)
{
    const std::string path = folder_ + "/" + std::to_string(message.id) + ".eml";
    const std::string part = path + ".part";
    // Synced before it is named, as a relay keeps what it accepted.
    const int file = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return { Delivery::Outcome::Retry, std::string("cannot write the outbox folder: ") + std::strerror(errno) };
    const char* data = message.message.data();
    size_t left = message.message.size();
    bool written = true;
    while (left > 0 && written) {
        const ssize_t done = write(file, data, left);
        written = done > 0 || (done < 0 && errno == EINTR);
        if (done > 0) {
            data += done;
            left -= static_cast<size_t>(done);
        }
    }
    written = written && fsync(file) == 0;
    close(file);
    if (!written || std::rename(part.c_str(), path.c_str()) != 0)
        return { Delivery::Outcome::Retry, std::string("cannot write the outbox folder: ") + std::strerror(errno) };
    return { Delivery::Outcome::Delivered, std::string() };
}
