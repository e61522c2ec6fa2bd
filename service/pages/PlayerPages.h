#pragma once
#include "service/store/GreetingStore.h"
#include "service/pages/CharacterFolder.h"
#include "service/pages/FileReplies.h"
#include "service/pages/PageFiles.h"
#include "service/pages/SiteServer.h"
#include <functional>
#include <httplib.h>
#include <optional>
#include <string>

// The greeting page, where a greeting plays in the browser:
//   /play.asp?GID=<id>[&r=<t>]    the page (a friendly 404 for a greeting the site lacks);
//                                 a recipient's own link brings its token along
//   /play/greeting.asp?GID=<id>   the stored greeting's bytes
//   /play/characters.json         the names of the characters the site has
//   /play/characters/<file>       a character's files (see CharacterFileName)
// from a folder laid out as the build lays it out: play/ and characters/. The page's
// scripts and styles are PageFileRoutes'. No cache keeps the pages or the greetings: the
// service must see every pick-up, and greetings are deleted in time. The characters'
// descriptions and first sheets are asked again each time (a user's character may
// change); their other sheets and sounds go under hashed names, kept for good.
class PlayerPages {
public:
    // pickedUp hears of every page asked for with a recipient's token.
    PlayerPages(const std::string& folder, const PageFiles& files, const GreetingStore& store,
                std::function<void(std::uint64_t id, const std::string& token)> pickedUp);

    void Mount(SiteServer& server);

private:
    void Page(const httplib::Request& request, httplib::Response& response);
    void Greeting(const httplib::Request& request, httplib::Response& response) const;
    void CharacterNames(const httplib::Request& request, httplib::Response& response);
    void CharacterFile(const httplib::Request& request, httplib::Response& response);
    std::optional<std::string> FirstCharacter(const GreetingSummary& greeting) const;
    void NotFound(httplib::Response& response) const;

    const GreetingStore& store_;
    const PageFiles& files_;
    std::function<void(std::uint64_t, const std::string&)> pickedUp_;
    CharacterFolder characters_;
    FileReplies replies_;
};
