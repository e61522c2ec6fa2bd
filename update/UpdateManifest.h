#pragma once
#include <string>

// The version file the site publishes: lines of a key, a colon and a value.
struct UpdateManifest {
    std::string latestVersion;
    std::string versionToDisplay;
    std::string fileUrl;
    std::string fileSize;
    std::string releaseDate;
    std::string newsDate;
    std::string descriptionUrl;
    std::string newChangesText;
    std::string oldChangesText;
    // Optional: 64 hexadecimal digits that the downloaded file must hash to (SHA-256).
    std::string fileSha256;

    // Takes one line: split at its first colon, the key trimmed and upper-cased, the value
    // trimmed. Lines without a colon and unknown keys are ignored; a later line of the same
    // key replaces the value.
    void ReadLine(const std::string& line);
    // Every value but the checksum is there and not empty.
    bool HasAllValues() const;
    // What the program will act on is safe to act on: the latest version is a version,
    // both addresses are web addresses,
    // the update's address ends in a plain file name, the checksum (if any) is well formed.
    bool HasSoundValues() const;
};

// An http or https address with a host and no blanks or control characters, of a length
// that every consumer handles.
bool IsWebAddress(const std::string& address);

// The name the update is saved under: the last segment of the address's path (query
// and fragment left out). Empty when that is no plain file name: nothing that could
// leave the folder, name a device or be refused by the file system.
std::string DownloadFileName(const std::string& fileUrl);
