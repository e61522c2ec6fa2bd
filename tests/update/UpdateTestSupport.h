#pragma once
#include "support/TempFolder.h"
#include <windows.h>
#include <string>
#include <vector>

// The user's Desktop while the test program runs: a temporary folder that the prefix's
// shell folder settings name before the shell first looks (Wine's shell keeps the first
// answer for the life of the process). A test that takes it finds it empty and leaves it
// so.
class TemporaryDesktop {
public:
    TemporaryDesktop();
    ~TemporaryDesktop();
    TemporaryDesktop(const TemporaryDesktop&) = delete;
    TemporaryDesktop& operator=(const TemporaryDesktop&) = delete;

    const TempFolder& Folder() const;
    // The names of the files on the Desktop, sorted.
    std::vector<std::string> Files() const;

private:
    void Empty() const;
};

// The names of the files in the folder, sorted.
std::vector<std::string> FilesIn(const TempFolder& folder);

// The address the stand-in serves a file of its update folder under.
std::string UpdateAddress(const std::string& name);

// A manifest with all nine values: the version, the update file and the news document
// "news.rtf" of the stand-in, and the lines given appended.
std::string Manifest(const std::string& latestVersion, const std::string& fileName = "ParlacardSetup.exe",
                     const std::string& moreLines = std::string());

// Bytes of every value, in a pattern that shows a shifted or missing block.
std::string UpdateBytes(size_t size);

// The SHA-256 of the bytes in hexadecimal, as the manifest writes it.
std::string Sha256Of(const std::string& bytes);
