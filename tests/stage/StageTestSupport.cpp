#include "StageTestSupport.h"
#include "stage/AcsWriter.h"
#include "stage/StageControl.h"
#include <gtest/gtest.h>

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

std::vector<uint32_t> Pixels(HDC from, int x, int y, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(from);
    HBITMAP bitmap = CreateDIBSection(from, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, from, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + size_t(width) * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}
