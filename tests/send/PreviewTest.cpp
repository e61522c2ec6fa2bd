#include "greeting/ParloDoc.h"
#include "send/Preview.h"
#include "settings/AppSettings.h"
#include "support/MessageBoxAnswerer.h"
#include "support/RecordedPlayer.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

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
    PreviewGreeting(doc, 4);
    const std::string path = temp.File("PQPrev.pcg");
    const auto starts = player.Starts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("DODevavi.EXE " + path + " *4", starts[0]);
    EXPECT_TRUE(doc.IsPreviewed());
    EXPECT_EQ(doc.BuildGreetingText(CurrentSender(), "\r\n"), temp.Read("PQPrev.pcg"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Preview, AFolderWithoutTrailingBackslashGivesTheSamePath)
{
    TemporaryFolderSetting tmp(temp.Path());
    PreviewGreeting(doc, 0);
    const auto starts = player.Starts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("DODevavi.EXE " + temp.File("PQPrev.pcg") + " *0", starts[0]);
}

TEST_F(Preview, AnEmptyGreetingIsNotPlayed)
{
    CParloDoc empty;
    PreviewGreeting(empty, 0);
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
    PreviewGreeting(doc, 0);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("An error occurred saving the parlacard file.", boxes.Boxes()[0].text);
    EXPECT_EQ("Failed to save greeting file before preview.\n\nPlease make sure you have enough disk space.",
              boxes.Boxes()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), boxes.Boxes()[1].flags);
    EXPECT_FALSE(doc.IsPreviewed());

    // The next preview's player is the first and only one that starts.
    TemporaryFolderSetting writable(temp.Path());
    PreviewGreeting(doc, 1);
    const auto starts = player.Starts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("DODevavi.EXE " + temp.File("PQPrev.pcg") + " *1", starts[0]);
}

TEST_F(Preview, AMissingPlayerLeavesPreviewedAsItWas)
{
    const std::string playerPath = RecordedPlayer::ProgramFolder() + "\\DODevavi.EXE";
    const std::string aside = RecordedPlayer::ProgramFolder() + "\\DODevavi.aside";
    ASSERT_TRUE(MoveFileA(playerPath.c_str(), aside.c_str()));
    TemporaryFolderSetting tmp(temp.Path());
    PreviewGreeting(doc, 0);
    MoveFileA(aside.c_str(), playerPath.c_str());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Failed to play greeting file.", boxes.Boxes()[0].text);
    EXPECT_FALSE(doc.IsPreviewed());
    // The preview file stays written.
    EXPECT_NE("", temp.Read("PQPrev.pcg"));
}
