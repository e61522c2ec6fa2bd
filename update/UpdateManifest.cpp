#include "update/UpdateManifest.h"
#include "framework/TextUtil.h"
#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

struct ManifestKey {
    const char* key;
    std::string UpdateManifest::*value;
};

const ManifestKey Keys[] = {
    { "LATEST VERSION", &UpdateManifest::latestVersion },
    { "VERSION TO DISPLAY", &UpdateManifest::versionToDisplay },
    { "FILE URL", &UpdateManifest::fileUrl },
    { "FILE SIZE", &UpdateManifest::fileSize },
    { "RELEASE DATE", &UpdateManifest::releaseDate },
    { "NEWS DATE", &UpdateManifest::newsDate },
    { "DESCRIPTION URL", &UpdateManifest::descriptionUrl },
    { "NEW CHANGES TEXT", &UpdateManifest::newChangesText },
    { "OLD CHANGES TEXT", &UpdateManifest::oldChangesText },
    { "FILE SHA256", &UpdateManifest::fileSha256 },
};
const size_t RequiredKeys = 9;

// Longer addresses are refused: the shell's browser launch fails on them under Wine.
const size_t MaxAddressLength = 900;
const size_t MaxFileNameLength = 200;

std::string Upper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool StartsWithNoCase(const std::string& text, const char* start)
{
    return Upper(text.substr(0, strlen(start))) == start;
}

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The part after "scheme://"; empty for anything but http and https.
std::string AfterScheme(const std::string& address)
{
    for (const char* scheme : { "HTTP://", "HTTPS://" }) {
        if (StartsWithNoCase(address, scheme))
            return address.substr(strlen(scheme));
    }
    return std::string();
}

bool IsReservedDeviceName(const std::string& name)
{
    const std::string stem = Upper(name.substr(0, name.find('.')));
    static const char* const devices[] = { "CON", "PRN", "AUX", "NUL", "CLOCK$" };
    if (std::find(std::begin(devices), std::end(devices), stem) != std::end(devices))
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

bool IsHexDigits(const std::string& text, size_t count)
{
    return text.size() == count && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

// One to four dot-separated parts of decimal digits, none above 65535: the version parts
// are 16 bits, and a sign or a wrapped value would make an old version look new.
bool IsVersionText(const std::string& text)
{
    size_t parts = 0;
    for (size_t start = 0; start <= text.size(); ++parts) {
        const size_t dot = std::min(text.find('.', start), text.size());
        const std::string part = text.substr(start, dot - start);
        if (parts == 4 || part.empty() || part.size() > 5 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            std::stoul(part) > 65535)
            return false;
        start = dot + 1;
    }
    return true;
}

} // namespace

void UpdateManifest::ReadLine(const std::string& line)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return;
    const std::string key = Upper(TrimWhiteSpace(line.substr(0, colon)));
    for (const ManifestKey& known : Keys) {
        if (key == known.key) {
            this->*known.value = TrimWhiteSpace(line.substr(colon + 1));
            return;
        }
    }
}

bool UpdateManifest::HasAllValues() const
{
    return std::all_of(Keys, Keys + RequiredKeys, [this](const ManifestKey& known) {
        return !(this->*known.value).empty();
    });
}

bool UpdateManifest::HasSoundValues() const
{
    return IsVersionText(latestVersion) && IsWebAddress(fileUrl) && IsWebAddress(descriptionUrl) && !DownloadFileName(fileUrl).empty() &&
           (fileSha256.empty() || IsHexDigits(fileSha256, 64));
}

bool IsWebAddress(const std::string& address)
{
    const std::string rest = AfterScheme(address);
    if (address.size() > MaxAddressLength || rest.empty() || rest[0] == '/' || rest[0] == '?' || rest[0] == '#')
        return false;
    return std::none_of(address.begin(), address.end(), [](char c) { return IsControl(c) || c == ' '; });
}

std::string DownloadFileName(const std::string& fileUrl)
{
    if (!IsWebAddress(fileUrl))
        return std::string();
    const std::string rest = AfterScheme(fileUrl);
    const std::string path = rest.substr(0, rest.find_first_of("?#"));
    const size_t slash = path.find('/');
    if (slash == std::string::npos)
        return std::string();
    const std::string name = path.substr(path.find_last_of("/\\") + 1);
    const bool plain = !name.empty() && name.size() <= MaxFileNameLength &&
                       name.find_first_of("<>:\"|?*") == std::string::npos && name.back() != '.' &&
                       name.back() != ' ' && name[0] != ' ' && name[0] != '.' && !IsReservedDeviceName(name) &&
                       std::none_of(name.begin(), name.end(), IsControl);
    return plain ? name : std::string();
}
