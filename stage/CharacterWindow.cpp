#include "stage/CharacterWindow.h"
#include "framework/ScreenDpi.h"
#include "stage/PixelScaling.h"

namespace {

const UINT_PTR kTickTimer = 1;

} // namespace

CharacterWindow::~CharacterWindow()
{
    StopTicking();
    if (memoryDc_) {
        ::SelectObject(memoryDc_, previousBitmap_);
        ::DeleteDC(memoryDc_);
    }
    if (bitmap_)
        ::DeleteObject(bitmap_);
}

bool CharacterWindow::Create(int frameWidth, int frameHeight, int dpi, std::string& error)
{
    frameWidth_ = frameWidth;
    frameHeight_ = frameHeight;
    const int width = ScaleForDpi(frameWidth, dpi);
    const int height = ScaleForDpi(frameHeight, dpi);
    width_ = width;
    height_ = height;
    if (width != frameWidth || height != frameHeight)
        frame_.assign(static_cast<size_t>(frameWidth) * frameHeight, 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memoryDc_ = ::CreateCompatibleDC(nullptr);
    if (!bitmap_ || !memoryDc_) {
        error = "could not make a " + std::to_string(width) + " x " + std::to_string(height) +
                " bitmap for the character";
        return false;
    }
    previousBitmap_ = ::SelectObject(memoryDc_, bitmap_);
    pixels_ = static_cast<uint32_t*>(bits);
    const RECT rect = { 0, 0, width, height };
    return CreatePopup("ParlacardStageCharacter", WS_EX_LAYERED, rect, error);
}

bool CharacterWindow::Present()
{
    ::GdiFlush();
    if (!frame_.empty())
        ScalePixels(frame_.data(), frameWidth_, frameHeight_, pixels_, width_, height_);
    SIZE size = { width_, height_ };
    POINT origin = { 0, 0 };
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    if (!::UpdateLayeredWindow(Handle(), nullptr, nullptr, &size, memoryDc_, &origin, 0, &blend, ULW_ALPHA))
        return false;
    // A window opened since the last frame (a dialog) must not hide the character.
    KeepInFront();
    return true;
}

POINT CharacterWindow::Position() const
{
    const RECT rect = ScreenRect();
    return POINT{ rect.left, rect.top };
}

void CharacterWindow::MoveTo(POINT position)
{
    ::SetWindowPos(Handle(), nullptr, position.x, position.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CharacterWindow::ScreenRect() const
{
    RECT rect{};
    ::GetWindowRect(Handle(), &rect);
    return rect;
}

void CharacterWindow::StartTicking(UINT interval, std::function<void()> onTick)
{
    onTick_ = std::move(onTick);
    ticking_ = ::SetTimer(Handle(), kTickTimer, interval, nullptr) != 0;
}

void CharacterWindow::StopTicking()
{
    if (ticking_ && Handle())
        ::KillTimer(Handle(), kTickTimer);
    ticking_ = false;
}

LRESULT CharacterWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTickTimer) {
        // The handler may stop the ticking (and drop itself); it runs from a copy.
        if (ticking_ && onTick_) {
            const std::function<void()> onTick = onTick_;
            onTick();
        }
        return 0;
    }
    return StageWindow::HandleMessage(message, wParam, lParam);
}
