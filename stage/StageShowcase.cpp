// Shows the character stage at work, driven the way the program drives it: writes the
// sample character to a file, loads it, shows it, lets it speak a sentence, wave, and
// walk to the bottom right corner of the screen, then exits. Not part of the product.
#include "agent/AgentDispatch.h"
#include "stage/AcsWriter.h"
#include "stage/SampleCharacter.h"
#include "stage/StageControl.h"
#include <windows.h>
#include <cstdio>
#include <fstream>

namespace {

// Runs messages until the request is done (or a minute has passed).
void WaitFor(const AgentRequest& request, const char* what)
{
    const DWORD start = ::GetTickCount();
    long status = request.GetStatus();
    while ((status == 2 || status == 4) && ::GetTickCount() - start < 60000) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        status = request.GetStatus();
    }
    std::printf("%6lu ms  %-28s status %ld\n", ::GetTickCount() - start, what, status);
    std::fflush(stdout);
}

bool WriteSample(const std::string& path)
{
    std::string error;
    const std::vector<uint8_t> bytes = WriteCharacter(MakeSampleCharacter(), &error);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !file.flush()) {
        std::fprintf(stderr, "StageShowcase: cannot write %s %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

int Run()
{
    char folder[MAX_PATH];
    if (!::GetTempPathA(MAX_PATH, folder))
        return 1;
    const std::string path = std::string(folder) + "StageShowcase.acs";
    if (!WriteSample(path))
        return 1;

    IDispatch* stage = nullptr;
    if (FAILED(CreateStageControl(&stage)))
        return 1;
    AgentControl control(stage);
    control.SetRaiseRequestErrors(false);
    AgentCharacters characters = control.GetCharacters();
    CVariant file(path);
    if (characters.Load("PQ", file.value()).GetStatus() != 0) {
        std::fprintf(stderr, "StageShowcase: cannot load %s\n", path.c_str());
        return 1;
    }
    AgentCharacter character = characters.Character("PQ");
    character.SetLanguageID(1033);
    character.GetBalloon().SetStyle(15);

    const short width = character.GetWidth();
    const short height = character.GetHeight();
    const short screenWidth = static_cast<short>(::GetSystemMetrics(SM_CXSCREEN));
    const short screenHeight = static_cast<short>(::GetSystemMetrics(SM_CYSCREEN));
    CVariant jump(0L), defaultSpeed, slow(false), noUrl;
    CVariant sentence(std::string("Hello! I am Pip, and this is the stage I stand on. Watch me wave and walk."));

    // Everything is queued at once; the character performs it in turn.
    AgentRequest placed = character.MoveTo(static_cast<short>(screenWidth / 2 - width / 2),
                                           static_cast<short>(screenHeight / 3), jump.value());
    AgentRequest shown = character.Show(slow.value());
    AgentRequest spoken = character.Speak(sentence.value(), noUrl.value());
    AgentRequest waved = character.Play("Wave");
    AgentRequest moved = character.MoveTo(static_cast<short>(screenWidth - width),
                                          static_cast<short>(screenHeight - height), defaultSpeed.value());
    std::printf("queued; performing\n");
    WaitFor(placed, "MoveTo (jump to the middle)");
    WaitFor(shown, "Show");
    WaitFor(spoken, "Speak");
    WaitFor(waved, "Play Wave");
    WaitFor(moved, "MoveTo (bottom right)");
    // Stays a moment where it went, for a last look.
    CVariant lingerText(std::string("Bye!"));
    WaitFor(character.Speak(lingerText.value(), noUrl.value()), "Speak");
    WaitFor(character.Hide(slow.value()), "Hide");
    ::DeleteFileA(path.c_str());
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const HRESULT com = ::CoInitialize(nullptr);
    const int result = Run();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return result;
}
