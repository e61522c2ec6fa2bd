#include "service/pages/PlayerPages.h"
#include "service/mail/MailText.h"
#include "service/pages/CharacterFileName.h"
#include "service/pages/ContentHash.h"
#include "service/pages/MissingPage.h"
#include <memory>
#include <strings.h>

namespace {

const char HtmlType[] = "text/html; charset=utf-8";

// A character's name as a part of an address in a header (names may hold blanks and
// UTF-8), spelt as the page's encodeURIComponent spells it: a preload is used only by a
// fetch of the very same address.
std::string InAddress(const std::string& name)
{
    static const char Hex[] = "0123456789ABCDEF";
    static const std::string Unescaped = "-_.!~*'()";
    std::string escaped;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            Unescaped.find(c) != std::string::npos)
            escaped += c;
        else
            escaped += std::string("%") + Hex[byte >> 4] + Hex[byte & 15];
    }
    return escaped;
}

} // namespace

PlayerPages::PlayerPages(const std::string& folder, const PageFiles& files, const GreetingStore& store,
                         std::function<void(std::uint64_t id, const std::string& token)> pickedUp)
    : store_(store), files_(files), pickedUp_(std::move(pickedUp)), characters_(folder + "/characters")
{
}

void PlayerPages::Mount(SiteServer& server)
{
    // A pick-up ("r") is written down, which is left to a worker.
    server.ServeReading(
        "/play.asp", [this](const httplib::Request& request, httplib::Response& response) { Page(request, response); },
        store_.ReadsAreLocal(), "r");
    server.ServeReading(
        "/play/greeting.asp",
        [this](const httplib::Request& request, httplib::Response& response) { Greeting(request, response); },
        store_.ReadsAreLocal());
    server.Serve("GET", "/play/characters\\.json", [this](const httplib::Request& request, httplib::Response& response) {
        CharacterNames(request, response);
    });
    // Names (UTF-8 once the address is decoded) are checked before they come near a path;
    // the pattern alone keeps out "..".
    server.Serve("GET", "/play/characters/([^/]+)", [this](const httplib::Request& request, httplib::Response& response) {
        CharacterFile(request, response);
    });
}

void PlayerPages::Page(const httplib::Request& request, httplib::Response& response)
{
    const std::optional<std::uint64_t> id = RequestedGreetingId(request);
    const std::optional<StoredGreeting> greeting = id ? store_.Load(*id) : std::nullopt;
    if (!greeting)
        return NotFound(response);
    if (request.has_param("r"))
        pickedUp_(*id, request.get_param_value("r"));
    const PageFile* page = files_.Find("play/play.html");
    if (!page)
        return NotFound(response);
    replies_.Send(request, response, "play/play.html", page->bytes, page->hash, HtmlType, Freshness::NoStore);
    response.set_header("Content-Security-Policy", PagePolicy(false, files_.ImportMapSource()));
    // What the page's scripts will ask for first comes along while they load; the other
    // characters would only slow the first down on a slow line.
    std::string links = "</play/greeting.asp?GID=" + std::to_string(*id) +
                        ">; rel=preload; as=fetch; crossorigin, </play/characters.json>; rel=preload; as=fetch; crossorigin";
    if (const std::optional<std::string> name = FirstCharacter(greeting->summary)) {
        links += ", </play/characters/" + InAddress(*name) + ".json>; rel=preload; as=fetch; crossorigin";
        // Images come after scripts unless asked for sooner, and this one is the first frame.
        links += ", </play/characters/" + InAddress(*name) + ".png>; rel=preload; as=image; fetchpriority=high";
    }
    response.set_header("Link", links);
}

// The first character the site has that a line of the greeting begins with, by the site's
// name (UTF-8; the greeting's are Windows-1252).
std::optional<std::string> PlayerPages::FirstCharacter(const GreetingSummary& greeting) const
{
    const std::shared_ptr<const std::set<std::string>> served = characters_.Names();
    for (const std::string& line : greeting.actionLines) {
        const std::string first = Utf8FromWindows1252(line.substr(0, line.find(',')));
        for (const std::string& name : *served)
            if (strcasecmp(name.c_str(), first.c_str()) == 0)
                return name;
    }
    return std::nullopt;
}

void PlayerPages::Greeting(const httplib::Request& request, httplib::Response& response) const
{
    const std::optional<std::uint64_t> id = RequestedGreetingId(request);
    const std::optional<std::string> bytes = id ? store_.LoadBytes(*id) : std::nullopt;
    if (!bytes)
        return NotFound(response);
    // Greetings are 8-bit text in the Windows code page of their sender.
    response.set_content(*bytes, "text/plain; charset=windows-1252");
    ForbidStoring(response);
}

void PlayerPages::CharacterNames(const httplib::Request& request, httplib::Response& response)
{
    std::string list = "[";
    for (const std::string& name : *characters_.Names())
        list += (list.size() > 1 ? ",\"" : "\"") + name + "\"";
    list += "]\n";
    const std::string hash = ContentHash(list);
    replies_.Send(request, response, "characters.json", std::make_shared<const std::string>(std::move(list)), hash,
                  "application/json", Freshness::Revalidate);
}

// Read per request: a user's character put into the folder counts at once. A hashed
// name whose hash is not the file's is 404 (see PageFileRoutes).
void PlayerPages::CharacterFile(const httplib::Request& request, httplib::Response& response)
{
    const std::optional<CharacterFileName> name = ParseCharacterFileName(request.matches[1]);
    if (!name)
        return NotFound(response);
    std::optional<std::string> bytes;
    if (name->file == name->character + ".json" || !name->hash.empty()) {
        bytes = name->hash.empty() ? characters_.Description(name->character) : characters_.Read(name->file);
        if (!bytes || (!name->hash.empty() && name->hash != ContentHash(*bytes)))
            return NotFound(response);
        const std::string hash = name->hash.empty() ? ContentHash(*bytes) : name->hash;
        return replies_.Send(request, response, "characters/" + name->file,
                             std::make_shared<const std::string>(std::move(*bytes)), hash, name->type,
                             name->hash.empty() ? Freshness::Revalidate : Freshness::Immutable);
    }
    // The hash before the bytes: should the file change in between, the tag is older
    // than the bytes, and the next request brings the new ones.
    const std::optional<std::string> hash = characters_.Hash(name->file);
    if (!hash)
        return NotFound(response);
    if (replies_.HeldAlready(request, response, *hash, name->type, Freshness::Revalidate))
        return;
    bytes = characters_.Read(name->file);
    if (!bytes)
        return NotFound(response);
    replies_.SendBody(request, response, "characters/" + name->file,
                      std::make_shared<const std::string>(std::move(*bytes)), name->type);
}

void PlayerPages::NotFound(httplib::Response& response) const
{
    AnswerMissingGreeting(files_, response);
}
