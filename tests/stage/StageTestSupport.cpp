#include "StageTestSupport.h"
#include "stage/AcsWriter.h"
#include "stage/StageControl.h"
#include <gtest/gtest.h>

bool PumpUntil(const std::function<bool()>& done, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeout)
            return false;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
    return true;
}

void PumpFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

namespace {

struct WindowSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ThreadWindows(const char* className)
{
    WindowSearch search{ className, {} };
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

HWND OnlyWindow(const char* className)
{
    const std::vector<HWND> windows = ThreadWindows(className);
    EXPECT_EQ(1u, windows.size()) << className;
    return windows.empty() ? nullptr : windows.front();
}

} // namespace

HWND CharacterWindow()
{
    return OnlyWindow("ParlacardStageCharacter");
}

HWND BalloonWindow()
{
    return OnlyWindow("ParlacardStageBalloon");
}

std::string WriteCharacterFile(const TempFolder& folder, const CharacterData& character, const std::string& name)
{
    std::string error;
    const std::vector<uint8_t> bytes = WriteCharacter(character, &error);
    EXPECT_FALSE(bytes.empty()) << error;
    folder.Write(name, std::string(bytes.begin(), bytes.end()));
    return folder.File(name);
}

bool IsDone(const AgentRequest& request)
{
    const long status = request.GetStatus();
    return status != 2 && status != 4;
}

namespace {

IDispatch* NewStage()
{
    IDispatch* control = nullptr;
    EXPECT_EQ(S_OK, CreateStageControl(&control));
    return control;
}

} // namespace

LoadedStage::LoadedStage(const CharacterData& data) : LoadedStage(WriteCharacter(data)) {}

LoadedStage::LoadedStage(const std::vector<uint8_t>& file) : control(NewStage())
{
    EXPECT_EQ(S_OK, control.SetRaiseRequestErrors(false));
    characters = control.GetCharacters();
    folder.Write("Sample.acs", std::string(file.begin(), file.end()));
    CVariant path(folder.File("Sample.acs"));
    EXPECT_EQ(0, characters.Load("PQ", path.value()).GetStatus());
    character = characters.Character("PQ");
    EXPECT_TRUE(character.IsValid());
}

AgentRequest LoadedStage::Show(bool fast) const
{
    CVariant value(fast);
    return character.Show(value.value());
}

AgentRequest LoadedStage::Hide(bool fast) const
{
    CVariant value(fast);
    return character.Hide(value.value());
}

AgentRequest LoadedStage::Speak(const std::string& text) const
{
    CVariant value(text), url;
    return character.Speak(value.value(), url.value());
}

AgentRequest LoadedStage::MoveTo(short x, short y, long speed) const
{
    CVariant given(speed), omitted;
    return character.MoveTo(x, y, speed < 0 ? omitted.value() : given.value());
}
