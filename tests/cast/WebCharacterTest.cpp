// Characters for the web: the PNG sheet, how images are laid out on it, the JSON text
// and the tool as the build runs it.
#include "cast/JsonWriter.h"
#include "cast/LanguageTag.h"
#include "cast/PngFile.h"
#include "cast/SheetPlan.h"
#include "cast/SpriteSheet.h"
#include "cast/WaveSound.h"
#include "cast/WebCharacter.h"
#include "cast/WebCharacterName.h"
#include "stage/CharacterVoice.h"
#include "tests/stage/SyntheticCharacter.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// A PNG file taken apart: its chunks by type, each chunk's checksum verified.
std::map<std::string, std::vector<uint8_t>> Chunks(const std::vector<uint8_t>& png)
{
    static const uint8_t signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::map<std::string, std::vector<uint8_t>> chunks;
    EXPECT_TRUE(png.size() >= 8 && std::equal(signature, signature + 8, png.begin()));
    std::vector<std::string> order;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = ReadU32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        EXPECT_LE(at + 12 + length, png.size());
        EXPECT_EQ(crc32(0, png.data() + at + 4, length + 4), ReadU32(png, at + 8 + length)) << type;
        chunks[type].assign(png.begin() + at + 8, png.begin() + at + 8 + length);
        order.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ((std::vector<std::string>{ "IHDR", "PLTE", "tRNS", "IDAT", "IEND" }), order);
    return chunks;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& packed, size_t size)
{
    std::vector<uint8_t> bytes(size + 1);
    uLongf length = uLongf(bytes.size());
    EXPECT_EQ(Z_OK, uncompress(bytes.data(), &length, packed.data(), uLong(packed.size())));
    bytes.resize(length);
    return bytes;
}

// The sheet's part where the image lies, as the image stores it: bottom row first.
bool SheetHolds(const SpriteSheet& sheet, const SpriteRect& place, const CharacterImage& image)
{
    for (int row = 0; row < image.height; ++row)
        for (int column = 0; column < image.width; ++column)
            if (sheet.pixels[size_t(place.y + row) * sheet.width + place.x + column] !=
                image.pixels[(image.height - 1 - row) * image.Stride() + column])
                return false;
    return true;
}

bool Overlap(const SpriteRect& a, const SpriteRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

} // namespace

TEST(WebPng, HoldsThePixelsThePaletteRedFirstAndTheTransparentIndex)
{
    const int width = 5, height = 3;
    std::vector<uint8_t> pixels(width * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 17);
    const std::vector<CharacterColor> palette = { 0x112233, 0xA0B0C0, 0xFF0000 };
    const std::vector<uint8_t> png = EncodeIndexedPng(width, height, pixels, palette, 2);

    auto chunks = Chunks(png);
    const std::vector<uint8_t>& header = chunks["IHDR"];
    ASSERT_EQ(13u, header.size());
    EXPECT_EQ(uint32_t(width), ReadU32(header, 0));
    EXPECT_EQ(uint32_t(height), ReadU32(header, 4));
    EXPECT_EQ((std::vector<uint8_t>{ 8, 3, 0, 0, 0 }), std::vector<uint8_t>(header.begin() + 8, header.end()));

    // Every index a pixel may hold has a colour; those the character lacks are black.
    const std::vector<uint8_t>& colors = chunks["PLTE"];
    ASSERT_EQ(768u, colors.size());
    EXPECT_EQ((std::vector<uint8_t>{ 0x11, 0x22, 0x33, 0xA0, 0xB0, 0xC0, 0xFF, 0, 0, 0, 0, 0 }),
              std::vector<uint8_t>(colors.begin(), colors.begin() + 12));
    EXPECT_EQ((std::vector<uint8_t>{ 0xFF, 0xFF, 0 }), chunks["tRNS"]);

    const std::vector<uint8_t> rows = Inflate(chunks["IDAT"], (width + 1) * height);
    ASSERT_EQ(size_t((width + 1) * height), rows.size());
    for (int row = 0; row < height; ++row) {
        EXPECT_EQ(0, rows[row * (width + 1)]) << "row " << row << " has a filter";
        EXPECT_TRUE(std::equal(pixels.begin() + row * width, pixels.begin() + (row + 1) * width,
                               rows.begin() + row * (width + 1) + 1))
            << "row " << row;
    }
    EXPECT_TRUE(chunks["IEND"].empty());
}

TEST(WebPng, RefusesPixelsThatDoNotMatchTheSize)
{
    EXPECT_THROW(EncodeIndexedPng(4, 4, std::vector<uint8_t>(15), {}, 0), std::invalid_argument);
    EXPECT_THROW(EncodeIndexedPng(0, 4, {}, {}, 0), std::invalid_argument);
}

TEST(WebSpriteSheet, EveryImageLiesWholeOnItsOwnPlaceTheRightWayUp)
{
    const CharacterData character = MakeSyntheticCharacter(SyntheticCharacterShape{ 2, 3, 23, 31, 0, 0 });
    const SpriteSheet sheet = PackSprites(character.images, character.info.transparentIndex);
    ASSERT_EQ(character.images.size(), sheet.places.size());
    ASSERT_EQ(size_t(sheet.width) * sheet.height, sheet.pixels.size());
    size_t placed = 0;
    for (size_t i = 0; i < sheet.places.size(); ++i) {
        const CharacterImage& image = character.images[i];
        if (!image.present) {
            EXPECT_FALSE(sheet.places[i]) << "the empty slot " << i << " has a place";
            continue;
        }
        ASSERT_TRUE(sheet.places[i]) << i;
        const SpriteRect& place = *sheet.places[i];
        EXPECT_EQ(image.width, place.width);
        EXPECT_EQ(image.height, place.height);
        EXPECT_TRUE(place.x >= 0 && place.y >= 0 && place.x + place.width <= sheet.width &&
                    place.y + place.height <= sheet.height)
            << i;
        EXPECT_TRUE(SheetHolds(sheet, place, image)) << "image " << i;
        for (size_t other = 0; other < i; ++other) {
            if (sheet.places[other]) {
                EXPECT_FALSE(Overlap(place, *sheet.places[other])) << i << " and " << other;
            }
        }
        ++placed;
    }
    EXPECT_EQ(23u, placed);
    // About square: neither side more than twice the other.
    EXPECT_LE(sheet.width, 2 * sheet.height);
    EXPECT_LE(sheet.height, 2 * sheet.width);
}

TEST(WebSpriteSheet, ACharacterWithoutImagesGetsOneTransparentPixel)
{
    CharacterImage empty;
    empty.present = false;
    const SpriteSheet sheet = PackSprites({ empty }, 7);
    EXPECT_EQ(1, sheet.height);
    EXPECT_EQ(std::vector<uint8_t>(size_t(sheet.width), 7), sheet.pixels);
    EXPECT_FALSE(sheet.places[0]);
}

TEST(WebJson, CommasKeysAndEscapes)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.BeginArray();
    json.Number(-3);
    json.Null();
    json.Bool(true);
    json.BeginArray();
    json.EndArray();
    json.EndArray();
    json.Key("quote\"back\\slash");
    json.String(std::string("tab\there\nnul\0end", 16));
    json.Key("utf8");
    json.String("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
    json.Key("stray");
    json.String("a\xE9" "b\xC3");
    json.EndObject();
    EXPECT_EQ("{\"a\":[-3,null,true,[]],\"quote\\\"back\\\\slash\":\"tab\\u0009here\\u000anul\\u0000end\","
              "\"utf8\":\"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\",\"stray\":\"a\\u00e9b\\u00c3\"}",
              json.Text());
}

TEST(WebCharacterDescription, FramesBranchesExitsMouthsAndReturn)
{
    CharacterData character;
    character.info.width = 40;
    character.info.height = 30;
    character.info.balloon.lines = 3;
    character.info.balloon.fontName = "Tahoma";
    character.info.balloon.foreground = 0x102030;
    character.info.balloon.fontHeight = -15;
    character.info.states = { { "Showing", { "Show" } } };
    CharacterImage image;
    image.width = 2;
    image.height = 1;
    image.pixels = { 1, 2, 0, 0 };
    CharacterImage empty;
    empty.present = false;
    character.images = { image, empty };

    CharacterFrame first;
    first.images = { { 0, 3, -4 }, { 1, 0, 0 } };
    first.duration = 12;
    first.exitFrame = 1;
    first.branches = { { 0, 40 } };
    first.overlays.resize(1);
    first.overlays[0].mouth = kMouthWide2;
    first.overlays[0].image = 0;
    first.overlays[0].x = 5;
    first.overlays[0].y = 6;
    first.overlays[0].replaceTopImage = true;
    CharacterFrame last;
    last.duration = 0;
    last.exitFrame = -2;
    last.audio = 0;
    CharacterAnimation show;
    show.name = "Show";
    show.transition = kTransitionReturnAnimation;
    show.returnAnimation = "RESTPOSE";
    show.frames = { first, last };
    CharacterAnimation rest;
    rest.name = "RestPose";
    rest.transition = kTransitionExitBranches;
    rest.returnAnimation = "IGNORED";
    character.animations = { show, rest };

    const WebCharacter web = MakeWebCharacter(character, "Tester");
    EXPECT_EQ("{\"name\":\"Tester\",\"width\":40,\"height\":30,"
              "\"balloon\":{\"lines\":3,\"charsPerLine\":32,\"foreground\":\"#102030\",\"background\":\"#ffffe1\","
              "\"border\":\"#000000\",\"font\":\"Tahoma\",\"fontSize\":15,\"fontWeight\":400,\"italic\":false},"
              "\"sheets\":1,\"images\":[[0,0,2,1],null],"
              "\"states\":[{\"name\":\"Showing\",\"animations\":[\"Show\"]}],"
              "\"animations\":[{\"name\":\"Show\",\"return\":\"RESTPOSE\",\"frames\":["
              "{\"duration\":120,\"images\":[[0,3,-4],[1,0,0]],\"exit\":1,\"branches\":[[0,40]],\"mouths\":[[2,0,5,6,1]]},"
              "{\"duration\":0}]},"
              "{\"name\":\"RestPose\",\"frames\":[]}]}\n",
              web.description);
    ASSERT_EQ(1u, web.sheets.size());
    EXPECT_FALSE(web.sheets[0].empty());
}

namespace {

CharacterImage Square(int side)
{
    CharacterImage image;
    image.width = image.height = uint16_t(side);
    image.pixels.assign(image.Stride() * image.height, 1);
    return image;
}

CharacterAnimation Showing(const std::string& name, std::initializer_list<uint32_t> images)
{
    CharacterAnimation animation;
    animation.name = name;
    for (uint32_t image : images) {
        CharacterFrame frame;
        frame.images = { { image, 0, 0 } };
        animation.frames.push_back(frame);
    }
    return animation;
}

} // namespace

TEST(WebCharacterSheets, WhatThePagePlaysOnItsOwnComesFirstTheRestInPartsOfAboutOneSize)
{
    CharacterData character;
    character.info.width = character.info.height = 600;
    character.info.states = { { "SHOWING", { "Show" } }, { "Moving Left", { "Slide" } }, { "IdlingLevel1", { "Blink" } } };
    character.images = { Square(10), Square(10), Square(10), Square(600), Square(10), Square(10), Square(10), Square(20) };
    CharacterAnimation show = Showing("Show", { 1 });
    show.transition = kTransitionReturnAnimation;
    show.returnAnimation = "BACK";
    CharacterAnimation gesture = Showing("Gesture", { 3, 0 });
    // A mouth's image goes with the frame that shows it.
    gesture.frames[0].overlays.resize(1);
    gesture.frames[0].overlays[0].image = 7;
    character.animations = { Showing("RestPose", { 0 }), show, Showing("Gesture", {}), gesture, Showing("Wave", { 4 }),
                             Showing("Back", { 2 }), Showing("Blink", { 0, 5 }), Showing("Slide", { 5 }) };
    character.animations[2].name = "Empty";

    const SheetPlan plan = PlanSheets(character);
    // 0-2 are for the rest pose and showing (with its return), 5 for moving; 3 and its
    // mouth 7 fill a sheet on their own; 4 opens the next; 6 is shown by no frame.
    EXPECT_EQ((std::vector<int>{ 0, 0, 0, 2, 3, 1, -1, 2 }), plan.sheetOf);
    EXPECT_EQ(4, plan.sheetCount);

    const WebCharacter web = MakeWebCharacter(character, "Parts");
    ASSERT_EQ(4u, web.sheets.size());
    EXPECT_NE(std::string::npos, web.description.find("\"sheets\":4,")) << web.description;
    // The big image on its own sheet, named by its index after its place.
    EXPECT_NE(std::string::npos, web.description.find("[0,0,600,600,2]")) << web.description;
    EXPECT_NE(std::string::npos, web.description.find("[0,0,10,10,3]")) << web.description;
    EXPECT_LE(600u, ReadU32(Chunks(web.sheets[2])["IHDR"], 0));

    // Without moving, the later sheets move up one, and 5 goes with the idling.
    character.info.states.erase(character.info.states.begin() + 1);
    EXPECT_EQ((std::vector<int>{ 0, 0, 0, 1, 2, 2, -1, 1 }), PlanSheets(character).sheetOf);
}

namespace {

// A PCM wave of `samples` bytes, with an odd-sized chunk before its format to skip.
std::vector<uint8_t> Wave(uint32_t samples, uint16_t channels = 1, uint16_t bits = 8, uint32_t rate = 11025)
{
    std::vector<uint8_t> bytes;
    auto text = [&](const char* four) { bytes.insert(bytes.end(), four, four + 4); };
    auto u16 = [&](uint32_t v) { bytes.insert(bytes.end(), { uint8_t(v), uint8_t(v >> 8) }); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    text("RIFF");
    u32(4 + 8 + 3 + 1 + 8 + 16 + 8 + samples);
    text("WAVE");
    text("LIST");
    u32(3);
    bytes.insert(bytes.end(), { 'a', 'b', 'c', 0 });
    text("fmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(uint16_t(channels * bits / 8));
    u16(bits);
    text("data");
    u32(samples);
    bytes.insert(bytes.end(), samples, 0x80);
    return bytes;
}

} // namespace

TEST(WebSounds, OnlyWholePcmWaveDataGoesToThePage)
{
    EXPECT_TRUE(IsPlayableWave(Wave(100)));
    EXPECT_TRUE(IsPlayableWave(Wave(100, 2, 16, 44100)));
    std::vector<uint8_t> longer = Wave(100);
    longer.push_back(0);  // bytes past the RIFF chunk are no harm
    EXPECT_TRUE(IsPlayableWave(longer));

    std::vector<std::vector<uint8_t>> broken;
    broken.push_back({});
    broken.push_back(Wave(100, 3));
    broken.push_back(Wave(100, 1, 12));
    broken.push_back(Wave(100, 1, 8, 0));
    broken.push_back(Wave(0));
    std::vector<uint8_t> cut = Wave(100);
    cut.pop_back();  // shorter than its RIFF size says
    broken.push_back(cut);
    std::vector<uint8_t> notWave = Wave(100);
    notWave[8] = 'X';
    broken.push_back(notWave);
    std::vector<uint8_t> compressed = Wave(100);
    compressed[12 + 12 + 8] = 2;  // not PCM
    broken.push_back(compressed);
    std::vector<uint8_t> longData = Wave(100);
    longData[longData.size() - 100 - 4] = 101;  // the data chunk runs past the RIFF chunk
    broken.push_back(longData);
    std::vector<uint8_t> hugeChunk = Wave(100);
    hugeChunk[12 + 4 + 3] = 0xFF;  // a chunk size near 4 GB
    broken.push_back(hugeChunk);
    std::vector<uint8_t> noFormat = Wave(100);
    std::copy_n("junk", 4, noFormat.begin() + 12 + 12);
    broken.push_back(noFormat);
    for (size_t i = 0; i < broken.size(); ++i)
        EXPECT_FALSE(IsPlayableWave(broken[i])) << i;
}

TEST(WebSounds, FramesNameTheirSoundWhereItPlaysAndTheOthersAreLeftOut)
{
    CharacterData character;
    character.info.width = character.info.height = 10;
    character.images = { Square(10) };
    character.audio = { Wave(10), { 'n', 'o' }, Wave(20) };
    CharacterAnimation animation = Showing("Bang", { 0, 0, 0, 0 });
    animation.frames[0].audio = 2;
    animation.frames[1].audio = 1;
    animation.frames[2].audio = 0;
    character.animations = { animation };
    const WebCharacter web = MakeWebCharacter(character, "Loud");
    EXPECT_NE(std::string::npos, web.description.find("\"frames\":[{\"duration\":100,\"images\":[[0,0,0]],\"sound\":2},"
                                                       "{\"duration\":100,\"images\":[[0,0,0]]},"
                                                       "{\"duration\":100,\"images\":[[0,0,0]],\"sound\":0},"
                                                       "{\"duration\":100,\"images\":[[0,0,0]]}]"))
        << web.description;
    ASSERT_EQ(3u, web.sounds.size());
    EXPECT_EQ(character.audio[0], web.sounds[0]);
    EXPECT_TRUE(web.sounds[1].empty());
    EXPECT_EQ(character.audio[2], web.sounds[2]);
}

// Speed and pitch go next to the normal voice the stage also goes by (RelativeVoiceSpeed),
// so that a page speaks a character as fast and as high as the program does.
TEST(WebVoice, SpeedPitchLanguageAndGenderAsTheFileSetsThem)
{
    CharacterData character;
    character.info.width = character.info.height = 10;
    auto described = [&](const CharacterVoice& voice) {
        character.info.voice = EncodeCharacterVoice(voice);
        const std::string text = MakeWebCharacter(character, "Voiced").description;
        const size_t start = text.find("\"voice\":");
        return start == std::string::npos ? std::string() : text.substr(start, text.find('}', start) + 1 - start);
    };
    CharacterVoice voice;
    voice.speed = 150;
    voice.pitch = 0;  // the engine's own
    voice.described = true;
    voice.languageId = 0x0407;
    voice.gender = kVoiceGenderMale;
    EXPECT_EQ("\"voice\":{\"rate\":1,\"language\":\"de-DE\",\"gender\":\"male\"}", described(voice));
    voice.speed = 100;
    voice.pitch = 210;
    voice.languageId = 0x007F;  // no language of its own
    voice.gender = 7;
    EXPECT_EQ("\"voice\":{\"rate\":0.667,\"pitch\":1.75}", described(voice)) << "a man's or an unnamed voice";
    voice.gender = kVoiceGenderFemale;
    EXPECT_EQ("\"voice\":{\"rate\":0.667,\"pitch\":1.05,\"gender\":\"female\"}", described(voice)) << "a woman's";
    voice.described = false;
    voice.languageId = 0x0409;
    EXPECT_EQ("\"voice\":{\"rate\":0.667,\"pitch\":1.75}", described(voice)) << "kind of voice not described";

    // A block cut short, and none at all, give no voice.
    character.info.voice.resize(20);
    EXPECT_EQ(std::string::npos, MakeWebCharacter(character, "V").description.find("\"voice\""));
    character.info.voice.clear();
    EXPECT_EQ(std::string::npos, MakeWebCharacter(character, "V").description.find("\"voice\""));

    EXPECT_EQ("en-GB", LanguageTag(0x0809));
    EXPECT_EQ("es", LanguageTag(0x2C0A)) << "a variety not in the table, by its language";
    EXPECT_EQ("", LanguageTag(0x007F));
}

TEST(WebCharacterName, OnlyNamesThatAreSafeInAFileNameAndAnAddress)
{
    for (const char* good : { "Merlin", "Mr Bean", "robot-2", "x_y", "9lives" })
        EXPECT_TRUE(IsWebCharacterName(good)) << good;
    for (const char* bad : { "", " lead", "-x", "../etc", "a/b", "a\\b", "a.b", "a%2e", "<b>", "a\nb", "a\"b", "a:b" })
        EXPECT_FALSE(IsWebCharacterName(bad)) << bad;
    EXPECT_TRUE(IsWebCharacterName(std::string(64, 'a')));
    EXPECT_FALSE(IsWebCharacterName(std::string(65, 'a')));
}

// Greetings name characters in Windows-1252: its letters are letters of web names too,
// written in UTF-8.
TEST(WebCharacterName, TheLettersOfTheGreetingsCodePageInUtf8)
{
    for (const char* good : { "Zo\xC3\xAB", "caf\xC3\xA9", "\xC3\x89lodie", "\xC3\x86r\xC3\xB8", "\xC5\xA0\xC3\xA1rka",
                              "\xC5\x92uvre", "\xC5\xB8 \xC5\xBE\xC3\xBF", "Gro\xC3\x9F-\xC3\xBC_1" })
        EXPECT_TRUE(IsWebCharacterName(good)) << good;
    const char* bad[] = {
        "Zo\xEB",              // Windows-1252 itself, not UTF-8
        "a\xC3\x97" "b",         // the sign of multiplication
        "\xC2\xA0x",            // a blank that is no blank
        "\xE6\x97\xA5",         // a letter Windows-1252 lacks
        "\xC3\xAB\xC3",         // cut short
        "a\xC0\xAE",            // "." in too many bytes
        "a\xE0\x80\xAF" "b",     // "/" in too many bytes
        "a\xED\xA0\x80",        // a surrogate
        "a\xC3\xAB\x80",        // a stray continuation byte
    };
    for (const char* name : bad)
        EXPECT_FALSE(IsWebCharacterName(name)) << name;
    EXPECT_FALSE(IsWebCharacterName(std::string("a\0b", 3)));
    std::string longest;
    for (int i = 0; i < 64; ++i)
        longest += "\xC3\xAB";
    EXPECT_TRUE(IsWebCharacterName(longest)) << "64 letters of two bytes each";
    EXPECT_FALSE(IsWebCharacterName(longest + "e"));
}

TEST(WebCharacterName, AFilesNameFromWindowsIsTakenInItsCodePage)
{
    EXPECT_EQ("Zo\xC3\xAB", WebCharacterNameOfFile("Zo\xC3\xAB"));
    EXPECT_EQ("Zo\xC3\xAB", WebCharacterNameOfFile("Zo\xEB"));
    EXPECT_EQ("\xC5\xA0\xC5\x92\xC5\xB8", WebCharacterNameOfFile("\x8A\x8C\x9F"));
    EXPECT_EQ("Merlin", WebCharacterNameOfFile("Merlin"));
    for (const char* bad : { "", "Zo\xEB.x", "\x80uro", "a\x85", "a\xD7" "b", "..", "a/b" })
        EXPECT_EQ("", WebCharacterNameOfFile(bad)) << bad;
}

namespace {

class WebToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pqweb-test-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
    }

    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    int Run(const std::string& arguments)
    {
        const std::string command = std::string(PQWEB) + " " + arguments + " >/dev/null 2>" + folder + "/errors";
        const int status = std::system(command.c_str());
        std::ifstream in(folder + "/errors");
        std::stringstream said;
        said << in.rdbuf();
        errors = said.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool Exists(const std::string& name) const { return access((folder + "/" + name).c_str(), F_OK) == 0; }

    std::string folder;
    std::string errors;
};

} // namespace

TEST_F(WebToolTest, WritesTheSheetAndDescriptionOfEachFile)
{
    const std::string cast = CAST_DIR;
    ASSERT_EQ(0, Run(folder + " " + cast + "/Merlin.ACS " + cast + "/Peedy.ACS")) << errors;
    for (const char* name : { "Merlin.png", "Merlin.1.png", "Merlin.json", "Peedy.png", "Peedy.json" })
        EXPECT_TRUE(Exists(name)) << name;
    std::ifstream description(folder + "/Merlin.json");
    std::string start(9, '\0');
    description.read(&start[0], 9);
    EXPECT_EQ("{\"name\":\"", start);
}

// The Windows stage plays a character named "Zoë"; so does the page.
TEST_F(WebToolTest, NamesWithLettersBeyondAsciiGoOnTheWebInUtf8)
{
    const std::string cast = CAST_DIR;
    ASSERT_EQ(0, std::system(("cp '" + cast + "/Robby.ACS' '" + folder + "/Zo\xC3\xAB.ACS' && cp '" + cast +
                              "/Peedy.ACS' '" + folder + "/\xC9lo\xEFse.ACS'").c_str()));
    ASSERT_EQ(0, Run(folder + " '" + folder + "/Zo\xC3\xAB.ACS' '" + folder + "/\xC9lo\xEFse.ACS'")) << errors;
    for (const char* name : { "Zo\xC3\xAB.png", "Zo\xC3\xAB.json", "\xC3\x89lo\xC3\xAFse.png", "\xC3\x89lo\xC3\xAFse.json" })
        EXPECT_TRUE(Exists(name)) << name;
    std::ifstream description(folder + "/Zo\xC3\xAB.json");
    std::string start(14, '\0');
    description.read(&start[0], 14);
    EXPECT_EQ("{\"name\":\"Zo\xC3\xAB\"", start);
}

TEST_F(WebToolTest, SaysWhichFilesItCannotTurnAndTurnsTheOthers)
{
    std::ofstream(folder + "/Broken.ACS") << "not a character";
    std::ofstream(folder + "/bad.name.ACS") << "whatever";
    std::ofstream(folder + "/\xE6\x97\xA5.ACS") << "whatever";
    const std::string cast = CAST_DIR;
    EXPECT_EQ(1, Run(folder + " " + folder + "/Broken.ACS " + folder + "/bad.name.ACS '" + folder + "/\xE6\x97\xA5.ACS' " +
                     cast + "/Robby.ACS"));
    EXPECT_NE(std::string::npos, errors.find("Broken.ACS")) << errors;
    EXPECT_NE(std::string::npos, errors.find("bad.name.ACS")) << errors;
    EXPECT_NE(std::string::npos, errors.find("\xE6\x97\xA5.ACS")) << errors;
    EXPECT_FALSE(Exists("Broken.json"));
    EXPECT_TRUE(Exists("Robby.json"));
    EXPECT_EQ(2, Run(folder));
    EXPECT_NE(std::string::npos, errors.find("usage")) << errors;
}
