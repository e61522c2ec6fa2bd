#pragma once
#include <string>

// A path taken apart into drive, directory, file name and extension, so that single
// parts can be replaced and the path joined again. Backslash and slash both separate.
class FilePath {
public:
    // Drive: a leading letter and colon; directory: up to and including the last
    // separator; extension: from the last dot of the rest, the dot included.
    void SplitPath(const std::string& fullPath);

    void SetDrive(const std::string& drive) { drive_ = drive; }
    void SetDirectory(const std::string& directory) { directory_ = directory; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    void SetExtension(const std::string& extension) { extension_ = extension; }

    std::string GetDrive() const { return drive_; }
    std::string GetDirectory() const { return directory_; }
    const std::string& GetFileName() const { return fileName_; }
    const std::string& GetExtension() const { return extension_; }

    // Joins the parts, adding a backslash after a directory without a separator at its
    // end and a dot before an extension without one. Empty when the path is longer than
    // the system's paths or a part longer than the system's path splitting holds.
    std::string MakePath();

    // The system's longest path, terminator included.
    static const size_t MaxPath = 260;

private:
    std::string drive_;
    std::string directory_;
    std::string fileName_;
    std::string extension_;
    std::string fullPath_;
};
