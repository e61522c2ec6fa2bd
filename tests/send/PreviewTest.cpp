#include "app/AppSettings.h"
#include "greeting/ParloDoc.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

std::string ProgramFolder()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\'));
}

// The recording player beside this test program, and what it logged.
class RecordedPlayer {
public:
    RecordedPlayer() { DeleteFileA(LogPath().c_str()); }
    ~RecordedPlayer() { DeleteFileA(LogPath().c_str()); }

    static std::string LogPath() { return ProgramFolder() + "\\PlayerLog.txt"; }

    // The command lines it was started with; waits for them, since the start is asynchronous.
    std::vector<std::string> Starts(size_t expected) const
    {
        std::vector<std::string> lines;
        for (int waited = 0; waited < 5000; waited += 20) {
            lines = ReadLines();
            if (lines.size() >= expected)
                break;
            Sleep(20);
        }
        return lines;
    }

private:
    static std::vector<std::string> ReadLines()
    {
        std::vector<std::string> lines;
        HANDLE file = CreateFileA(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return lines;
        char buffer[8192];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
        CloseHandle(file);
        std::string text(buffer, read);
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
};

// Points the temporary folder at another place for as long as it lives.
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const std::string& folder)
    {
        char old[MAX_PATH] = "";
        hadOld_ = GetEnvironmentVariableA("TMP", old, MAX_PATH) > 0;
        old_ = old;
        SetEnvironmentVariableA("TMP", folder.c_str());
    }
    ~TemporaryFolderSetting() { SetEnvironmentVariableA("TMP", hadOld_ ? old_.c_str() : nullptr); }

private:
    bool hadOld_;
    std::string old_;
};

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetSettings() = AppSettings{};
        GetSettings().UserName = "Ann";
        for (const char* text : { "one", "two", "three", "four", "five" })
            doc.InsertAction(new GreetingAction("Merlin", "Say", text), doc.GetActionCount());
    }

    CParloDoc doc;
    MessageBoxAnswerer boxes;
    RecordedPlayer player;
    TempFolder temp;
};

} // namespace

TEST_F(Preview, StartsThePlayerOnTheWrittenGreetingFromTheGivenAction)
{
    TemporaryFolderSetting tmp(temp.Path() + "\\");
    doc.PreviewGreeting(4);
    const std::string path = temp.File("PQPrev.pcg");
    const auto starts = player.Starts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("DODevavi.EXE " + path + " *4", starts[0]);
    EXPECT_TRUE(doc.IsPreviewed());
    doc.BuildGreetingText("\r\n");
    EXPECT_EQ(doc.GetGreetingText(), temp.Read("PQPrev.pcg"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Preview, AFolderWithoutTrailingBackslashGivesTheSamePath)
{
    TemporaryFolderSetting tmp(temp.Path());
    doc.PreviewGreeting(0);
    const auto starts = player.Starts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("DODevavi.EXE " + temp.File("PQPrev.pcg") + " *0", starts[0]);
}

TEST_F(Preview, AnEmptyGreetingIsNotPlayed)
{
    CParloDoc empty;
    empty.PreviewGreeting(0);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Can't play an empty greeting.\n\nPlease use the 'Add' button to add actions to the greeting.",
              boxes.Boxes()[0].text);
    EXPECT_EQ("Parlacard", boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].flags);
    EXPECT_FALSE(empty.IsPreviewed());
}

TEST_F(Preview, AnUnwritableFolderShowsBothMessagesAndStartsNothing)
{
    TemporaryFolderSetting tmp(temp.File("missing"));
    doc.PreviewGreeting(0);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("An error occurred saving the parlacard file.", boxes.Boxes()[0].text);
    EXPECT_EQ("Failed to save greeting file before preview.\n\nPlease make sure you have enough disk space.",
              boxes.Boxes()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), boxes.Boxes()[1].flags);
    EXPECT_FALSE(doc.IsPreviewed());
    Sleep(200);
    EXPECT_TRUE(player.Starts(0).empty());
}

TEST_F(Preview, AMissingPlayerLeavesPreviewedAsItWas)
{
    const std::string playerPath = ProgramFolder() + "\\DODevavi.EXE";
    const std::string aside = ProgramFolder() + "\\DODevavi.aside";
    ASSERT_TRUE(MoveFileA(playerPath.c_str(), aside.c_str()));
    TemporaryFolderSetting tmp(temp.Path());
    doc.PreviewGreeting(0);
    MoveFileA(aside.c_str(), playerPath.c_str());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Failed to play greeting file.", boxes.Boxes()[0].text);
    EXPECT_FALSE(doc.IsPreviewed());
    // The preview file stays written.
    EXPECT_NE("", temp.Read("PQPrev.pcg"));
}
