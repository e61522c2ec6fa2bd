#pragma once
#include <string>

// A four-part version (major.minor.build.revision), from dotted text or a version resource.
class VersionNumber {
public:
    VersionNumber() = default;
    // The dotted text as ParseVersion reads it.
    explicit VersionNumber(const std::string& dotted);

    // Up to four decimal parts split at dots (empty fields skipped, missing parts 0, each
    // cut to 16 bits); an empty text leaves the number unset.
    void ParseVersion(const std::string& dotted);

    // 0 when this is older than other, 1 when equal, else which part makes it newer:
    // 5 major, 4 minor, 3 build, 2 revision.
    int CompareVersion(const VersionNumber& other) const;

    unsigned short GetMajor() const { return major_; }
    unsigned short GetMinor() const { return minor_; }
    unsigned short GetBuild() const { return build_; }
    unsigned short GetRevision() const { return revision_; }
    void SetMajor(unsigned short value);
    void SetMinor(unsigned short value);
    void SetBuild(unsigned short value);
    void SetRevision(unsigned short value);
    // Some part has been assigned.
    bool IsSet() const { return isSet_; }

    // Carried for the caller; no operation here touches it.
    std::string text;

private:
    unsigned short major_ = 0;
    unsigned short minor_ = 0;
    unsigned short build_ = 0;
    unsigned short revision_ = 0;
    bool isSet_ = false;
};
