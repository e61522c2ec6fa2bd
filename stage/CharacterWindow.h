#pragma once
#include "stage/StageWindow.h"
#include <cstdint>
#include <functional>
#include <vector>

// The character on the screen: a per-pixel transparent layered window showing a 32-bit
// premultiplied bitmap of the character's frame, drawn at the screen's scale (a frame
// drawn for 96 DPI is shown twice as large at 192). It also carries the timer that
// drives the character's requests.
class CharacterWindow : public StageWindow {
public:
    CharacterWindow() = default;
    ~CharacterWindow() override;

    // Creates the window hidden at the top left corner of the screen, for frames of
    // width x height pixels shown at the scale of dpi.
    bool Create(int width, int height, int dpi, std::string& error);

    // The frame to draw into: width * height pixels, top row first.
    uint32_t* Pixels() { return frame_.empty() ? pixels_ : frame_.data(); }
    // Puts the frame on the screen.
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
    int width_ = 0;   // of the window, at the screen's scale
    int height_ = 0;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    // The frame as drawn, where the window shows it scaled; empty at 96 DPI.
    std::vector<uint32_t> frame_;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    std::function<void()> onTick_;
    bool ticking_ = false;
};
