// Takes the README's pictures of the installed program as it runs: the main window with
// a greeting, and a character speaking in front of it while the greeting plays. The
// program is driven from outside as in the end-to-end test; the pictures themselves are
// taken by ./parla pictures, which this asks for each one through files in the folder
// named on the command line: "<name>.want" holds the screen rectangle to take, and the
// picture is there once "<name>.png" is.
#include "Installation.h"
#include "ProgramWindows.h"
#include "RunningProgram.h"
#include <windows.h>
#include <cstdio>
#include <fstream>

namespace {

const int GreetingTypes = 1046;
const int RecipientEdit = 1042;
const int ActionList = 1006;
const int PlayGreetingButton = 32773;
const DWORD PictureTimeout = 30000;

bool TakePicture(const std::string& folder, const std::string& name, const RECT& rect)
{
    // Written aside and renamed, so that the script never reads half a request.
    const std::string writing = folder + "\\" + name + ".tmp";
    {
        std::ofstream want(writing);
        want << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' ' << rect.bottom - rect.top << '\n';
        if (!want.flush())
            return false;
    }
    if (!MoveFileExA(writing.c_str(), (folder + "\\" + name + ".want").c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    const std::string picture = folder + "\\" + name + ".png";
    return ProgramWindows::WaitUntil([&] { return PathExists(picture); }, PictureTimeout);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Fail(const char* what)
{
    std::fprintf(stderr, "ProgramPictures: %s\n", what);
    return false;
}

bool TakePictures(const std::string& folder)
{
    RunningProgram maker(DefaultInstallFolder() + "\\Parlacard.exe", "");
    if (!maker.Started())
        return Fail("the program did not start");
    ProgramWindows windows(maker.Id());
    HWND dialog = windows.WaitForDialog("New Parlacard");
    if (!dialog)
        return Fail("no New Parlacard dialog (the settings must hold a user name)");
    ProgramWindows::PressKeys(ProgramWindows::Control(dialog, GreetingTypes), "B");
    ProgramWindows::Type(dialog, RecipientEdit, "Pat");
    ProgramWindows::Click(dialog, IDOK);
    HWND frame = windows.WaitForMainWindow();
    HWND list = frame ? ProgramWindows::Control(frame, ActionList) : nullptr;
    if (!list || !ProgramWindows::WaitUntil([list] { return ProgramWindows::ListRows(list) > 0; }))
        return Fail("the greeting did not fill the list");
    // The first action selected, as a user looking at it would have it.
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    Sleep(500);
    if (!TakePicture(folder, "main-window", WindowRect(frame)))
        return Fail("no picture of the main window");

    ProgramWindows::Click(GetParent(list), PlayGreetingButton);
    HWND balloon = nullptr;
    if (!ProgramWindows::WaitUntil([&] {
            balloon = FindWindowA("ParlacardStageBalloon", nullptr);
            return balloon && IsWindowVisible(balloon);
        }))
        return Fail("no character spoke");
    // A few words into the balloon.
    Sleep(1500);
    RECT screen = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    const bool taken = TakePicture(folder, "speaking", screen);

    DWORD player = 0;
    GetWindowThreadProcessId(balloon, &player);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, player)) {
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
    return taken || Fail("no picture of the speaking character");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ProgramPictures <folder for the pictures>\n");
        return 2;
    }
    return TakePictures(argv[1]) ? 0 : 1;
}
