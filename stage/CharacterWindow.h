#pragma once
#include "stage/StageWindow.h"
#include <cstdint>
#include <functional>

// The character on the screen: a per-pixel transparent layered window showing a 32-bit
// premultiplied bitmap the size of the character's frame. It also carries the timer
// that drives the character's requests.
class CharacterWindow : public StageWindow {
public:
    CharacterWindow() = default;
    ~CharacterWindow() override;

    // Creates the window hidden at the top left corner of the screen.
    bool Create(int width, int height, std::string& error);

    // The bitmap to draw into: width * height pixels, top row first.
    uint32_t* Pixels() { return pixels_; }
    // Puts the bitmap on the screen.
    bool Present();

    POINT Position() const;
    void MoveTo(POINT position);
    RECT ScreenRect() const;

    // Calls onTick every interval milliseconds until StopTicking.
    void StartTicking(UINT interval, std::function<void()> onTick);
    void StopTicking();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int width_ = 0;
    int height_ = 0;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    std::function<void()> onTick_;
    bool ticking_ = false;
};
