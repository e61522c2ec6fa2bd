#include "controls/ChildGeometry.h"
#include <new>

namespace {
// Edges known, sizes to be derived from them.
ChildGeometry RecordOf(int32_t id, const RECT& rect)
{
    ChildGeometry record{};
    record.id = id;
    record.metric[MetricLeft] = rect.left;
    record.metric[MetricTop] = rect.top;
    record.metric[MetricRight] = rect.right;
    record.metric[MetricBottom] = rect.bottom;
    for (int side = MetricLeft; side <= MetricBottom; ++side)
        record.known[side] = 1;
    DeriveMetrics(record);
    return record;
}
}

void DeriveMetrics(ChildGeometry& record)
{
    int32_t* m = record.metric;
    int32_t* known = record.known;
    for (int i = 0; i < MetricCount; ++i) {
        if (known[i])
            continue;
        // On the same axis: the near edge, the far edge, the size.
        const int nearEdge = i % 2;
        const int farEdge = nearEdge + 2;
        const int size = nearEdge + 4;
        if (i == nearEdge && known[farEdge] && known[size])
            m[i] = m[farEdge] - m[size];
        else if (i == farEdge && known[nearEdge] && known[size])
            m[i] = m[nearEdge] + m[size];
        else if (i == size && known[nearEdge] && known[farEdge])
            m[i] = m[farEdge] - m[nearEdge];
        else
            continue;
        known[i] = 1;
    }
}

ChildList BuildChildList(HWND parent)
{
    int count = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child && ::IsWindow(child); child = ::GetWindow(child, GW_HWNDNEXT))
        ++count;
    if (count == 0)
        return ChildList();
    ChildList list;
    try {
        list.reserve(count + 2);
    } catch (const std::bad_alloc&) {
        return ChildList();
    }
    RECT client;
    ::GetClientRect(parent, &client);
    list.push_back(RecordOf(ParentId, client));
    for (HWND child = ::GetWindow(parent, GW_CHILD); child && ::IsWindow(child) && static_cast<int>(list.size()) <= count;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        ChildGeometry record = RecordOf(::GetDlgCtrlID(child), rect);
        record.untouched = 1;
        list.push_back(record);
    }
    ChildGeometry end{};
    end.id = EndOfChildList;
    list.push_back(end);
    return list;
}

ChildGeometry* FindChild(ChildList& list, int32_t id)
{
    for (ChildGeometry& record : list) {
        if (record.id == EndOfChildList)
            break;
        if (record.id == id) {
            DeriveMetrics(record);
            return &record;
        }
    }
    return nullptr;
}
