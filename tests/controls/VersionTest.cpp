#include "controls/VersionInfo.h"
#include "controls/VersionNumber.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

std::string Parts(const VersionNumber& v)
{
    return std::to_string(v.GetMajor()) + "." + std::to_string(v.GetMinor()) + "." + std::to_string(v.GetBuild()) +
           "." + std::to_string(v.GetRevision());
}

std::string ProgramPath()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

std::string BesideProgram(const std::string& name)
{
    const std::string program = ProgramPath();
    return program.substr(0, program.rfind('\\') + 1) + name;
}

} // namespace

TEST(VersionNumber, ParsesDottedTextAsTheProgramWritesIt)
{
    struct Case {
        const char* text;
        const char* parts;
        bool set;
    };
    const Case cases[] = {
        { "1.4", "1.4.0.0", true },
        { "", "0.0.0.0", false },
        { "...", "0.0.0.0", false },
        { "1..4", "1.4.0.0", true },
        { "1.0.4.0.9", "1.0.4.0", true },
        { " 2.3b.x.7", "2.3.0.7", true },
        // Parts keep their low 16 bits; a sign is read, and an endless number is clamped first.
        { "70000.-1", "4464.65535.0.0", true },
        { "99999999999999999999.1", "65535.1.0.0", true },
    };
    for (const Case& c : cases) {
        VersionNumber v;
        v.SetMajor(9);
        v.ParseVersion(c.text);
        EXPECT_EQ(c.parts, Parts(v)) << "\"" << c.text << "\"";
        EXPECT_EQ(c.set, v.IsSet()) << "\"" << c.text << "\"";
    }
}

TEST(VersionNumber, ComparesPartByPartAndNamesThePartThatIsNewer)
{
    struct Case {
        const char* mine;
        const char* other;
        int result;
    };
    const Case cases[] = {
        { "1.4.0.0", "1.4.0.0", 1 }, { "1.5.0.0", "1.4.9.9", 4 }, { "1.4.9.9", "1.5.0.0", 0 },
        { "2.0.0.0", "1.9.0.0", 5 }, { "1.0.5", "1.0.4.9", 3 },   { "1.0.4.1", "1.0.4.0", 2 },
        { "1.0.4", "1.0.4.0", 1 },   { "0.9.9", "1.0.4.0", 0 },   { "65535", "1", 5 },
        { "1.0.4.0", "1.0.4.65535", 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, VersionNumber(c.mine).CompareVersion(VersionNumber(c.other))) << c.mine << " vs " << c.other;
}

TEST(VersionNumber, SettersMarkTheNumberSetAndLeaveTheTextAlone)
{
    VersionNumber v;
    v.text = "kept";
    EXPECT_FALSE(v.IsSet());
    v.SetRevision(3);
    EXPECT_TRUE(v.IsSet());
    EXPECT_EQ("0.0.0.3", Parts(v));
    v.ParseVersion("");
    EXPECT_FALSE(v.IsSet());
    EXPECT_EQ("kept", v.text);
}

TEST(VersionInfo, ReadsTheProgramsOwnVersionResource)
{
    const VersionInfo info(ProgramPath());
    VersionNumber v;
    ASSERT_TRUE(info.GetFixedFileVersion(v));
    EXPECT_EQ("1.0.4.0", Parts(v));
    EXPECT_TRUE(v.IsSet());
    // Translation 0x0409 with code page 1200, written as the resource names it.
    EXPECT_EQ("0409", info.GetVersionLanguage());
    EXPECT_EQ("04b0", info.GetCodePage());
    EXPECT_EQ("\\StringFileInfo\\040904b0", info.GetStringPrefix());
}

TEST(VersionInfo, AFileWithoutVersionResourceHasNone)
{
    TempFolder folder;
    folder.Write("notes.txt", "no resources here");
    for (const std::string& path : { folder.File("notes.txt"), folder.File("missing.exe") }) {
        const VersionInfo info(path);
        VersionNumber v("7.7");
        EXPECT_FALSE(info.GetFixedFileVersion(v)) << path;
        EXPECT_EQ("7.7.0.0", Parts(v)) << "left as it was";
        EXPECT_EQ("", info.GetVersionLanguage());
    }
}

TEST(VersionInfo, TakesTheOneTranslationAndFallsBackWhenThereAreSeveral)
{
    const VersionInfo one(BesideProgram("VersionOneTranslation.dll"));
    VersionNumber v;
    ASSERT_TRUE(one.GetFixedFileVersion(v));
    EXPECT_EQ("2.5.1.7", Parts(v));
    EXPECT_EQ("0409", one.GetVersionLanguage());
    EXPECT_EQ("04e4", one.GetCodePage());

    const VersionInfo several(BesideProgram("VersionTwoTranslations.dll"));
    ASSERT_TRUE(several.GetFixedFileVersion(v));
    EXPECT_EQ("3.0.0.1", Parts(v));
    EXPECT_EQ("0409", several.GetVersionLanguage());
    EXPECT_EQ("04E4", several.GetCodePage());
    EXPECT_EQ("\\StringFileInfo\\040904E4", several.GetStringPrefix());
}
