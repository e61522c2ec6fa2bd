#include "controls/VersionNumber.h"
#include <cstdlib>

VersionNumber::VersionNumber(const std::string& dotted)
{
    ParseVersion(dotted);
}

void VersionNumber::ParseVersion(const std::string& dotted)
{
    major_ = minor_ = build_ = revision_ = 0;
    isSet_ = false;
    void (VersionNumber::*const setters[])(unsigned short) = { &VersionNumber::SetMajor, &VersionNumber::SetMinor,
                                                               &VersionNumber::SetBuild, &VersionNumber::SetRevision };
    size_t part = 0;
    for (size_t start = 0; start < dotted.size() && part < 4;) {
        const size_t dot = dotted.find('.', start);
        const size_t end = dot == std::string::npos ? dotted.size() : dot;
        if (end > start) {
            // Leading blanks, a sign, digits up to the first other character; strtol also
            // keeps an endless run of digits defined.
            const long value = std::strtol(dotted.substr(start, end - start).c_str(), nullptr, 10);
            (this->*setters[part++])(static_cast<unsigned short>(value));
        }
        start = end + 1;
    }
}

int VersionNumber::CompareVersion(const VersionNumber& other) const
{
    const unsigned short mine[] = { major_, minor_, build_, revision_ };
    const unsigned short theirs[] = { other.major_, other.minor_, other.build_, other.revision_ };
    for (int i = 0; i < 4; ++i) {
        if (mine[i] > theirs[i])
            return 5 - i;
        if (mine[i] < theirs[i])
            return 0;
    }
    return 1;
}

void VersionNumber::SetMajor(unsigned short value)
{
    major_ = value;
    isSet_ = true;
}

void VersionNumber::SetMinor(unsigned short value)
{
    minor_ = value;
    isSet_ = true;
}

void VersionNumber::SetBuild(unsigned short value)
{
    build_ = value;
    isSet_ = true;
}

void VersionNumber::SetRevision(unsigned short value)
{
    revision_ = value;
    isSet_ = true;
}
