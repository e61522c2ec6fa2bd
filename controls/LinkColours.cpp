#include "controls/LinkColours.h"

namespace {
// User-interface thread only, like the links that read it.
LinkColours current = { RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128), RGB(255, 0, 0) };
}

void GetLinkColours(LinkColours& colours)
{
    colours = current;
}

void SetLinkColours(const LinkColours& colours)
{
    current = colours;
}
