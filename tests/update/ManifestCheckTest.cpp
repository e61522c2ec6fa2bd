#include "UpdateTestSupport.h"
#include "support/ProxySetting.h"
#include "support/StandInControl.h"
#include "update/FetchUpdateInfo.h"
#include "update/UpdateManifest.h"
#include <gtest/gtest.h>

namespace {

const char News[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\r\n@@Version 1.0.5\\par\r\nFaster.\\par\r\n}\r\n";

UpdateManifest Read(const std::string& text)
{
    UpdateManifest manifest;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        manifest.ReadLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return manifest;
}

// The check against the stand-in, as the program's own check runs it, with the
// program at version 1.0.4.0.
class ManifestCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        standIn.PublishUpdateFile("news.rtf", News);
        info.programVersion = VersionNumber("1.0.4.0");
    }

    CheckResult Check(const std::string& manifest, const std::string& address = UpdateAddress("ver.txt"))
    {
        standIn.PublishUpdateFile("ver.txt", manifest);
        return CheckForUpdate("Parlacard", address, info);
    }

    StandInControl standIn;
    ProxySetting proxy{ standIn.Port() };
    UpdateInfo info;
};

} // namespace

TEST(UpdateManifest, KeysIgnoreCaseButNotTheirBlanksAndTheLastLineOfAKeyWins)
{
    const UpdateManifest manifest = Read("latest version : 1.0.5\r\n"
                                         "File  Size: 3 MB\r\n"
                                         "FILE SIZE: 2 MB\r\n"
                                         "FILE SIZE:\t 1 MB \r\n"
                                         "no colon on this line\r\n"
                                         "COLOUR: blue\r\n"
                                         "FILE URL: http://host:8080/a:b/Setup.exe\r\n");
    EXPECT_EQ("1.0.5", manifest.latestVersion);
    EXPECT_EQ("1 MB", manifest.fileSize);
    EXPECT_EQ("http://host:8080/a:b/Setup.exe", manifest.fileUrl);
    EXPECT_FALSE(manifest.HasAllValues());
}

TEST(UpdateManifest, EveryOneOfTheNineValuesIsRequiredAndTheChecksumIsNot)
{
    const std::string whole = Manifest("1.0.5");
    EXPECT_TRUE(Read(whole).HasAllValues());
    EXPECT_TRUE(Read(whole).HasSoundValues());
    size_t start = 0;
    for (int line = 0; line < 9; ++line) {
        const size_t end = whole.find('\n', start) + 1;
        const std::string without = whole.substr(0, start) + whole.substr(end);
        EXPECT_FALSE(Read(without).HasAllValues()) << "without line " << line;
        const std::string key = whole.substr(start, whole.find(':', start) + 1 - start);
        EXPECT_FALSE(Read(without + key + "   \r\n").HasAllValues()) << "empty " << key;
        start = end;
    }
}

TEST(UpdateManifest, OnlyWebAddressesAndPlainFileNamesAreActedOn)
{
    EXPECT_EQ("Setup.exe", DownloadFileName("http://www.parlacard.example/update/Setup.exe"));
    EXPECT_EQ("Setup.exe", DownloadFileName("HTTPS://host/a/Setup.exe?from=menu#top"));
    for (const char* unsafe : { "http://host/", "http://host", "http://host/..", "http://host/a/.", "http://host/CON",
                                "http://host/lpt1.txt", "http://host/a\\..\\..\\x.exe\\", "http://host/x.exe.",
                                "http://host/a:b", "http://host/a%00b\x01", "http://host/Setup 2.exe", "file:///C:/x.exe", "ftp://host/x.exe",
                                "javascript:alert(1)//x.exe", "http:///x.exe" }) {
        EXPECT_EQ("", DownloadFileName(unsafe)) << unsafe;
    }
    EXPECT_EQ("x.exe", DownloadFileName("http://host/a\\..\\..\\x.exe"));
    EXPECT_TRUE(IsWebAddress("https://www.parlacard.example/news.rtf"));
    EXPECT_FALSE(IsWebAddress("http://host/" + std::string(1000, 'a')));
    EXPECT_FALSE(IsWebAddress("mailto:someone@example.com"));

    UpdateManifest manifest = Read(Manifest("1.0.5"));
    manifest.fileSha256 = "abc";
    EXPECT_FALSE(manifest.HasSoundValues());
    manifest.fileSha256 = std::string(64, 'F');
    EXPECT_TRUE(manifest.HasSoundValues());
    manifest.descriptionUrl = "file:///C:/windows/win.ini";
    EXPECT_FALSE(manifest.HasSoundValues());
}

TEST_F(ManifestCheck, ReadsTheManifestAndTheNewsFromTheSite)
{
    ASSERT_EQ(CheckComplete, Check(Manifest("1.0.5")));
    EXPECT_TRUE(info.updateAvailable);
    EXPECT_EQ("1.0.5 (test)", info.manifest.versionToDisplay);
    EXPECT_EQ(UpdateAddress("ParlacardSetup.exe"), info.manifest.fileUrl);
    EXPECT_EQ("Mar 4, 2026", info.manifest.newsDate);
    EXPECT_EQ("New in this update:\\n", info.manifest.newChangesText);
    // Each line of the document followed by a line feed.
    EXPECT_EQ("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n@@Version 1.0.5\\par\nFaster.\\par\n}\n", info.newsText);

    // Never from a cache, and under the program's name.
    const RecordedRequest request = standIn.LastRequest();
    EXPECT_NE(std::string::npos, request.requestLine.find("/update/news.rtf")) << request.requestLine;
    EXPECT_EQ("no-cache", request.Header("Pragma"));
    EXPECT_EQ("Parlacard", request.Header("User-Agent"));
}

TEST_F(ManifestCheck, AnUpdateIsAVersionStrictlyNewerThanTheProgram)
{
    for (const char* newer : { "1.0.4.1", "1.1", "2" }) {
        ASSERT_EQ(CheckComplete, Check(Manifest(newer))) << newer;
        EXPECT_TRUE(info.updateAvailable) << newer;
    }
    for (const char* notNewer : { "1.0.4", "1.0.4.0", "0.9.9", "1.0.3.99" }) {
        ASSERT_EQ(CheckComplete, Check(Manifest(notNewer))) << notNewer;
        EXPECT_FALSE(info.updateAvailable) << notNewer;
    }
}

TEST_F(ManifestCheck, KeysInAnyCaseAndAddressesWithColonsAreRead)
{
    // Every key in lower case, with blanks before it.
    std::string lower;
    bool inKey = true;
    for (char c : Manifest("1.0.5")) {
        lower += inKey && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        if (c == ':' || c == '\n')
            inKey = c == '\n';
        if (c == '\n')
            lower += "  ";
    }
    const std::string withPort = "FILE URL: http://www.parlacard.example:80/update/ParlacardSetup.exe\r\n";
    ASSERT_EQ(CheckComplete, Check(lower + withPort));
    EXPECT_EQ("http://www.parlacard.example:80/update/ParlacardSetup.exe", info.manifest.fileUrl);
    EXPECT_EQ("1.0.5 (test)", info.manifest.versionToDisplay);
    EXPECT_EQ("Mar 4, 2026", info.manifest.newsDate);
    EXPECT_TRUE(info.updateAvailable);
}

TEST_F(ManifestCheck, ABrokenOrHostileManifestFailsTheCheck)
{
    struct Case {
        const char* name;
        std::string manifest;
    };
    const std::string whole = Manifest("1.0.5");
    const size_t oldChanges = whole.find("OLD CHANGES TEXT");
    const Case cases[] = {
        { "missing OLD CHANGES TEXT", whole.substr(0, oldChanges) },
        { "two blanks inside a key", Manifest("1.0.5").replace(whole.find("FILE SIZE"), 9, "FILE  SIZE") },
        { "no file name in the address", Manifest("1.0.5", "") },
        { "a news address that is no web address",
          whole + "DESCRIPTION URL: file:///C:/windows/win.ini\r\n" },
        { "a checksum that is no checksum", whole + "FILE SHA256: 1234\r\n" },
        { "more than any manifest holds", whole + std::string(70 * 1024, 'x') + "\r\n" },
        { "one line longer than any manifest", whole + "NEWS DATE: " + std::string(70 * 1024, '9') },
        { "nothing", "" },
        { "a negative version", Manifest("-1.0.0.0") },
        { "a version part above 16 bits", Manifest("65536.0.0.0") },
        { "a version part that is no number", Manifest("1.0.x") },
        { "a version of five parts", Manifest("1.0.0.0.1") },
        { "a version with an empty part", Manifest("1..5") },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckFailed, Check(c.manifest)) << c.name;
}

TEST(UpdateManifest, TheLatestVersionIsOneToFourPartsOfDigitsWithinSixteenBits)
{
    UpdateManifest manifest = Read(Manifest("1.0.5"));
    for (const char* version : { "1", "1.0.5", "0.0.0.0", "65535.65535.65535.65535", "00001.2" }) {
        manifest.latestVersion = version;
        EXPECT_TRUE(manifest.HasSoundValues()) << version;
    }
    for (const char* version : { "-1.0.0.0", "1.-1", "65536", "99999999999", "1.0.5b", "+1", " 1", "1.", ".1",
                                 "1.2.3.4.5", "v1.2", "0x10" }) {
        manifest.latestVersion = version;
        EXPECT_FALSE(manifest.HasSoundValues()) << version;
    }
}

// A loop of redirects once ran for ever, tens of thousands of requests.
TEST_F(ManifestCheck, ARedirectLoopOrAChainTooLongFailsTheCheck)
{
    const std::string manifest = Manifest("1.0.5");
    standIn.SetUpdateReply("ver.txt", "kind=redirect&to=ver.txt");
    EXPECT_EQ(CheckFailed, Check(manifest));
    standIn.SetUpdateReply("ver.txt", "kind=serve");
    // A chain of five redirects is followed; six are too many.
    const char* const chain[] = { "r1.txt", "r2.txt", "r3.txt", "r4.txt", "r5.txt", "r6.txt" };
    for (size_t i = 0; i < 6; ++i) {
        standIn.PublishUpdateFile(chain[i], "ignored");
        standIn.SetUpdateReply(chain[i], std::string("kind=redirect&to=") + (i == 0 ? "ver.txt" : chain[i - 1]));
    }
    EXPECT_EQ(CheckComplete, Check(manifest, UpdateAddress("r5.txt")));
    EXPECT_EQ(CheckFailed, Check(manifest, UpdateAddress("r6.txt")));
}

TEST_F(ManifestCheck, TheFinalReplyCountsAndItsStatusMustBeASuccess)
{
    const std::string manifest = Manifest("1.0.5");
    standIn.PublishUpdateFile("moved.txt", "ignored");
    standIn.SetUpdateReply("moved.txt", "kind=redirect&to=ver.txt");
    EXPECT_EQ(CheckComplete, Check(manifest, UpdateAddress("moved.txt")));
    EXPECT_TRUE(info.updateAvailable);

    // A page of key lines is still no manifest when it comes with 404.
    standIn.SetUpdateReply("ver.txt", "kind=notfound");
    EXPECT_EQ(CheckFailed, Check(manifest));
    EXPECT_EQ(CheckFailed, Check(manifest, UpdateAddress("absent.txt")));
}

TEST_F(ManifestCheck, ACutReplyOrAMissingNewsDocumentFailsTheCheck)
{
    const std::string manifest = Manifest("1.0.5");
    standIn.SetUpdateReply("ver.txt", "kind=cut");
    EXPECT_EQ(CheckFailed, Check(manifest));
    standIn.SetUpdateReply("ver.txt", "kind=serve");
    standIn.SetUpdateReply("news.rtf", "kind=cut");
    EXPECT_EQ(CheckFailed, Check(manifest));
    standIn.SetUpdateReply("news.rtf", "kind=notfound");
    EXPECT_EQ(CheckFailed, Check(manifest));
}

TEST_F(ManifestCheck, NoConnectionASilentSiteOrAnOddAddressFailsTheCheck)
{
    // Silent before the reply, and silent after its first 1000 bytes for ten seconds.
    standIn.PublishUpdateFile("ver.txt", std::string(1500, '\n') + Manifest("1.0.5"));
    standIn.SetUpdateReply("ver.txt", "kind=serve&delay=5000");
    EXPECT_EQ(CheckFailed, CheckForUpdate("Parlacard", UpdateAddress("ver.txt"), info, 1000));
    standIn.SetUpdateReply("ver.txt", "kind=serve&rate=100");
    EXPECT_EQ(CheckFailed, CheckForUpdate("Parlacard", UpdateAddress("ver.txt"), info, 1000));
    standIn.SetUpdateReply("ver.txt", "kind=serve");

    EXPECT_EQ(CheckFailed, Check(Manifest("1.0.5"), "C:\\update\\ver.txt"));
    EXPECT_EQ(CheckFailed, Check(Manifest("1.0.5"), "file:///C:/windows/win.ini"));
    proxy.PointAtClosedPort();
    EXPECT_EQ(CheckFailed, Check(Manifest("1.0.5")));
}

TEST(Sha256, GivesTheKnownDigest)
{
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Sha256Of("abc"));
    EXPECT_EQ("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", Sha256Of(""));
}
