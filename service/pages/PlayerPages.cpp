#include "service/pages/PlayerPages.h"
#include "cast/WebCharacterName.h"
#include "service/mail/MailText.h"
#include "service/pages/DataFiles.h"
#include "service/pages/MissingPage.h"
#include <filesystem>
#include <memory>
#include <strings.h>

namespace fs = std::filesystem;

namespace {

const char HtmlType[] = "text/html; charset=utf-8";

struct FileKind {
    const char* extension;
    const char* type;
};

const FileKind PageFileKinds[] = {
    { "js", "text/javascript; charset=utf-8" },
    { "css", "text/css; charset=utf-8" },
};

const FileKind CharacterFiles[] = {
    { "json", "application/json" },
    { "png", "image/png" },
};

// A character's name as a part of an address in a header: every byte but letters and
// digits escaped (names may hold blanks and UTF-8).
std::string InAddress(const std::string& name)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string escaped;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9'))
            escaped += c;
        else
            escaped += std::string("%") + Hex[byte >> 4] + Hex[byte & 15];
    }
    return escaped;
}

const char* TypeOf(const std::string& extension, const FileKind (&kinds)[2])
{
    for (const FileKind& kind : kinds)
        if (extension == kind.extension)
            return kind.type;
    return nullptr;
}

} // namespace

PlayerPages::PlayerPages(std::string folder, const PageFiles& files, const GreetingStore& store,
                         std::function<void(std::uint64_t id, const std::string& token)> pickedUp)
    : folder_(std::move(folder)), store_(store), files_(files), pickedUp_(std::move(pickedUp))
{
}

void PlayerPages::Mount(SiteServer& server)
{
    server.Serve("GET", "/play\\.asp",
                 [this](const httplib::Request& request, httplib::Response& response) { Page(request, response); });
    server.Serve("GET", "/play/greeting\\.asp",
                 [this](const httplib::Request& request, httplib::Response& response) { Greeting(request, response); });
    server.Serve("GET", "/play/characters\\.json",
                 [this](const httplib::Request&, httplib::Response& response) { CharacterNames(response); });
    // Names (UTF-8 once the address is decoded) are checked before they come near a path;
    // the pattern alone keeps out "..". Characters come from the disk: a user's character
    // added to the folder counts at once.
    server.Serve("GET", "/play/characters/([^/.]+)\\.([a-z]+)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     const std::string name = request.matches[1];
                     const char* type = TypeOf(request.matches[2], CharacterFiles);
                     if (!IsWebCharacterName(name) || !type)
                         return NotFound(response);
                     ServeCharacterFile(name + "." + request.matches[2].str(), type, request, response);
                 });
    // A character's later sprite sheets, numbered from 1, and its sounds, from 0.
    server.Serve("GET", "/play/characters/([^/.]+)\\.([1-9][0-9]{0,3}\\.png|(?:0|[1-9][0-9]{0,3})\\.wav)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     const std::string name = request.matches[1];
                     const std::string file = request.matches[2];
                     if (!IsWebCharacterName(name))
                         return NotFound(response);
                     const bool sheet = file.compare(file.size() - 4, 4, ".png") == 0;
                     ServeCharacterFile(name + "." + file, sheet ? "image/png" : "audio/wav", request, response);
                 });
    server.Serve("GET", "/play/([A-Za-z0-9_-]+)\\.([a-z]+)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     const char* type = TypeOf(request.matches[2], PageFileKinds);
                     const std::string path = "play/" + request.matches[1].str() + "." + request.matches[2].str();
                     const std::shared_ptr<const std::string> file = type ? files_.Find(path) : nullptr;
                     if (!file)
                         return NotFound(response);
                     ServeFile(path, file, type, request, response);
                 });
}

void PlayerPages::Page(const httplib::Request& request, httplib::Response& response) const
{
    const std::optional<std::uint64_t> id = RequestedGreetingId(request);
    const std::optional<StoredGreeting> greeting = id ? store_.Load(*id) : std::nullopt;
    if (!greeting)
        return NotFound(response);
    if (request.has_param("r"))
        pickedUp_(*id, request.get_param_value("r"));
    const std::shared_ptr<const std::string> page = files_.Find("play/play.html");
    if (!page)
        return NotFound(response);
    ServeFile("play/play.html", page, HtmlType, request, response);
    response.set_header("Content-Security-Policy", PagePolicy(false));
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
    const std::shared_ptr<const std::set<std::string>> served = CharacterNameSet();
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
}

// Only characters with both their files; a user's character added to the folder counts
// from the next request on.
std::shared_ptr<const std::set<std::string>> PlayerPages::CharacterNameSet() const
{
    // The folder is read again only when a file came or went, which changes its time.
    std::error_code timeError;
    const fs::file_time_type changed = fs::last_write_time(folder_ + "/characters", timeError);
    std::lock_guard<std::mutex> lock(charactersMutex_);
    if (!timeError && charactersRead_ && changed == charactersChanged_)
        return characters_;
    std::set<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_ + "/characters", error)) {
        const fs::path path = entry.path();
        const std::string name = path.stem().string();
        if (path.extension() == ".json" && IsWebCharacterName(name) &&
            fs::exists(path.parent_path() / (name + ".png"), error))
            names.insert(name);
    }
    characters_ = std::make_shared<const std::set<std::string>>(std::move(names));
    charactersChanged_ = changed;
    charactersRead_ = !timeError;
    return characters_;
}

void PlayerPages::CharacterNames(httplib::Response& response) const
{
    std::string list = "[";
    for (const std::string& name : *CharacterNameSet())
        list += (list.size() > 1 ? ",\"" : "\"") + name + "\"";
    response.set_content(list + "]\n", "application/json");
}

// Read per request: a user's character put into the folder counts at once.
void PlayerPages::ServeCharacterFile(const std::string& file, const std::string& type,
                                     const httplib::Request& request, httplib::Response& response) const
{
    std::optional<std::string> read = ReadDataFile(folder_ + "/characters/" + file);
    if (!read)
        return NotFound(response);
    ServeFile("characters/" + file, std::make_shared<const std::string>(std::move(*read)), type, request, response);
}

// Text goes gzip-compressed to browsers that take it, compressed once ahead: the HTTP
// library would compress it at its slowest setting at every request, which costs more
// than the bytes do on a fast line. Pictures and sounds are compressed already.
void PlayerPages::ServeFile(const std::string& path, std::shared_ptr<const std::string> bytes,
                            const std::string& type, const httplib::Request& request,
                            httplib::Response& response) const
{
    const bool text = type.rfind("text/", 0) == 0 || type == "application/json";
    if (text && request.get_header_value("Accept-Encoding").find("gzip") != std::string::npos) {
        bytes = gzipped_.Of(path, *bytes);
        response.set_header("Content-Encoding", "gzip");
    }
    if (text)
        response.set_header("Vary", "Accept-Encoding");
    response.set_content_provider(bytes->size(), type,
                                  [bytes](size_t offset, size_t length, httplib::DataSink& sink) {
                                      return sink.write(bytes->data() + offset, length);
                                  });
}

void PlayerPages::NotFound(httplib::Response& response) const
{
    AnswerMissingGreeting(files_, response);
}
