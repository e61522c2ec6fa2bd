#pragma once
#include "controls/VersionNumber.h"
#include <string>
#include <vector>

// The version resource of an executable file, read once when constructed; a file without
// one (or no such file) simply has no data.
class VersionInfo {
public:
    explicit VersionInfo(const std::string& fileName);

    // The fixed file version; false when there is no version resource.
    bool GetFixedFileVersion(VersionNumber& version) const;
    // Four hexadecimal digits of the first translation, "0409" when there is none.
    const std::string& GetVersionLanguage() const { return language_; }
    const std::string& GetCodePage() const { return codePage_; }
    // "\StringFileInfo\" followed by language and code page.
    const std::string& GetStringPrefix() const { return stringPrefix_; }
    const std::string& GetFileName() const { return fileName_; }

private:
    bool Load();

    std::vector<char> data_;
    std::string stringPrefix_;
    std::string language_;
    std::string codePage_;
    std::string fileName_;
};
