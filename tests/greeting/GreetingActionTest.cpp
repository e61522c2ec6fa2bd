#include "cast/JsonWriter.h"
#include "greeting/GreetingAction.h"
#include "greeting/Vocabulary.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <fstream>

namespace {

struct Fields {
    std::string character, command, argument;
};

// Lines whose decoding shows the codec's quirks, with the fields they decode to.
const struct {
    const char* line;
    Fields fields;
} kDecodeCases[] = {
    { "Merlin,Say,\"Hello, world\"", { "Merlin", "Say", "Hello, world" } },
    { "Merlin,Say,\"He said \"\"hi\"\", then left\"", { "Merlin", "Say", "He said \"hi\", then left" } },
    { "Merlin,Say,a\"\"b", { "Merlin", "Say", "a\"b" } },
    { "a\"b", { "ab", "", "" } },
    { "\"abc\"def,x", { "abcdef", "x", "" } },
    { "\"x\"\",y\",z", { "x\",y", "z", "" } },
    { "Merlin,Show", { "Merlin", "Show", "" } },
    { "", { "", "", "" } },
    { ",Say,Hello", { "", "Say", "Hello" } },
    { "a,b,c,d,e", { "a", "b", "c" } },
    { "\"open, never closed", { "open, never closed", "", "" } },
    { ",,", { "", "", "" } },
};

// Fields that must come back unchanged from any place on a line.
const std::string kSamples[] = { "", "plain", "a,b", ",", "\"", "\"\"", "\"x\"", "a\"b", "x,\"",
                                 "\"a,b\"", "trailing\"", " spaced , out ", "\xE9t\xE9", "\"start,",
                                 std::string("nul\0inside", 10) };

// Actions and the rows the action list shows for them.
const struct {
    Fields fields;
    const char* description;
} kDescriptionCases[] = {
    { { "Merlin", "Show", "Animate" }, "Merlin shows up  (Animate)" },
    { { "Merlin", "Hide", "Don't Animate" }, "Merlin hides  (Don't Animate)" },
    { { "Merlin", "Hide", "Animate" }, "Merlin hides  (Animate)" },
    { { "Merlin", "Say", "Happy birthday!" }, "Merlin says: \"Happy birthday!\"" },
    { { "Peedy", "Animate", "Greet" }, "Peedy performs the GREET animation" },
    { { "Genie", "Move", "Top Left" }, "Genie moves to TOP LEFT" },
    { { "Merlin", "say", "Hello" }, "Undefined Action." },
    { { "", "", "" }, "Undefined Action." },
    { { "Merlin", "Say", "<img src=x onerror=alert(1)>" }, "Merlin says: \"<img src=x onerror=alert(1)>\"" },
};

Fields Decode(const std::string& line)
{
    GreetingAction action;
    EXPECT_TRUE(action.SetLine(line));
    return { action.GetCharacter(), action.GetCommand(), action.GetArgument() };
}

std::string Encode(const std::string& character, const std::string& command, const std::string& argument)
{
    return GreetingAction(character, command, argument).GetLine();
}

void ExpectFields(const Fields& expected, const std::string& line)
{
    const Fields got = Decode(line);
    EXPECT_EQ(expected.character, got.character) << line;
    EXPECT_EQ(expected.command, got.command) << line;
    EXPECT_EQ(expected.argument, got.argument) << line;
}

} // namespace

TEST(GreetingActionCodec, DecodesFieldsWithTheirQuirks)
{
    for (const auto& decoded : kDecodeCases)
        ExpectFields(decoded.fields, decoded.line);
}

TEST(GreetingActionCodec, EncodesFields)
{
    EXPECT_EQ("Merlin,Say,\"Hello, world\"", Encode("Merlin", "Say", "Hello, world"));
    EXPECT_EQ("Merlin,Say,\"He said \"\"hi\"\", then left\"", Encode("Merlin", "Say", "He said \"hi\", then left"));
    EXPECT_EQ("Merlin,Say,a\"\"b", Encode("Merlin", "Say", "a\"b"));
    EXPECT_EQ(",Say,Hello", Encode("", "Say", "Hello"));
    EXPECT_EQ(",,", Encode("", "", ""));
    EXPECT_EQ("Merlin,Say,", Encode("Merlin", "Say", ""));
    // Quoted when it begins with a quote, or the reader would drop the quotes.
    EXPECT_EQ("Merlin,Say,\"\"\"Hi\"\" he said\"", Encode("Merlin", "Say", "\"Hi\" he said"));
    // One record is one line.
    EXPECT_EQ("Merlin,Say,two  lines and one", Encode("Merlin", "Say", "two\r\nlines\rand\none"));
}

TEST(GreetingActionCodec, EveryFieldComesBackUnchanged)
{
    for (const std::string& a : kSamples) {
        for (const std::string& b : kSamples) {
            const std::string line = Encode(a, b, a + b);
            const Fields got = Decode(line);
            EXPECT_EQ(a, got.character) << line;
            EXPECT_EQ(b, got.command) << line;
            EXPECT_EQ(a + b, got.argument) << line;
        }
    }
}

TEST(GreetingActionCodec, LineFollowsTheFieldsAndEachDecodeStartsAfresh)
{
    GreetingAction action;
    action.SetLine("Merlin,Say,one");
    action.SetLine("Genie,Move,Center");
    EXPECT_EQ("Genie", action.GetCharacter());
    EXPECT_EQ("Center", action.GetArgument());
    action.SetArgument("Top, Left");
    EXPECT_EQ("Genie,Move,\"Top, Left\"", action.GetLine());
}

TEST(GreetingActionDescription, ByCommand)
{
    for (const auto& described : kDescriptionCases) {
        const Fields& fields = described.fields;
        EXPECT_EQ(described.description,
                  GreetingAction(fields.character, fields.command, fields.argument).GetDescription());
    }
}

TEST(GreetingActionDescription, ArgumentKeepsItsCase)
{
    GreetingAction action("Peedy", "Animate", "Greet");
    action.GetDescription();
    EXPECT_EQ("Greet", action.GetArgument());
    EXPECT_EQ("Peedy,Animate,Greet", action.GetLine());
    EXPECT_EQ("Merlin says: \"quiet\"", GreetingAction("Merlin", "Say", "quiet").GetDescription());
}

TEST(GreetingActionDescription, UpperCaseFollowsTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs code page 1252, this system uses " << GetACP();
    EXPECT_EQ("Genie moves to \xC9T\xC9", GreetingAction("Genie", "Move", "\xE9t\xE9").GetDescription());
}

TEST(Vocabulary, FillingTwiceDoesNotRepeatEntries)
{
    FillVocabulary();
    FillVocabulary();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
    // The names are what greeting files hold: a misspelt position would play as "Center".
    using Names = std::vector<std::string>;
    EXPECT_EQ((Names{ "Show", "Hide", "Say", "Animate", "Move" }), CommandNames);
    EXPECT_EQ((Names{ "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy", "Genie", "Robby", "Yulebard", "Crookbeak" }),
              CharacterNames);
    EXPECT_EQ((Names{ "Top Left", "Top Center", "Top Right", "Middle Left", "Center", "Middle Right", "Bottom Left",
                      "Bottom Center", "Bottom Right" }),
              PositionNames);
    EXPECT_EQ("(None)", std::string(NoAnimation));
}

namespace {

// Text of the system's 8-bit code page as UTF-8, for the JSON file.
std::string Utf8(const std::string& text)
{
    if (text.empty())
        return text;
    const int count = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], count);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

void WriteVector(JsonWriter& json, const std::string& line)
{
    GreetingAction action;
    action.SetLine(line);
    json.BeginObject();
    for (const auto& field : { std::make_pair("line", line), std::make_pair("character", action.GetCharacter()),
                               std::make_pair("command", action.GetCommand()),
                               std::make_pair("argument", action.GetArgument()),
                               std::make_pair("description", action.GetDescription()) }) {
        json.Key(field.first);
        json.String(Utf8(field.second));
    }
    json.EndObject();
}

} // namespace

// The web player decodes greetings with a decoder of its own: its tests read the lines
// above, with what this codec makes of them, from codec-vectors.json beside this program.
TEST(GreetingActionCodec, WritesItsCasesForTheWebPlayer)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("codePage");
    json.Number(GetACP());
    json.Key("vectors");
    json.BeginArray();
    for (const auto& decoded : kDecodeCases)
        WriteVector(json, decoded.line);
    for (const std::string& a : kSamples)
        for (const std::string& b : kSamples)
            WriteVector(json, Encode(a, b, a + b));
    for (const auto& described : kDescriptionCases)
        WriteVector(json, Encode(described.fields.character, described.fields.command, described.fields.argument));
    for (const char* upper : { "\xE9t\xE9", "stra\xDF" "e", "\xFF\x9A\xB5", "mixed Case 1" }) {
        WriteVector(json, Encode("Genie", "Move", upper));
        WriteVector(json, Encode("Peedy", "Animate", upper));
    }
    json.EndArray();
    json.EndObject();

    std::ofstream file("codec-vectors.json", std::ios::binary | std::ios::trunc);
    file << json.Text() << "\n";
    ASSERT_TRUE(file.flush()) << "codec-vectors.json could not be written";
}
