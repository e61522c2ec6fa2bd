#pragma once
#include <windows.h>
#include <string>

// A download on its way into a file: the bytes go to a new temporary file in the
// target's folder, which takes the target's name only when committed. A file that is
// already there is never replaced: the download then takes the first free name of the
// form "name (2).ext". A partial file never outlives this object.
class PartialFile {
public:
    explicit PartialFile(const std::string& targetPath);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // False when no temporary file can be made in the target's folder.
    bool Create();
    bool Write(const void* data, DWORD size);
    // Closes the file and gives it the target's name or the first free variant of it;
    // false (the temporary file removed) when either fails.
    bool Commit();
    // The name the file took; empty before a successful Commit.
    const std::string& CommittedPath() const { return committedPath_; }
    const std::string& TemporaryPath() const { return temporaryPath_; }

private:
    void Discard();

    std::string targetPath_;
    std::string temporaryPath_;
    std::string committedPath_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};
