#pragma once
#include <windows.h>
#include <functional>

// The client area of a window as the window paints it when asked to print itself into a
// memory bitmap: the pixels a user would see, free of whatever overlaps it on screen.
class WindowSnapshot {
public:
    // The bitmap starts filled with the fill colour, so that pixels nobody paints show it.
    explicit WindowSnapshot(HWND window, COLORREF fill = RGB(1, 2, 3));
    ~WindowSnapshot();
    WindowSnapshot(const WindowSnapshot&) = delete;
    WindowSnapshot& operator=(const WindowSnapshot&) = delete;

    int Width() const { return width; }
    int Height() const { return height; }
    COLORREF At(int x, int y) const;
    // The smallest rectangle holding every pixel that matches, within the area (the whole
    // snapshot by default); empty when none does.
    RECT BoundsOf(const std::function<bool(COLORREF)>& match, const RECT* area = nullptr) const;
    RECT BoundsOf(COLORREF colour, const RECT* area = nullptr) const;
    int Count(const std::function<bool(COLORREF)>& match, const RECT* area = nullptr) const;

private:
    int width = 0;
    int height = 0;
    HBITMAP bitmap = nullptr;
    const DWORD* bits = nullptr;
};
