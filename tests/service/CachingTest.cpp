// What browsers, the reverse proxy and a CDN may keep of the site: the page's scripts and
// styles and the characters' later files under content-hashed addresses for good; plain
// addresses and the characters' descriptions asked again (304 while unchanged); greetings
// and the pages made for them never.
#include "ServiceProcess.h"
#include "TempFolder.h"
#include "service/pages/CharacterFileName.h"
#include "service/pages/ContentHash.h"
#include "service/pages/PageLinks.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {

const char Immutable[] = "public, max-age=31536000, immutable";
const char Identity[] = "identity";

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Each match of the pattern's first group, in order.
std::vector<std::string> AllOf(const std::string& text, const std::string& pattern)
{
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto match = std::sregex_iterator(text.begin(), text.end(), expression); match != std::sregex_iterator();
         ++match)
        found.push_back((*match)[1]);
    return found;
}

std::string ImportMapOf(const std::string& page)
{
    const std::vector<std::string> maps = AllOf(page, "<script type=\"importmap\">([^<]*)</script>");
    return maps.size() == 1 ? maps[0] : std::string();
}

// The hashed address the page names for a plain one ("/play/main.js").
std::string HashedAddressIn(const std::string& page, const std::string& plain)
{
    const size_t dot = plain.rfind('.');
    const std::vector<std::string> found =
        AllOf(page, "\"(" + plain.substr(0, dot) + "\\.[0-9a-f]{16}\\" + plain.substr(dot) + ")\"");
    return found.empty() ? std::string() : found.front();
}

} // namespace

TEST(ContentHashTest, NamesContentByTheStartOfItsSha256)
{
    EXPECT_EQ("ba7816bf8f01cfea", ContentHash("abc"));
    EXPECT_EQ("e3b0c44298fc1c14", ContentHash(""));
    EXPECT_EQ("'sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0='", ScriptHashSource("abc"));
    EXPECT_EQ("main.ba7816bf8f01cfea.js", HashedFileName("main.js", "ba7816bf8f01cfea"));
    EXPECT_EQ("Zo\xC3\xAB.1.ba7816bf8f01cfea.png", HashedFileName("Zo\xC3\xAB.1.png", "ba7816bf8f01cfea"));
    EXPECT_TRUE(IsContentHash("0123456789abcdef"));
    for (const char* other : { "0123456789ABCDEF", "0123456789abcde", "0123456789abcdef0", "0123456789abcdeg" })
        EXPECT_FALSE(IsContentHash(other)) << other;
}

TEST(PageLinksTest, APageNamesHashedAddressesAndMapsTheScriptsImportsBeforeAnyModuleLoads)
{
    const std::map<std::string, std::string> addresses = {
        { "/play/a.js", "/play/a.1111111111111111.js" },
        { "/play/b.js", "/play/b.2222222222222222.js" },
        { "/play/style.css", "/play/style.3333333333333333.css" },
    };
    const std::string map = ImportMap(addresses);
    EXPECT_EQ("{\"imports\":{\"/play/a.js\":\"/play/a.1111111111111111.js\","
              "\"/play/b.js\":\"/play/b.2222222222222222.js\"}}",
              map);
    const std::string page = "<head><link rel=\"stylesheet\" href=\"/play/style.css\">\n"
                             "<link rel=\"modulepreload\" href=\"/play/b.js\">\n"
                             "<script type=\"module\" src=\"/play/a.js\"></script>\n"
                             "</head><body><p>/play/a.js \"/play/a.jsx\" \"/play/c.js\"</p></body>";
    EXPECT_EQ("<head><link rel=\"stylesheet\" href=\"/play/style.3333333333333333.css\">\n"
              "<script type=\"importmap\">" + map + "</script>\n"
              "<link rel=\"modulepreload\" href=\"/play/b.2222222222222222.js\">\n"
              "<script type=\"module\" src=\"/play/a.1111111111111111.js\"></script>\n"
              "</head><body><p>/play/a.js \"/play/a.jsx\" \"/play/c.js\"</p></body>",
              LinkHashedAddresses(page, addresses, map));
    // A page that loads no module gets no map.
    EXPECT_EQ("<link rel=\"stylesheet\" href=\"/play/style.3333333333333333.css\">",
              LinkHashedAddresses("<link rel=\"stylesheet\" href=\"/play/style.css\">", addresses, map));
}

TEST(CharacterFileNameTest, TakesTheFilesOfTheWebFormByPlainAndHashedNamesOnly)
{
    struct Case {
        const char* name;
        const char* file;
        const char* hash;
        const char* type;
    };
    const Case taken[] = {
        { "Merlin.json", "Merlin.json", "", "application/json" },
        { "Merlin.png", "Merlin.png", "", "image/png" },
        { "Merlin.0123456789abcdef.png", "Merlin.png", "0123456789abcdef", "image/png" },
        { "Merlin.7.png", "Merlin.7.png", "", "image/png" },
        { "Merlin.12.0123456789abcdef.png", "Merlin.12.png", "0123456789abcdef", "image/png" },
        { "Merlin.0.wav", "Merlin.0.wav", "", "audio/wav" },
        { "Merlin.9999.0123456789abcdef.wav", "Merlin.9999.wav", "0123456789abcdef", "audio/wav" },
        { "Test Visitor.1.png", "Test Visitor.1.png", "", "image/png" },
        { "Zo\xC3\xAB.json", "Zo\xC3\xAB.json", "", "application/json" },
    };
    for (const Case& expected : taken) {
        const std::optional<CharacterFileName> parsed = ParseCharacterFileName(expected.name);
        ASSERT_TRUE(parsed) << expected.name;
        EXPECT_EQ(expected.file, parsed->file) << expected.name;
        EXPECT_EQ(expected.hash, parsed->hash) << expected.name;
        EXPECT_STREQ(expected.type, parsed->type) << expected.name;
    }
    for (const char* refused :
         { "Merlin", ".json", "Merlin.JSON", "Merlin.0123456789abcdef.json", "Merlin.1.json", "Merlin.0.png",
           "Merlin.01.png", "Merlin.10000.png", "Merlin.-1.png", "Merlin.wav", "Merlin.0123456789abcdef.wav",
           "Merlin.1.2.png", "Merlin.0123456789ABCDEF.png", "Merlin.0123456789abcde.png",
           "Merlin.0123456789abcdef.1.png", "Merlin.1.0123456789abcdef.0123456789abcdef.png", " x.png", "..",
           "...png", "Merlin..png", "Merlin.png.", "Zo\xEB.json", "a/b.png", "Merlin.exe" })
        EXPECT_FALSE(ParseCharacterFileName(refused)) << refused;
}

// The service on a copy of the site's web folder (its pages and Merlin), which the tests change.
class CachingTest : public testing::Test {
protected:
    CachingTest()
    {
        fs::create_directories(characters);
        fs::copy(fs::path(SERVICE_WEB_DIR) / "play", web + "/play", fs::copy_options::recursive);
        fs::copy(fs::path(SERVICE_WEB_DIR) / "send", web + "/send", fs::copy_options::recursive);
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(SERVICE_WEB_DIR) / "characters"))
            if (entry.path().filename().string().rfind("Merlin.", 0) == 0)
                fs::copy(entry.path(), characters + "/" + entry.path().filename().string());
        Start();
    }

    void Start()
    {
        service.reset();
        service = std::make_unique<ServiceProcess>(folder.File("service"), std::vector<std::string>{ "--web", web });
    }

    httplib::Result Get(const std::string& path, const std::string& entityTag = std::string(),
                        const std::string& encoding = Identity)
    {
        httplib::Headers headers = { { "Accept-Encoding", encoding } };
        if (!entityTag.empty())
            headers.emplace("If-None-Match", entityTag);
        httplib::Client client = service->Client();
        // The body as sent: compressed where it is.
        client.set_decompress(false);
        return client.Get(path.c_str(), headers);
    }

    std::string UploadGreeting()
    {
        httplib::Client client = service->Client();
        const httplib::Result reply = client.Post("/upload.asp", GreetingText(""), "application/octet-stream");
        EXPECT_TRUE(reply && reply->status == 200);
        return reply ? reply->body.substr(0, reply->body.find('\r')) : std::string();
    }

    std::string Page()
    {
        const httplib::Result page = Get("/play.asp?GID=" + greeting);
        EXPECT_TRUE(page && page->status == 200);
        return page ? page->body : std::string();
    }

    // Asserts the reply is the file under a hashed address: kept for good, tagged by its hash.
    void ExpectKeptForGood(const std::string& address, const std::string& bytes)
    {
        const httplib::Result reply = Get(address);
        ASSERT_TRUE(reply) << address;
        EXPECT_EQ(200, reply->status) << address;
        EXPECT_EQ(Immutable, reply->get_header_value("Cache-Control")) << address;
        const std::string hash = AllOf(address, "\\.([0-9a-f]{16})\\.")[0];
        EXPECT_EQ(Quoted(hash), reply->get_header_value("ETag")) << address;
        EXPECT_EQ(hash, ContentHash(reply->body)) << address;
        EXPECT_TRUE(bytes == reply->body) << address << ": other bytes";
    }

    void ExpectMissingAndNeverKept(const std::string& address)
    {
        const httplib::Result reply = Get(address);
        ASSERT_TRUE(reply) << address;
        EXPECT_EQ(404, reply->status) << address;
        EXPECT_EQ("no-store", reply->get_header_value("Cache-Control")) << address;
        EXPECT_FALSE(reply->has_header("ETag")) << address;
    }

    TempFolder folder;
    const std::string web = folder.File("web");
    const std::string characters = web + "/characters";
    std::unique_ptr<ServiceProcess> service;
    std::string greeting;
};

TEST_F(CachingTest, ThePageNamesItsScriptsAndStylesByHashedAddressesKeptForGood)
{
    greeting = UploadGreeting();
    const httplib::Result reply = Get("/play.asp?GID=" + greeting);
    ASSERT_TRUE(reply && reply->status == 200);
    const std::string page = reply->body;

    // Every script and style of the folder, each by the hash of what it holds.
    std::set<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(web + "/play"))
        if (entry.path().extension() == ".js" || entry.path().extension() == ".css")
            files.insert(entry.path().filename().string());
    ASSERT_GT(files.size(), 20u);
    const std::string map = ImportMapOf(page);
    ASSERT_FALSE(map.empty()) << page;
    for (const std::string& file : files) {
        const std::string bytes = ReadWholeFile(web + "/play/" + file);
        const std::string hashed = "/play/" + HashedFileName(file, ContentHash(bytes));
        if (fs::path(file).extension() == ".js") {
            EXPECT_NE(std::string::npos, map.find(Quoted("/play/" + file) + ":" + Quoted(hashed))) << file;
        }
        ExpectKeptForGood(hashed, bytes);
    }
    EXPECT_EQ("/play/" + HashedFileName("player.css", ContentHash(ReadWholeFile(web + "/play/player.css"))),
              HashedAddressIn(page, "/play/player.css"));
    EXPECT_EQ("/play/" + HashedFileName("main.js", ContentHash(ReadWholeFile(web + "/play/main.js"))),
              AllOf(page, "<script type=\"module\" src=\"([^\"]+)\"></script>").at(0));
    // Outside the import map, no plain address is left; the map comes before any module.
    std::string outside = page;
    outside.erase(outside.find(map), map.size());
    EXPECT_EQ(std::vector<std::string>(), AllOf(outside, "\"(/(?:play|send)/[\\w-]+\\.(?:js|css))\""));
    EXPECT_LT(page.find("<script type=\"importmap\">"), page.find("<link rel=\"modulepreload\""));
    // The policy runs that map and no other inline script.
    const std::string policy = reply->get_header_value("Content-Security-Policy");
    EXPECT_NE(std::string::npos, policy.find("script-src 'self' " + ScriptHashSource(map) + ";")) << policy;

    // The send page names its own style the same way, under the same policy for the map.
    const httplib::Result send = Get("/send/default.asp?GID=" + greeting);
    ASSERT_TRUE(send && send->status == 200);
    EXPECT_EQ(map, ImportMapOf(send->body));
    EXPECT_NE(std::string::npos, send->get_header_value("Content-Security-Policy").find(ScriptHashSource(map)));
    const std::string style = ReadWholeFile(web + "/send/send.css");
    const std::string styleAddress = "/send/" + HashedFileName("send.css", ContentHash(style));
    EXPECT_EQ(styleAddress, HashedAddressIn(send->body, "/send/send.css"));
    ExpectKeptForGood(styleAddress, style);
}

TEST_F(CachingTest, PlainAddressesAreAskedAgainAndAnswer304WhileUnchanged)
{
    for (const std::string file : { "play/main.js", "play/player.css", "send/send.css" }) {
        const std::string bytes = ReadWholeFile(web + "/" + file);
        const std::string tag = Quoted(ContentHash(bytes));
        const httplib::Result plain = Get("/" + file);
        ASSERT_TRUE(plain) << file;
        EXPECT_EQ(200, plain->status) << file;
        EXPECT_EQ("no-cache", plain->get_header_value("Cache-Control")) << file;
        EXPECT_EQ(tag, plain->get_header_value("ETag")) << file;
        EXPECT_EQ(bytes, plain->body) << file;

        for (const std::string& held : { tag, "W/" + tag, "\"other\", " + tag, std::string("*") }) {
            const httplib::Result again = Get("/" + file, held);
            ASSERT_TRUE(again) << file << " " << held;
            EXPECT_EQ(304, again->status) << file << " " << held;
            EXPECT_EQ("", again->body) << file;
            EXPECT_EQ(tag, again->get_header_value("ETag")) << file;
        }
        const httplib::Result other = Get("/" + file, "\"0123456789abcdef\"");
        ASSERT_TRUE(other);
        EXPECT_EQ(200, other->status) << file;
        EXPECT_EQ(bytes, other->body) << file;

        // Compressed, it is another representation with its own tag.
        const httplib::Result gzipped = Get("/" + file, tag, "gzip, deflate");
        ASSERT_TRUE(gzipped);
        EXPECT_EQ(200, gzipped->status) << file;
        EXPECT_EQ("gzip", gzipped->get_header_value("Content-Encoding")) << file;
        EXPECT_EQ("Accept-Encoding", gzipped->get_header_value("Vary")) << file;
        const std::string gzipTag = gzipped->get_header_value("ETag");
        EXPECT_NE(tag, gzipTag) << file;
        const httplib::Result gzippedAgain = Get("/" + file, gzipTag, "gzip");
        ASSERT_TRUE(gzippedAgain);
        EXPECT_EQ(304, gzippedAgain->status) << file;
    }
}

TEST_F(CachingTest, AHashedAddressWhoseHashIsNotTheFilesIsNotFoundAndNeverKept)
{
    const std::string styleHash = ContentHash(ReadWholeFile(web + "/play/player.css"));
    ExpectMissingAndNeverKept("/play/main.0123456789abcdef.js");
    ExpectMissingAndNeverKept("/play/main." + styleHash + ".js");
    ExpectMissingAndNeverKept("/play/nothing." + styleHash + ".css");
    ExpectMissingAndNeverKept("/send/send." + styleHash + ".css");
    ExpectMissingAndNeverKept("/play/characters/Merlin.1." + styleHash + ".png");
    ExpectMissingAndNeverKept("/play/characters/Merlin.9." + ContentHash(ReadWholeFile(characters + "/Merlin.1.png")) +
                              ".png");
    ExpectMissingAndNeverKept("/play/characters/Nobody.1.0123456789abcdef.png");
    ExpectMissingAndNeverKept("/play/play.0123456789abcdef.html");
}

TEST_F(CachingTest, AChangedFileGetsAnotherAddressAtTheNextStartAndTheOldOneGoes)
{
    greeting = UploadGreeting();
    const std::string before = Page();
    const std::string script = HashedAddressIn(before, "/play/main.js");
    const std::string style = HashedAddressIn(before, "/play/player.css");
    ASSERT_FALSE(script.empty());
    const std::string changed = ReadWholeFile(web + "/play/main.js") + "// changed\n";
    WriteFile(web + "/play/main.js", changed);
    Start();

    const std::string after = Page();
    const std::string newScript = HashedAddressIn(after, "/play/main.js");
    EXPECT_EQ("/play/" + HashedFileName("main.js", ContentHash(changed)), newScript);
    EXPECT_NE(script, newScript);
    EXPECT_EQ(style, HashedAddressIn(after, "/play/player.css")) << "an unchanged file keeps its address";
    EXPECT_NE(ImportMapOf(before), ImportMapOf(after));
    ExpectKeptForGood(newScript, changed);
    ExpectMissingAndNeverKept(script);
}

TEST_F(CachingTest, GreetingsAndThePagesMadeForThemAreNeverKept)
{
    greeting = UploadGreeting();
    for (const std::string& address :
         { "/play.asp?GID=" + greeting, "/play.asp?GID=" + greeting + "&r=0123456789abcdef0123456789abcdef",
           "/play/greeting.asp?GID=" + greeting, "/send/default.asp?GID=" + greeting }) {
        // Not even a client that says it holds something gets less than the page: the
        // service must see every pick-up.
        for (const std::string& held : { std::string(), std::string("*") }) {
            const httplib::Result reply = Get(address, held);
            ASSERT_TRUE(reply) << address;
            EXPECT_EQ(200, reply->status) << address << " " << held;
            EXPECT_EQ("no-store", reply->get_header_value("Cache-Control")) << address;
            EXPECT_FALSE(reply->has_header("ETag")) << address;
        }
    }
    ExpectMissingAndNeverKept("/play.asp?GID=123");
    ExpectMissingAndNeverKept("/play/greeting.asp?GID=123");
    ExpectMissingAndNeverKept("/send/default.asp?GID=123");
}

TEST_F(CachingTest, ACharactersLaterFilesGoByHashAndItsDescriptionAndFirstSheetAreAskedAgain)
{
    WriteFile(characters + "/Merlin.0.wav", "RIFF a sound");
    const auto description = [this](const std::string& held = std::string()) {
        return Get("/play/characters/Merlin.json", held);
    };
    const httplib::Result first = description();
    ASSERT_TRUE(first && first->status == 200);
    EXPECT_EQ("no-cache", first->get_header_value("Cache-Control"));
    EXPECT_EQ(Quoted(ContentHash(first->body)), first->get_header_value("ETag"));

    // The file's own description, with the hashed names of its later files put first.
    std::vector<std::string> later = { "Merlin.0.wav" };
    for (int sheet = 1; fs::exists(characters + "/Merlin." + std::to_string(sheet) + ".png"); ++sheet)
        later.push_back("Merlin." + std::to_string(sheet) + ".png");
    ASSERT_GT(later.size(), 2u);
    std::string files;
    for (const std::string& file : later)
        files += (files.empty() ? "" : ",") + Quoted(file) + ":" +
                 Quoted(HashedFileName(file, ContentHash(ReadWholeFile(characters + "/" + file))));
    const std::string onDisk = ReadWholeFile(characters + "/Merlin.json");
    EXPECT_EQ("{\"files\":{" + files + "}," + onDisk.substr(1), first->body);
    for (const std::string& file : later)
        ExpectKeptForGood("/play/characters/" + HashedFileName(file, ContentHash(ReadWholeFile(characters + "/" + file))),
                          ReadWholeFile(characters + "/" + file));
    const httplib::Result same = description(first->get_header_value("ETag"));
    ASSERT_TRUE(same);
    EXPECT_EQ(304, same->status);

    const std::string sheet = ReadWholeFile(characters + "/Merlin.png");
    const httplib::Result firstSheet = Get("/play/characters/Merlin.png");
    ASSERT_TRUE(firstSheet && firstSheet->status == 200);
    EXPECT_EQ("no-cache", firstSheet->get_header_value("Cache-Control"));
    EXPECT_EQ(Quoted(ContentHash(sheet)), firstSheet->get_header_value("ETag"));
    EXPECT_EQ(304, Get("/play/characters/Merlin.png", Quoted(ContentHash(sheet)))->status);

    // A sheet replaced while the service runs: its new hash at once, the old address gone.
    const std::string oldSecond = ReadWholeFile(characters + "/Merlin.1.png");
    const std::string newSecond = ReadWholeFile(characters + "/Merlin.2.png");
    WriteFile(characters + "/Merlin.1.png", newSecond);
    const httplib::Result changed = description(first->get_header_value("ETag"));
    ASSERT_TRUE(changed);
    EXPECT_EQ(200, changed->status) << "the description names another sheet now";
    const std::string newAddress = "Merlin.1." + ContentHash(newSecond) + ".png";
    EXPECT_NE(std::string::npos, changed->body.find("\"Merlin.1.png\":" + Quoted(newAddress))) << changed->body;
    ExpectKeptForGood("/play/characters/" + newAddress, newSecond);
    ExpectMissingAndNeverKept("/play/characters/Merlin.1." + ContentHash(oldSecond) + ".png");
    const httplib::Result plainSecond = Get("/play/characters/Merlin.1.png", Quoted(ContentHash(oldSecond)));
    ASSERT_TRUE(plainSecond);
    EXPECT_EQ(200, plainSecond->status);
    EXPECT_EQ(Quoted(ContentHash(newSecond)), plainSecond->get_header_value("ETag"));
    EXPECT_EQ(newSecond, plainSecond->body);
}

TEST_F(CachingTest, AUsersCharacterPutIntoTheFolderCountsAtTheNextRequest)
{
    const httplib::Result list = Get("/play/characters.json");
    ASSERT_TRUE(list && list->status == 200);
    EXPECT_EQ("[\"Merlin\"]\n", list->body);
    EXPECT_EQ("no-cache", list->get_header_value("Cache-Control"));
    const std::string listTag = list->get_header_value("ETag");
    EXPECT_EQ(304, Get("/play/characters.json", listTag)->status);

    const std::string zoe = "Zo\xC3\xAB";
    for (const char* suffix : { ".json", ".png", ".1.png" })
        fs::copy(characters + "/Merlin" + suffix, characters + "/" + zoe + suffix);
    const httplib::Result longer = Get("/play/characters.json", listTag);
    ASSERT_TRUE(longer);
    EXPECT_EQ(200, longer->status);
    EXPECT_EQ("[\"Merlin\",\"" + zoe + "\"]\n", longer->body);
    const httplib::Result description = Get("/play/characters/Zo%C3%AB.json");
    ASSERT_TRUE(description && description->status == 200);
    const std::string sheet = ReadWholeFile(characters + "/" + zoe + ".1.png");
    const std::string address = zoe + ".1." + ContentHash(sheet) + ".png";
    EXPECT_EQ("{\"files\":{" + Quoted(zoe + ".1.png") + ":" + Quoted(address) + "},",
              description->body.substr(0, description->body.find('}') + 2));
    ExpectKeptForGood("/play/characters/Zo%C3%AB.1." + ContentHash(sheet) + ".png", sheet);
}
