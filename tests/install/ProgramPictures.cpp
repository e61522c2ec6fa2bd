// Takes the README's pictures of the installed program as it runs: the main window with
// a greeting, and a character speaking in front of it while the greeting plays. The
// program is driven from outside as in the end-to-end test; the pictures themselves are
// taken by ./parla pictures, which this asks for each one through files in the folder
// named on the command line: "<name>.want" holds the screen rectangle to take, and the
// picture is there once "<name>.png" is.
#include "Installation.h"
#include "MakerWindows.h"
#include "ProgramWindows.h"
#include "RunningProgram.h"
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

using namespace Maker;

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

struct ClassSearch {
    const char* className;
    std::vector<HWND> shown;
};

BOOL CALLBACK CollectShown(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char name[64];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof(name)) &&
        lstrcmpA(name, search->className) == 0)
        search->shown.push_back(window);
    return TRUE;
}

// The shown top-level windows of the class, of any program: the player's characters.
std::vector<HWND> ShownWindows(const char* className)
{
    ClassSearch search{ className, {} };
    EnumWindows(&CollectShown, reinterpret_cast<LPARAM>(&search));
    return search.shown;
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
    HWND dialog = windows.WaitForDialog(NewGreetingCaption);
    if (!dialog)
        return Fail("no New Parlacard dialog (the settings must hold a user name)");
    ChooseBirthday(windows, dialog, "Pat");
    HWND frame = windows.WaitForMainWindow();
    HWND list = frame ? ProgramWindows::Control(frame, ActionList) : nullptr;
    if (!ProgramWindows::WaitUntil([list] { return ProgramWindows::ListRows(list) > 0; }))
        return Fail("the greeting did not fill the list");
    const int rows = ProgramWindows::ListRows(list);
    // Merlin opens the greeting in the middle of the screen, in front of the program.
    HWND view = GetParent(list);
    AddAction(windows, view, MoveRadio);
    AddAction(windows, view, ShowRadio);
    AddAction(windows, view, SayRadio, "Happy birthday, Pat! Robin asked us all to come and sing for you.");
    if (ProgramWindows::ListRows(list) != rows + 3)
        return Fail("Merlin's actions did not reach the list");
    Sleep(500);
    if (!TakePicture(folder, "main-window", WindowRect(frame)))
        return Fail("no picture of the main window");

    ProgramWindows::Click(view, PlayGreetingButton);
    if (!ProgramWindows::WaitUntil([] { return !ShownWindows("ParlacardStageBalloon").empty(); }))
        return Fail("no character spoke");
    const HWND balloon = ShownWindows("ParlacardStageBalloon").front();
    // A few words into the balloon.
    Sleep(2500);
    // The main window, the character and its balloon, with a little of the desktop.
    RECT shown = WindowRect(frame);
    for (const char* stage : { "ParlacardStageCharacter", "ParlacardStageBalloon" })
        for (HWND window : ShownWindows(stage)) {
            const RECT part = WindowRect(window);
            UnionRect(&shown, &shown, &part);
        }
    InflateRect(&shown, 16, 16);
    const RECT screen = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    IntersectRect(&shown, &shown, &screen);
    const bool taken = TakePicture(folder, "speaking", shown);

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
