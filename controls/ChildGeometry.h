#pragma once
#include "controls/LayoutRule.h"
#include <windows.h>
#include <vector>

// Ends a child list.
const int32_t EndOfChildList = 0x10001;

// The rectangle of one window as the layout solver sees it: which metrics are settled,
// and whether any rule moves the window.
struct ChildGeometry {
    int32_t id;                    // control id, ParentId or EndOfChildList
    int32_t metric[MetricCount];   // left, top, right, bottom, width, height
    int32_t untouched;             // 1 while no rule moves this child
    int32_t known[MetricCount];

    RECT Rect() const { return { metric[MetricLeft], metric[MetricTop], metric[MetricRight], metric[MetricBottom] }; }
};

using ChildList = std::vector<ChildGeometry>;

// Fills the metrics that follow from the known ones, in one pass: edges from the opposite
// edge and the size, sizes from both edges.
void DeriveMetrics(ChildGeometry& record);

// The parent's client area, then every child window in z-order, then the end marker.
// Empty when the parent has no children or memory runs out.
ChildList BuildChildList(HWND parent);

// The first record with this id, its metrics derived; nullptr when no record has it.
ChildGeometry* FindChild(ChildList& list, int32_t id);
