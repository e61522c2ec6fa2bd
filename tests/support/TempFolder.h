#pragma once
#include <string>

// A new empty folder in the system's temporary folder, removed with everything in it
// when the test is done. Problems fail the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::string& Path() const { return path; }
    // The full path of a file in the folder.
    std::string File(const std::string& name) const;

    // Writes or reads a file of the folder byte for byte.
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::string path;
};
