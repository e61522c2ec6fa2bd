#pragma once
#include "service/store/GreetingStore.h"
#include "service/pages/GzipCopies.h"
#include "service/pages/PageFiles.h"
#include "service/pages/SiteServer.h"
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <httplib.h>
#include <set>
#include <string>

// The greeting page, where a greeting plays in the browser:
//   /play.asp?GID=<id>[&r=<t>]    the page (a friendly 404 for a greeting the site lacks);
//                                 a recipient's own link brings its token along
//   /play/greeting.asp?GID=<id>   the stored greeting's bytes
//   /play/characters.json         the names of the characters the site has
//   /play/characters/<name>.json  a character's animations, .png its first sprite sheet
//   /play/characters/<name>.<n>.png  its other sprite sheets, n from 1
//   /play/characters/<name>.<n>.wav  its sounds, n from 0
//   /play/<name>.js, .css         the page's scripts and style
// all from a folder laid out as the build lays it out: play/ and characters/.
class PlayerPages {
public:
    // pickedUp hears of every page asked for with a recipient's token.
    PlayerPages(std::string folder, const PageFiles& files, const GreetingStore& store,
                std::function<void(std::uint64_t id, const std::string& token)> pickedUp);

    void Mount(SiteServer& server);

private:
    void Page(const httplib::Request& request, httplib::Response& response) const;
    void Greeting(const httplib::Request& request, httplib::Response& response) const;
    void CharacterNames(httplib::Response& response) const;
    // Shared, not copied: every greeting page asks for it.
    std::shared_ptr<const std::set<std::string>> CharacterNameSet() const;
    std::optional<std::string> FirstCharacter(const GreetingSummary& greeting) const;
    void ServeCharacterFile(const std::string& file, const std::string& type, const httplib::Request& request,
                            httplib::Response& response) const;
    // path names the file for its compressed copy.
    void ServeFile(const std::string& path, std::shared_ptr<const std::string> bytes, const std::string& type,
                   const httplib::Request& request, httplib::Response& response) const;
    void NotFound(httplib::Response& response) const;

    std::string folder_;
    const GreetingStore& store_;
    const PageFiles& files_;
    std::function<void(std::uint64_t, const std::string&)> pickedUp_;
    mutable std::mutex charactersMutex_;
    mutable std::shared_ptr<const std::set<std::string>> characters_;
    mutable std::filesystem::file_time_type charactersChanged_;
    mutable bool charactersRead_ = false;
    mutable GzipCopies gzipped_;
};
