// Times one layout pass over a form of 20 children, next to moving the same children to
// the same places with plain SetWindowPos calls as the yardstick; and the solving alone,
// without any window moving.
#include "Stopwatch.h"
#include "controls/ChildGeometry.h"
#include "controls/LayoutManager.h"
#include "controls/LayoutSolver.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int Passes = 400;
const int FirstId = 100;
const int ChildCount = 20;
const SIZE Sizes[2] = { { 640, 480 }, { 800, 600 } };

LayoutRule Rule(LayoutAction action, LayoutMetric metric, int subject, LayoutMetric referenceMetric, int reference,
                int distance)
{
    return { action, metric, subject, 0, referenceMetric, reference, 100, distance, 0, 0 };
}

// A column of eight buttons at the right, a list filling the rest above a row of five
// buttons at the bottom, a status line, and a centred group of five tied to each other.
std::vector<LayoutRule> FormRules()
{
    std::vector<LayoutRule> rules;
    rules.push_back(Rule(Move, MetricRight, 100, MetricRight, ParentId, -5));
    for (int id = 101; id <= 107; ++id) {
        rules.push_back(Rule(Move, MetricRight, id, MetricRight, 100, 0));
        rules.push_back(Rule(Move, MetricTop, id, MetricBottom, id - 1, 2));
    }
    rules.push_back(Rule(Stretch, MetricRight, 108, MetricLeft, 100, -3));
    rules.push_back(Rule(Stretch, MetricBottom, 108, MetricTop, 109, -3));
    rules.push_back(Rule(Move, MetricRight, 109, MetricRight, 108, 0));
    rules.push_back(Rule(Move, MetricBottom, 109, MetricTop, 114, -6));
    for (int id = 110; id <= 113; ++id) {
        rules.push_back(Rule(Move, MetricRight, id, MetricLeft, id - 1, -3));
        rules.push_back(Rule(Move, MetricBottom, id, MetricBottom, 109, 0));
    }
    rules.push_back(Rule(Stretch, MetricRight, 114, MetricRight, ParentId, -5));
    rules.push_back(Rule(Move, MetricBottom, 114, MetricBottom, ParentId, -2));
    for (int id = 116; id <= 119; ++id)
        rules.push_back(Rule(Move, MetricLeft, id, MetricRight, id - 1, 2));
    rules.push_back({ CentreHorizontal, 0, 115, 119, MetricCentre, 108, 100, 0, 0, 0 });
    rules.push_back({ EndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    return rules;
}

HWND CreateForm()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LayoutBenchForm";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!::RegisterClassA(&wc))
        return nullptr;
    HWND form = ::CreateWindowExA(0, wc.lpszClassName, "Layout", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  Sizes[0].cx, Sizes[0].cy, nullptr, nullptr, wc.hInstance, nullptr);
    for (int i = 0; form && i < ChildCount; ++i) {
        const int id = FirstId + i;
        const char* kind = id == 108 ? "LISTBOX" : id == 114 ? "STATIC" : "BUTTON";
        const RECT place = { 10 + (i % 5) * 60, 10 + (i / 5) * 30, 60 + (i % 5) * 60, 35 + (i / 5) * 30 };
        if (!::CreateWindowExA(0, kind, "Item", WS_CHILD | WS_VISIBLE, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, form,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), wc.hInstance, nullptr))
            return nullptr;
    }
    return form;
}

void Resize(HWND form, SIZE size)
{
    ::SetWindowPos(form, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Paints and the like, so that the queue does not grow between passes.
void Drain()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

std::vector<RECT> Places(HWND form)
{
    std::vector<RECT> places;
    for (int i = 0; i < ChildCount; ++i) {
        RECT place;
        ::GetWindowRect(::GetDlgItem(form, FirstId + i), &place);
        ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
        places.push_back(place);
    }
    return places;
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main()
{
    HWND form = CreateForm();
    if (!form) {
        std::fprintf(stderr, "cannot create the form (error %lu)\n", ::GetLastError());
        return 1;
    }
    std::vector<LayoutRule> rules = FormRules();

    // Where each size puts the children, for the yardstick to move them to.
    std::vector<RECT> places[2];
    for (int which = 0; which < 2; ++which) {
        Resize(form, Sizes[which]);
        if (!ApplyLayoutRules(form, rules.data())) {
            std::fprintf(stderr, "the form's rules did not apply\n");
            return 1;
        }
        places[which] = Places(form);
    }

    std::vector<double> layout;
    std::vector<double> plain;
    std::vector<double> solving;
    for (int pass = 0; pass < Passes; ++pass) {
        const int which = pass % 2;
        Resize(form, Sizes[which]);
        Drain();
        Stopwatch laying;
        ApplyLayoutRules(form, rules.data());
        layout.push_back(laying.Milliseconds());
        Drain();

        const int other = 1 - which;
        Stopwatch moving;
        for (int i = 0; i < ChildCount; ++i) {
            const RECT& place = places[other][i];
            ::SetWindowPos(::GetDlgItem(form, FirstId + i), nullptr, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        plain.push_back(moving.Milliseconds());

        Stopwatch thinking;
        ChildList list = BuildChildList(form);
        const bool solved = SolveLayout(form, rules.data(), list) == SolveResult::Solved;
        solving.push_back(thinking.Milliseconds());
        if (!solved) {
            std::fprintf(stderr, "the form's rules did not solve\n");
            return 1;
        }
    }
    ::DestroyWindow(form);

    const double layoutMs = Median(layout);
    const double plainMs = Median(plain);
    std::printf("Layout of %d children by %zu rules, median of %d passes\n", ChildCount, rules.size() - 1, Passes);
    std::printf("%-16s %8.3f ms\n", "plain moves", plainMs);
    std::printf("%-16s %8.3f ms   %5.2fx the plain moves   %s\n", "layout pass", layoutMs, layoutMs / plainMs,
                layoutMs < 1.0 ? "within target (1 ms)" : "OVER TARGET (1 ms)");
    std::printf("%-16s %8.3f ms   reading the children and solving, no moves\n", "solving alone", Median(solving));
    return 0;
}
