#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The characters' web form, read from their folder as requests come: a user's character
// put into it counts from the next request on. The folder is listed again only when a
// file came or went, and a file is hashed again only when its size or time changed.
class CharacterFolder {
public:
    explicit CharacterFolder(std::string folder);

    // The characters with both their description and first sprite sheet. Shared, not
    // copied: every greeting page asks for it.
    std::shared_ptr<const std::set<std::string>> Names() const;
    // A file's bytes by its plain name (see CharacterFileName); nothing when it is not there.
    std::optional<std::string> Read(const std::string& file) const;
    // The content hash of a file as it is now; nothing when it is not there.
    std::optional<std::string> Hash(const std::string& file) const;
    // The character's description as the page gets it: its "files" map the plain names of
    // its later sheets and sounds to their hashed names. Nothing when it has none.
    std::optional<std::string> Description(const std::string& name) const;

private:
    struct Listing {
        std::set<std::string> names;
        std::map<std::string, std::vector<std::string>> laterFiles; // by character
        std::filesystem::file_time_type time;                       // the folder's when listed
        bool missing = false;                                       // the folder could not be found
    };
    struct KnownHash {
        std::uintmax_t size;
        std::filesystem::file_time_type time;
        std::string hash;
    };

    std::shared_ptr<const Listing> Listed() const;

    std::string folder_;
    mutable std::mutex listingMutex_;
    mutable std::shared_ptr<const Listing> listing_;
    mutable std::mutex hashesMutex_;
    mutable std::map<std::string, KnownHash> hashes_;
};
