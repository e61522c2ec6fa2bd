#include "service/store/SqliteFileLock.h"
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// The process id the holder wrote, or "" when there is none to read.
std::string HolderOf(int descriptor)
{
    char text[32] = {};
    const ssize_t length = pread(descriptor, text, sizeof text - 1, 0);
    if (length <= 0)
        return "";
    std::string holder(text, static_cast<size_t>(length));
    if (holder.find_first_not_of("0123456789") != std::string::npos)
        return "";
    return holder;
}

// Writes this process's number for the message of the next one; a holder that could not
// write it holds the lock all the same.
bool WriteHolder(int descriptor)
{
    const std::string self = std::to_string(getpid());
    return ftruncate(descriptor, 0) == 0 &&
           pwrite(descriptor, self.data(), self.size(), 0) == static_cast<ssize_t>(self.size());
}

} // namespace

SqliteFileLock::SqliteFileLock(const std::string& databasePath)
{
    const std::string path = databasePath + ".lock";
    descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor_ < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    if (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        const std::string holder = error == EWOULDBLOCK ? HolderOf(descriptor_) : "";
        close(descriptor_);
        if (error != EWOULDBLOCK)
            throw std::runtime_error("cannot lock " + path + ": " + std::strerror(error));
        throw std::runtime_error("the database " + databasePath + " is in use by another running service" +
                                 (holder.empty() ? "" : " (process " + holder + ")") +
                                 "; an SQLite file serves one instance, several share a PostgreSQL database");
    }
    WriteHolder(descriptor_);
}

SqliteFileLock::~SqliteFileLock()
{
    close(descriptor_);
}
