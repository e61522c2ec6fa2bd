#include "player/StopGesture.h"

namespace {

// The class of the stage's character windows.
const char CharacterWindowClass[] = "ParlacardStageCharacter";

struct CursorSearch {
    POINT cursor;
    bool found;
};

BOOL CALLBACK FindCharacterUnderCursor(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<CursorSearch*>(parameter);
    char name[64] = "";
    RECT rect;
    if (::IsWindowVisible(window) && ::GetClassNameA(window, name, sizeof name) &&
        ::lstrcmpA(name, CharacterWindowClass) == 0 && ::GetWindowRect(window, &rect) &&
        ::PtInRect(&rect, search->cursor)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

StopGesture::StopGesture()
{
    WentDown(VK_ESCAPE, escapeDown_);
    WentDown(PrimaryButton(), buttonDown_);
}

bool StopGesture::Poll()
{
    // Both are read every time, so that each keeps its last state.
    const bool escape = WentDown(VK_ESCAPE, escapeDown_);
    const bool click = WentDown(PrimaryButton(), buttonDown_);
    return escape || (click && CursorOnCharacter());
}

// Down now and not at the last poll, or pressed and released in between.
bool StopGesture::WentDown(int key, bool& wasDown)
{
    const SHORT state = ::GetAsyncKeyState(key);
    const bool down = (state & 0x8000) != 0;
    const bool went = down ? !wasDown : (state & 1) != 0;
    wasDown = down;
    return went;
}

// The stage draws its characters in windows of this thread.
bool StopGesture::CursorOnCharacter()
{
    CursorSearch search = { {}, false };
    if (!::GetCursorPos(&search.cursor))
        return false;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindCharacterUnderCursor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The key state follows the physical buttons; with the buttons swapped the right one is primary.
int StopGesture::PrimaryButton()
{
    return ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
}
