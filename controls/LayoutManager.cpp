#include "controls/LayoutManager.h"
#include "controls/ChildGeometry.h"
#include "controls/LayoutSolver.h"
#include "framework/MessageBox.h"
#include <cstdio>
#include <new>

namespace {
const char* const MetricNames[MetricCount] = { "left", "top", "right", "bottom", "width", "height" };

// Tells the developer which metric of a child no rule settled; false if any.
bool CheckResolved(const ChildGeometry& record)
{
    bool resolved = true;
    for (int metric = 0; metric < MetricCount; ++metric) {
        if (record.known[metric])
            continue;
        resolved = false;
        char text[80];
        std::snprintf(text, sizeof(text), "Layout couldn't find %s of id=%d", MetricNames[metric],
                      static_cast<int>(record.id));
        char caption[128] = "";
        ::GetModuleFileNameA(nullptr, caption, sizeof(caption));
        ShowMessageBox(::GetActiveWindow(), text, caption, MB_OK);
    }
    return resolved;
}

bool PlaceChildren(HWND parent, LayoutRule* rules)
{
    ChildList list = BuildChildList(parent);
    if (list.empty())
        return false;
    // A malformed table has been reported where it was found; nothing moves either way.
    const SolveResult solved = SolveLayout(parent, rules, list);
    if (solved == SolveResult::Unresolved)
        LayoutAssertion("Unable to apply rules");
    if (solved != SolveResult::Solved)
        return false;
    bool result = true;
    HDWP batch = ::BeginDeferWindowPos(0);
    for (const ChildGeometry& record : list) {
        if (record.id == ParentId || record.id == EndOfChildList)
            continue;
        if (!CheckResolved(record))
            result = false;
        if (record.untouched)
            continue;
        HWND child = ::GetDlgItem(parent, record.id);
        if (!child)
            continue;
        if (batch)
            batch = ::DeferWindowPos(batch, child, nullptr, record.metric[MetricLeft], record.metric[MetricTop],
                                     record.metric[MetricWidth], record.metric[MetricHeight], SWP_NOZORDER);
        ::InvalidateRect(child, nullptr, TRUE);
    }
    if (!batch || !::EndDeferWindowPos(batch))
        result = false;
    return result;
}
}

bool ApplyLayoutRules(HWND parent, LayoutRule* rules)
{
    if (::IsIconic(parent))
        return true;
    try {
        return PlaceChildren(parent, rules);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
