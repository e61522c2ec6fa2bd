#pragma once
#include "stage/BalloonPlacement.h"
#include "stage/BalloonText.h"
#include "stage/CharacterData.h"
#include "stage/StageWindow.h"
#include <memory>

// The word balloon beside a speaking character, in the colours, font and number of
// lines the character file gives. It is sized to the whole text when it opens, then
// shows the words as they are spoken, scrolling when they need more lines than it has.
class BalloonWindow : public StageWindow {
public:
    // The balloon is drawn at the scale of dpi.
    BalloonWindow(const CharacterBalloon& look, int dpi);
    ~BalloonWindow() override;

    bool Create(std::string& error);

    // Lays the text (8-bit, the system's code page) out and shows the balloon, still
    // empty, next to the character's window rectangle.
    void Open(const std::string& text, const RECT& character);
    // Shows the first `count` words.
    void ShowWords(size_t count);
    void Close() { Hide(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int MeasureText(const std::string& text) const;
    RECT BodyRect() const;
    HRGN MakeShape() const;
    void Paint(HDC dc) const;

    CharacterBalloon look_;
    // Lengths at the balloon's scale.
    int padding_;
    int cornerRadius_;
    int tailHeight_;
    int tailHalfWidth_;
    int fontHeight_;
    HFONT font_ = nullptr;
    HDC measureDc_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
    int lineHeight_ = 0;
    int maxTextWidth_ = 0;
    int maxLines_ = 0;
    std::unique_ptr<BalloonText> text_;
    size_t shown_ = 0;
    SIZE body_{};
    BalloonPlacement placement_;
};
