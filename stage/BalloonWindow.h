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
    // How far the first glyph's ink reaches left of the text's start and the last
    // glyph's right of its advance (slanted and heavy type overhang); never negative.
    struct Overhang {
        int left = 0;
        int right = 0;
    };
    Overhang MeasureOverhang(const std::string& text) const;
    // The width of the text's ink, overhangs included.
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
    int overhang_ = 0;  // the font's own, for fonts without glyph widths
    Overhang slant_;    // how far italic type leans over its start and its advance
    int maxTextWidth_ = 0;
    int maxLines_ = 0;
    std::unique_ptr<BalloonText> text_;
    size_t shown_ = 0;
    SIZE body_{};
    BalloonPlacement placement_;
};
