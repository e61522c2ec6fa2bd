#pragma once
#include "controls/LayoutRule.h"
#include <windows.h>

// Places the parent's children by a rule table, in one batch of moves; children no rule
// names keep their place. Run it after the parent has handled its own size change, with
// a window of positive client size. A minimised parent is left alone (true). False when
// the parent has no children, when the table is malformed (reported; nothing moves) or
// when a child ends with a metric no rule could settle (reported; the rest is placed).
bool ApplyLayoutRules(HWND parent, LayoutRule* rules);
