// The bundled characters where the program finds them, in the Windows folder's
// character folder: each loads in the stage, and one of them performs.
#include "StageTestSupport.h"
#include "stage/StageControl.h"
#include <gtest/gtest.h>
#include <iterator>

namespace {

const char* const kCast[] = { "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy",
                              "Genie",  "Robby",   "Yulebard", "Crookbeak" };

std::string InstalledCharacter(const std::string& name)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\MSAgent\\Chars\\" + name + ".ACS";
}

class CastLoadTest : public testing::Test {
protected:
    void SetUp() override
    {
        IDispatch* stage = nullptr;
        ASSERT_EQ(S_OK, CreateStageControl(&stage));
        control.AttachDispatch(stage);
        ASSERT_EQ(S_OK, control.SetRaiseRequestErrors(false));
        characters = control.GetCharacters();
    }

    // Loads the installed character under its own name.
    AgentCharacter Load(const std::string& name)
    {
        const std::string path = InstalledCharacter(name);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()))
            << path << " is not installed; ./parla test installs the cast into the test prefix";
        CVariant file(path);
        EXPECT_EQ(0, characters.Load(name, file.value()).GetStatus()) << name;
        return characters.Character(name);
    }

    AgentControl control;
    AgentCharacters characters;
};

TEST_F(CastLoadTest, EveryInstalledCharacterLoads)
{
    for (const char* name : kCast) {
        const AgentCharacter character = Load(name);
        ASSERT_TRUE(character.IsValid()) << name;
        EXPECT_GE(character.GetWidth(), 128) << name;
        EXPECT_GE(character.GetHeight(), 128) << name;
    }
    EXPECT_EQ(std::size(kCast), ThreadWindows("ParlacardStageCharacter").size());
}

TEST_F(CastLoadTest, MerlinAppearsWavesTalksExplainsAndLeaves)
{
    const AgentCharacter merlin = Load("Merlin");
    ASSERT_TRUE(merlin.IsValid());
    CVariant animated(false), text(std::string("Hello and welcome.")), url;
    std::vector<AgentRequest> requests;
    requests.push_back(merlin.Show(animated.value()));
    requests.push_back(merlin.Play("Wave"));
    requests.push_back(merlin.Speak(text.value(), url.value()));
    requests.push_back(merlin.Play("Explain"));
    ASSERT_TRUE(PumpUntil([&] { return IsDone(requests.back()); }, 15000));
    EXPECT_TRUE(IsWindowVisible(CharacterWindow()));
    requests.push_back(merlin.Hide(animated.value()));
    ASSERT_TRUE(PumpUntil([&] { return IsDone(requests.back()); }, 20000));
    EXPECT_FALSE(IsWindowVisible(CharacterWindow()));
    for (const AgentRequest& request : requests)
        EXPECT_EQ(0, request.GetStatus());
}

} // namespace
