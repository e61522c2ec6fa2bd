#include "service/pages/CharacterFolder.h"
#include "service/pages/CharacterFileName.h"
#include "service/pages/ContentHash.h"
#include "service/pages/DataFiles.h"

namespace fs = std::filesystem;

CharacterFolder::CharacterFolder(std::string folder) : folder_(std::move(folder))
{
}

std::shared_ptr<const CharacterFolder::Listing> CharacterFolder::Listed() const
{
    // A file that comes or goes changes the folder's time.
    std::error_code timeError;
    const fs::file_time_type changed = fs::last_write_time(folder_, timeError);
    // Nearly every request finds the folder as it was, and takes no lock for it.
    const std::shared_ptr<const Listing> known = std::atomic_load(&listing_);
    if (known && known->missing == static_cast<bool>(timeError) && (timeError || changed == known->time))
        return known;
    std::lock_guard<std::mutex> lock(listingMutex_);
    std::set<std::string> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_, error))
        files.insert(entry.path().filename().string());
    auto listing = std::make_shared<Listing>();
    listing->time = changed;
    listing->missing = static_cast<bool>(timeError);
    for (const std::string& file : files) {
        const std::optional<CharacterFileName> parsed = ParseCharacterFileName(file);
        if (!parsed || !parsed->hash.empty())
            continue;
        const std::string& name = parsed->character;
        if (file == name + ".json" && files.count(name + ".png"))
            listing->names.insert(name);
        else if (file != name + ".json" && file != name + ".png")
            listing->laterFiles[name].push_back(file);
    }
    // Hashes of files that went are forgotten.
    {
        std::lock_guard<std::mutex> hashesLock(hashesMutex_);
        for (auto known = hashes_.begin(); known != hashes_.end();)
            known = files.count(known->first) ? std::next(known) : hashes_.erase(known);
    }
    std::atomic_store(&listing_, std::shared_ptr<const Listing>(listing));
    return listing;
}

std::shared_ptr<const std::set<std::string>> CharacterFolder::Names() const
{
    const std::shared_ptr<const Listing> listing = Listed();
    return std::shared_ptr<const std::set<std::string>>(listing, &listing->names);
}

std::optional<std::string> CharacterFolder::Read(const std::string& file) const
{
    return ReadDataFile(folder_ + "/" + file);
}

std::optional<std::string> CharacterFolder::Hash(const std::string& file) const
{
    const std::string path = folder_ + "/" + file;
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error)
        return std::nullopt;
    {
        std::lock_guard<std::mutex> lock(hashesMutex_);
        const auto known = hashes_.find(file);
        if (known != hashes_.end() && known->second.size == size && known->second.time == time)
            return known->second.hash;
    }
    const std::optional<std::string> bytes = ReadDataFile(path);
    if (!bytes)
        return std::nullopt;
    // Kept under the size and time seen before reading: a file changed meanwhile is
    // hashed again at the next request.
    const std::string hash = ContentHash(*bytes);
    std::lock_guard<std::mutex> lock(hashesMutex_);
    hashes_[file] = KnownHash{ size, time, hash };
    return hash;
}

std::optional<std::string> CharacterFolder::Description(const std::string& name) const
{
    std::optional<std::string> description = Read(name + ".json");
    if (!description)
        return std::nullopt;
    const size_t open = description->find_first_not_of(" \t\r\n");
    if (open == std::string::npos || (*description)[open] != '{')
        return description; // no object: the page says what is wrong with it
    // File names of web characters hold no quote or backslash: they go into JSON as they are.
    std::string files;
    const std::shared_ptr<const Listing> listing = Listed();
    const auto later = listing->laterFiles.find(name);
    if (later != listing->laterFiles.end()) {
        for (const std::string& file : later->second)
            if (const std::optional<std::string> hash = Hash(file))
                files += (files.empty() ? "\"" : ",\"") + file + "\":\"" + HashedFileName(file, *hash) + "\"";
    }
    const size_t next = description->find_first_not_of(" \t\r\n", open + 1);
    const bool empty = next != std::string::npos && (*description)[next] == '}';
    description->insert(open + 1, "\"files\":{" + files + "}" + (empty ? "" : ","));
    return description;
}
