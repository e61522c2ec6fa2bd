#include "controls/LayoutSolver.h"
#include "controls/DialogUnits.h"
#include "framework/MessageBox.h"
#include <cstdint>

namespace {
enum class Step { Applied, NotYet, Failed };

bool IsCentring(int32_t action)
{
    return action == CentreVertical || action == CentreHorizontal;
}

bool IsVertical(const LayoutRule& rule)
{
    if (IsCentring(rule.action))
        return rule.action == CentreVertical;
    return rule.metric == MetricTop || rule.metric == MetricBottom || rule.metric == MetricHeight;
}

// A child (not the parent, not the end marker) whose id lies in a centring rule's range.
bool IsGroupMember(const ChildGeometry& record, const LayoutRule& rule)
{
    return record.id != ParentId && record.id != EndOfChildList && record.id >= rule.subjectId &&
           record.id <= rule.lastId;
}

// The metric that gives way when a Stretch sets this one: the size for an edge, the far
// edge for a size.
int StretchPartner(int metric)
{
    return metric <= MetricBottom ? metric % 2 + MetricWidth : metric - 2;
}

int OppositeSide(int side)
{
    return side ^ 2;
}

bool FreeSubjects(const LayoutRule* rules, ChildList& list)
{
    for (const LayoutRule* rule = rules; rule->action != EndOfRules; ++rule) {
        if (rule->action == Stretch || rule->action == Move) {
            if (rule->action == Stretch && (rule->metric < 0 || rule->metric >= MetricCount)) {
                LayoutAssertion("Invalid metric");
                return false;
            }
            if (rule->action == Move && (rule->metric < MetricLeft || rule->metric > MetricBottom)) {
                LayoutAssertion("Invalid side");
                return false;
            }
            ChildGeometry* subject = FindChild(list, rule->subjectId);
            if (!subject) {
                LayoutAssertion("Child not found in child list");
                return false;
            }
            subject->untouched = 0;
            subject->known[rule->metric] = 0;
            subject->known[rule->action == Stretch ? StretchPartner(rule->metric) : OppositeSide(rule->metric)] = 0;
        } else if (IsCentring(rule->action)) {
            const int nearEdge = rule->action == CentreVertical ? MetricTop : MetricLeft;
            for (ChildGeometry& record : list) {
                if (!IsGroupMember(record, *rule))
                    continue;
                record.known[nearEdge] = 0;
                record.known[nearEdge + 2] = 0;
                record.untouched = 0;
            }
        } else {
            LayoutAssertion("Invalid action");
            return false;
        }
    }
    return true;
}

void ConvertDistances(HWND parent, LayoutRule* rules)
{
    const DialogUnits units(parent);
    for (LayoutRule* rule = rules; rule->action != EndOfRules; ++rule) {
        RECT distance = { 0, 0, rule->distance, rule->distance };
        units.DialogUnitsToPixels(distance);
        rule->pixels = IsVertical(*rule) ? distance.bottom : distance.right;
        rule->applied = 0;
    }
}

bool IsReferenceKnown(const ChildGeometry& reference, const LayoutRule& rule)
{
    if (rule.referenceMetric != MetricCentre)
        return reference.known[rule.referenceMetric] != 0;
    const int nearEdge = rule.action == CentreHorizontal ? MetricLeft : MetricTop;
    return reference.known[nearEdge] && reference.known[nearEdge + 2];
}

// Places the group relative to itself by its own left/right (or top/bottom) rules, then
// centres its bounding box in the reference's extent.
Step CentreGroup(HWND parent, const LayoutRule* rules, const LayoutRule& rule, ChildList& list,
                 const ChildGeometry& reference)
{
    const int nearEdge = rule.action == CentreVertical ? MetricTop : MetricLeft;
    const int farEdge = nearEdge + 2;
    const int size = nearEdge + 4;
    for (const ChildGeometry& record : list) {
        if (IsGroupMember(record, rule) && !record.known[size])
            return Step::NotYet;
    }

    std::vector<LayoutRule> ties;
    for (const LayoutRule* tie = rules; tie->action != EndOfRules; ++tie) {
        if ((tie->action == Stretch || tie->action == Move) && tie->subjectId >= rule.subjectId &&
            tie->subjectId <= rule.lastId && (tie->metric == nearEdge || tie->metric == farEdge))
            ties.push_back(*tie);
    }
    ties.push_back(LayoutRule{ EndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0 });

    // The members start where they are now; everything else is taken as it stands.
    ChildList group = list;
    for (ChildGeometry& record : group) {
        for (int32_t& known : record.known)
            known = 1;
    }
    const SolveResult placed = SolveLayout(parent, ties.data(), group);
    if (placed != SolveResult::Solved) {
        if (placed == SolveResult::Unresolved)
            LayoutAssertion("Unable to apply rules to centered children");
        return Step::Failed;
    }

    RECT bounds = {};
    for (const ChildGeometry& record : group) {
        if (!IsGroupMember(record, rule))
            continue;
        const RECT rect = record.Rect();
        ::UnionRect(&bounds, &bounds, &rect);
    }
    const int32_t boundsNear = nearEdge == MetricLeft ? bounds.left : bounds.top;
    const int32_t boundsFar = nearEdge == MetricLeft ? bounds.right : bounds.bottom;
    const int32_t shift = (boundsNear - boundsFar + reference.metric[size]) / 2 - boundsNear +
                          reference.metric[nearEdge] + rule.pixels;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!IsGroupMember(group[i], rule))
            continue;
        list[i].metric[nearEdge] = group[i].metric[nearEdge] + shift;
        list[i].metric[farEdge] = group[i].metric[farEdge] + shift;
        list[i].known[nearEdge] = 1;
        list[i].known[farEdge] = 1;
    }
    return Step::Applied;
}

Step ApplyRule(HWND parent, const LayoutRule* rules, const LayoutRule& rule, ChildList& list)
{
    const int lastMetric = IsCentring(rule.action) ? MetricCentre : MetricHeight;
    if (rule.referenceMetric < 0 || rule.referenceMetric > lastMetric) {
        LayoutAssertion("Invalid metric");
        return Step::Failed;
    }
    ChildGeometry* reference = FindChild(list, rule.referenceId);
    if (!reference) {
        LayoutAssertion("Child not found in child list");
        return Step::Failed;
    }
    if (!IsReferenceKnown(*reference, rule))
        return Step::NotYet;

    // A share of the reference's size; the reference itself stays as it is.
    ChildGeometry scaled = *reference;
    if (rule.referenceMetric == MetricWidth || rule.referenceMetric == MetricHeight) {
        int32_t& extent = scaled.metric[rule.referenceMetric];
        extent = static_cast<int32_t>(static_cast<int64_t>(extent) * rule.percent / 100);
        DeriveMetrics(scaled);
    }

    if (IsCentring(rule.action))
        return CentreGroup(parent, rules, rule, list, scaled);
    ChildGeometry* subject = FindChild(list, rule.subjectId);
    if (!subject) {
        LayoutAssertion("Child not found in child list");
        return Step::Failed;
    }
    subject->metric[rule.metric] = scaled.metric[rule.referenceMetric] + rule.pixels;
    subject->known[rule.metric] = 1;
    DeriveMetrics(*subject);
    return Step::Applied;
}
}

void LayoutAssertion(const char* text)
{
    ShowMessageBox(::GetActiveWindow(), text, "Assertion Failed", MB_OK | MB_ICONERROR);
    // Without a debugger watching, a break would end the program.
    if (::IsDebuggerPresent())
        ::DebugBreak();
}

SolveResult SolveLayout(HWND parent, LayoutRule* rules, ChildList& list)
{
    if (!FreeSubjects(rules, list))
        return SolveResult::Malformed;
    ConvertDistances(parent, rules);

    // Each pass applies at least one rule or ends the loop.
    bool progress = true;
    while (progress) {
        progress = false;
        for (LayoutRule* rule = rules; rule->action != EndOfRules; ++rule) {
            if (rule->applied)
                continue;
            const Step step = ApplyRule(parent, rules, *rule, list);
            if (step == Step::Failed)
                return SolveResult::Malformed;
            if (step == Step::Applied) {
                rule->applied = 1;
                progress = true;
            }
        }
    }
    for (const LayoutRule* rule = rules; rule->action != EndOfRules; ++rule) {
        if (!rule->applied)
            return SolveResult::Unresolved;
    }
    return SolveResult::Solved;
}
