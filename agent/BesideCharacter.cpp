#include "agent/BesideCharacter.h"
#include "agent/AgentApp.h"
#include "framework/ScreenDpi.h"
#include <algorithm>

namespace {

// The character's balloon opens centred above it and reaches past its sides.
const int BalloonRoom = 64;

LONG Clamp(LONG value, LONG low, LONG high)
{
    return std::max(low, std::min(value, high));
}

long long Covered(const RECT& a, const RECT& b)
{
    RECT both;
    if (!::IntersectRect(&both, &a, &b))
        return 0;
    return static_cast<long long>(both.right - both.left) * (both.bottom - both.top);
}

} // namespace

POINT PlaceBeside(const RECT& window, const RECT& character, const RECT& area, int gap)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    RECT keepClear = character;
    ::InflateRect(&keepClear, gap, gap);
    // Where it stands already, unless that is on the character; then each side in turn.
    const POINT places[] = {
        { window.left, window.top },
        { character.left - gap - width, window.top },
        { character.right + gap, window.top },
        { window.left, character.bottom + gap },
        { window.left, character.top - gap - height },
    };
    POINT best = { window.left, window.top };
    long long leastCovered = -1;
    for (const POINT& place : places) {
        // A window larger than the area keeps its top-left corner inside it.
        const POINT at = { Clamp(place.x, area.left, std::max(area.left, area.right - width)),
                           Clamp(place.y, area.top, std::max(area.top, area.bottom - height)) };
        const RECT placed = { at.x, at.y, at.x + width, at.y + height };
        if (Covered(placed, keepClear) == 0)
            return at;
        const long long covered = Covered(placed, character);
        if (leastCovered < 0 || covered < leastCovered) {
            best = at;
            leastCovered = covered;
        }
    }
    return best;
}

bool MoveBesideCharacter(HWND window)
{
    CAgentApp* app = GetAgentApp();
    RECT character, bounds, area;
    if (!app || !app->GetStandingRect(character) || !::GetWindowRect(window, &bounds) ||
        !::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        return false;
    const POINT at = PlaceBeside(bounds, character, area, ScaleForDpi(BalloonRoom, ScreenDpi()));
    return ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}
