#pragma once
#include <windows.h>

// The colours of every link of the process. A change applies to every link drawn
// afterwards, in any dialog.
struct LinkColours {
    COLORREF normal;
    COLORREF active;    // pressed or focused
    COLORREF visited;
    COLORREF hover;
};

void GetLinkColours(LinkColours& colours);
void SetLinkColours(const LinkColours& colours);
