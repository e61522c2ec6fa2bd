#include "controls/LayoutManager.h"
#include "framework/Wnd.h"
#include "support/MessageBoxAnswerer.h"
#include "RectCompare.h"
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

LayoutRule Rule(LayoutAction action, LayoutMetric metric, int subject, LayoutMetric referenceMetric, int reference,
                int distance = 0, int percent = 100)
{
    return { action, metric, subject, 0, referenceMetric, reference, percent, distance, 0, 0 };
}

LayoutRule Centre(LayoutAction action, int first, int last, int reference, int distance = 0)
{
    return { action, 0, first, last, MetricCentre, reference, 100, distance, 0, 0 };
}

const LayoutRule End = { EndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0 };

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// A borderless window whose client area is exactly its size, holding plain child windows
// to lay out, with the font the rules' dialog units are measured in.
class LayoutParent : public CWnd {
public:
    LayoutParent(int width, int height, HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)))
        : font_(font)
    {
        if (!CreateEx(0, nullptr, "Layout", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, { 500, 40, 500 + width, 40 + height },
                      nullptr, 0))
            ADD_FAILURE() << "could not create the layout window: error " << GetLastError();
    }

    HWND AddChild(int id, const RECT& rect)
    {
        HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, Width(rect),
                                     Height(rect), m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     nullptr, nullptr);
        if (!child)
            ADD_FAILURE() << "could not create child " << id;
        return child;
    }

    RECT Place(int id) const
    {
        RECT rect = {};
        ::GetWindowRect(GetDlgItem(id), &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::map<int, RECT> Places(const std::vector<int>& ids) const
    {
        std::map<int, RECT> places;
        for (int id : ids)
            places[id] = Place(id);
        return places;
    }

    void Resize(int width, int height)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETFONT)
            return reinterpret_cast<LRESULT>(font_);
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    HFONT font_;
};

// A font whose average character width, as dialog units measure it, is this many pixels;
// nullptr when no size of the face gives it.
HFONT FontWithHorizontalBase(int base)
{
    HDC dc = GetDC(nullptr);
    HFONT found = nullptr;
    for (int height = 6; height <= 30 && !found; ++height) {
        HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE extent = {};
        GetTextExtentPoint32A(dc, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &extent);
        SelectObject(dc, previous);
        if ((extent.cx / 26 + 1) / 2 == base)
            found = font;
        else
            DeleteObject(font);
    }
    ReleaseDC(nullptr, dc);
    return found;
}
}

TEST(LayoutManagerTest, RulesResolveOverPassesMovingOrStretchingTheirSubjects)
{
    LayoutParent parent(400, 300);
    parent.AddChild(1, { 300, 10, 380, 40 });    // a button pinned to the bottom right
    parent.AddChild(2, { 10, 10, 290, 250 });    // a list whose right edge follows the button
    parent.AddChild(3, { 300, 200, 380, 230 });  // a button that sits on the first one
    parent.AddChild(4, { 10, 260, 50, 280 });    // named by no rule
    // The first two rules read edges that only the last two settle.
    LayoutRule rules[] = {
        Rule(Move, MetricBottom, 3, MetricTop, 1),
        Rule(Stretch, MetricRight, 2, MetricLeft, 1),
        Rule(Move, MetricRight, 1, MetricRight, ParentId),
        Rule(Move, MetricBottom, 1, MetricBottom, ParentId),
        End,
    };

    parent.Resize(500, 360);
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));

    EXPECT_EQ((RECT{ 420, 330, 500, 360 }), parent.Place(1)) << "moved with its size";
    EXPECT_EQ((RECT{ 10, 10, 420, 250 }), parent.Place(2)) << "stretched from its left edge";
    EXPECT_EQ((RECT{ 300, 300, 380, 330 }), parent.Place(3));
    EXPECT_EQ((RECT{ 10, 260, 50, 280 }), parent.Place(4));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(1, rules[i].applied) << "rule " << i;

    // The next run starts from where the children are now.
    parent.Resize(450, 330);
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));
    EXPECT_EQ((RECT{ 370, 300, 450, 330 }), parent.Place(1));
    EXPECT_EQ((RECT{ 10, 10, 370, 250 }), parent.Place(2));
}

TEST(LayoutManagerTest, ShareOfAWidthTruncatesTowardZero)
{
    LayoutParent parent(401, 100);
    parent.AddChild(5, { 0, 10, 50, 30 });
    parent.AddChild(6, { 0, 40, 50, 60 });
    LayoutRule rules[] = {
        Rule(Stretch, MetricRight, 5, MetricWidth, ParentId, 0, 50),
        Rule(Move, MetricLeft, 6, MetricWidth, ParentId, 0, 33),
        End,
    };
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));
    EXPECT_EQ((RECT{ 0, 10, 200, 30 }), parent.Place(5));
    EXPECT_EQ((RECT{ 132, 40, 182, 60 }), parent.Place(6));
}

TEST(LayoutManagerTest, NegativeDialogUnitsTruncateTowardZero)
{
    HFONT font = FontWithHorizontalBase(6);
    if (!font)
        GTEST_SKIP() << "no Tahoma size with a 6-pixel character width here";
    {
        LayoutParent parent(300, 200, font);
        parent.AddChild(7, { 0, 0, 40, 20 });
        parent.AddChild(8, { 100, 0, 140, 20 });
        parent.AddChild(9, { 0, 50, 40, 70 });
        parent.AddChild(10, { 100, 50, 140, 70 });
        LayoutRule rules[] = {
            Rule(Move, MetricRight, 7, MetricRight, ParentId, -5),
            Rule(Move, MetricLeft, 8, MetricLeft, ParentId, 5),
            Rule(Move, MetricBottom, 9, MetricBottom, ParentId, -5),
            Rule(Move, MetricTop, 10, MetricTop, ParentId, 5),
            End,
        };
        EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));
        // -5 x 6 / 4 is -7.5: -7, not -8.
        EXPECT_EQ(-7, rules[0].pixels);
        EXPECT_EQ(293, parent.Place(7).right);
        EXPECT_EQ(7, parent.Place(8).left);
        EXPECT_GT(rules[3].pixels, 0);
        EXPECT_EQ(-rules[3].pixels, rules[2].pixels) << "vertical units truncate the same way";
        EXPECT_EQ(200 + rules[2].pixels, parent.Place(9).bottom);
    }
    DeleteObject(font);
}

TEST(LayoutManagerTest, MinimisedWindowKeepsItsChildren)
{
    LayoutParent parent(300, 200);
    parent.AddChild(1, { 10, 10, 50, 30 });
    LayoutRule rules[] = { Rule(Move, MetricRight, 1, MetricRight, ParentId), End };

    ShowWindow(parent.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(parent.m_hWnd));
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));
    EXPECT_EQ((RECT{ 10, 10, 50, 30 }), parent.Place(1));

    ShowWindow(parent.m_hWnd, SW_RESTORE);
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));
    EXPECT_EQ((RECT{ 260, 10, 300, 30 }), parent.Place(1));
}

TEST(LayoutManagerTest, CentredPairMovesAsABlockKeepingItsTie)
{
    LayoutParent parent(400, 300);
    parent.AddChild(20, { 20, 100, 100, 130 });
    parent.AddChild(21, { 300, 110, 360, 130 });
    parent.AddChild(22, { 10, 10, 50, 50 });
    LayoutRule rules[] = {
        Rule(Move, MetricLeft, 21, MetricRight, 20, 4),
        Centre(CentreHorizontal, 20, 21, ParentId),
        Centre(CentreVertical, 22, 22, 21),
        End,
    };
    EXPECT_TRUE(ApplyLayoutRules(parent.m_hWnd, rules));

    const RECT first = parent.Place(20);
    const RECT second = parent.Place(21);
    const int gap = rules[0].pixels;
    EXPECT_GT(gap, 0);
    EXPECT_EQ(gap, second.left - first.right) << "the tie holds";
    EXPECT_EQ(80, Width(first));
    EXPECT_EQ(60, Width(second));
    const int block = 80 + gap + 60;
    EXPECT_EQ((400 - block) / 2, first.left);
    EXPECT_EQ(100, first.top) << "centring across leaves the other axis alone";
    EXPECT_EQ(110, second.top);

    // One child centred on the middle of another, along the vertical axis.
    const RECT third = parent.Place(22);
    EXPECT_EQ(10, third.left);
    EXPECT_EQ(40, Height(third));
    EXPECT_EQ(second.top + (Height(second) - 40) / 2, third.top);
}

TEST(LayoutManagerTest, MalformedTablesAreReportedAndMoveNothing)
{
    struct Case {
        const char* message;
        std::vector<LayoutRule> rules;
    };
    // Each table starts with a rule that would move child 1.
    const LayoutRule fine = Rule(Move, MetricRight, 1, MetricRight, ParentId);
    const Case cases[] = {
        { "Invalid side", { fine, Rule(Move, MetricWidth, 2, MetricWidth, ParentId), End } },
        { "Invalid metric", { fine, Rule(Stretch, static_cast<LayoutMetric>(9), 2, MetricLeft, ParentId), End } },
        { "Invalid metric", { fine, Rule(Move, MetricLeft, 2, MetricCentre, ParentId), End } },
        { "Invalid action", { fine, Rule(static_cast<LayoutAction>(7), MetricLeft, 2, MetricLeft, ParentId), End } },
        { "Child not found in child list", { fine, Rule(Move, MetricLeft, 99, MetricLeft, ParentId), End } },
        { "Child not found in child list", { fine, Rule(Move, MetricLeft, 2, MetricRight, 99), End } },
        { "Unable to apply rules",
          { fine, Rule(Move, MetricLeft, 2, MetricRight, 3), Rule(Move, MetricLeft, 3, MetricRight, 2), End } },
        { "Unable to apply rules to centered children",
          { fine, Rule(Move, MetricLeft, 3, MetricRight, 2), Rule(Move, MetricRight, 2, MetricLeft, 3),
            Centre(CentreHorizontal, 2, 3, ParentId), End } },
    };

    LayoutParent parent(400, 300);
    parent.AddChild(1, { 10, 10, 50, 30 });
    parent.AddChild(2, { 60, 10, 100, 30 });
    parent.AddChild(3, { 110, 10, 150, 30 });
    const std::map<int, RECT> before = parent.Places({ 1, 2, 3 });
    for (const Case& test : cases) {
        SCOPED_TRACE(test.message);
        std::vector<LayoutRule> rules = test.rules;
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(ApplyLayoutRules(parent.m_hWnd, rules.data()));
        ASSERT_EQ(1u, answerer.Boxes().size());
        EXPECT_EQ(test.message, answerer.Boxes()[0].text);
        EXPECT_EQ("Assertion Failed", answerer.Boxes()[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), answerer.Boxes()[0].flags & MB_ICONMASK);
        EXPECT_EQ(before, parent.Places({ 1, 2, 3 }));
    }
}
