#pragma once
#include "controls/ChildGeometry.h"
#include "controls/LayoutRule.h"

enum class SolveResult {
    Solved,       // every rule applied
    Unresolved,   // some rules never found their references settled
    Malformed,    // the table is wrong; already reported
};

// Reports a malformed rule table, a programming error, in a box captioned "Assertion Failed".
void LayoutAssertion(const char* text);

// Frees the metrics the rules set, converts their distances with the parent's font, then
// applies the rules in passes until a pass applies none. Works on the list only; no
// window moves.
SolveResult SolveLayout(HWND parent, LayoutRule* rules, ChildList& list);
