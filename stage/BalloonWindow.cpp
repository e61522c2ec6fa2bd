#include "stage/BalloonWindow.h"
#include "framework/ScreenDpi.h"
#include "stage/AutomationText.h"
#include <algorithm>

namespace {

// Lengths at 96 DPI.
const int kPadding = 8;        // between the border and the text
const int kCornerRadius = 14;
const int kTailHeight = 14;
const int kTailHalfWidth = 7;

COLORREF ToColorRef(CharacterColor color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

} // namespace

BalloonWindow::BalloonWindow(const CharacterBalloon& look, int dpi)
    : look_(look), padding_(ScaleForDpi(kPadding, dpi)), cornerRadius_(ScaleForDpi(kCornerRadius, dpi)),
      tailHeight_(ScaleForDpi(kTailHeight, dpi)), tailHalfWidth_(ScaleForDpi(kTailHalfWidth, dpi)),
      fontHeight_(ScaleForDpi(look.fontHeight, dpi))
{
}

BalloonWindow::~BalloonWindow()
{
    if (measureDc_) {
        ::SelectObject(measureDc_, previousFont_);
        ::DeleteDC(measureDc_);
    }
    if (font_)
        ::DeleteObject(font_);
}

bool BalloonWindow::Create(std::string& error)
{
    const std::string face = RecodeText(look_.fontName, CP_UTF8, CP_ACP).substr(0, LF_FACESIZE - 1);
    font_ = ::CreateFontA(fontHeight_, 0, 0, 0, look_.fontWeight, look_.italic, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          face.c_str());
    measureDc_ = ::CreateCompatibleDC(nullptr);
    if (!font_ || !measureDc_) {
        error = "could not make the balloon's font \"" + face + "\"";
        return false;
    }
    previousFont_ = ::SelectObject(measureDc_, font_);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(measureDc_, &metrics);
    lineHeight_ = metrics.tmHeight;
    overhang_ = metrics.tmOverhang;
    // Italic type leans about one pixel in five: the top of a tall last glyph reaches
    // that far past its advance, a descender of the first that far before its start.
    if (metrics.tmItalic)
        slant_ = { (metrics.tmDescent + 4) / 5, (metrics.tmAscent + 4) / 5 };
    // Files that leave the layout out still get a balloon of a usual size.
    const int charsPerLine = look_.charsPerLine ? look_.charsPerLine : 32;
    maxTextWidth_ = charsPerLine * std::max<int>(1, metrics.tmAveCharWidth);
    maxLines_ = look_.lines ? look_.lines : 2;
    const RECT rect = { 0, 0, 1, 1 };
    return CreatePopup("ParlacardStageBalloon", 0, rect, error);
}

BalloonWindow::Overhang BalloonWindow::MeasureOverhang(const std::string& text) const
{
    Overhang overhang;
    if (text.empty())
        return overhang;
    ABC first{}, last{};
    const UINT firstChar = static_cast<unsigned char>(text.front());
    const UINT lastChar = static_cast<unsigned char>(text.back());
    if (::GetCharABCWidthsA(measureDc_, firstChar, firstChar, &first) &&
        ::GetCharABCWidthsA(measureDc_, lastChar, lastChar, &last)) {
        overhang.left = std::max(0, -first.abcA);
        overhang.right = std::max(0, -last.abcC);
    }
    // Not every system's glyph widths allow for the slant, nor for a bitmap font's
    // synthesised italic and bold: keep the room those take.
    overhang.left = std::max(overhang.left, slant_.left);
    overhang.right = std::max({ overhang.right, slant_.right, overhang_ });
    return overhang;
}

int BalloonWindow::MeasureText(const std::string& text) const
{
    SIZE size{};
    ::GetTextExtentPoint32A(measureDc_, text.c_str(), static_cast<int>(text.size()), &size);
    const Overhang overhang = MeasureOverhang(text);
    return overhang.left + size.cx + overhang.right;
}

void BalloonWindow::Open(const std::string& text, const RECT& character)
{
    const BalloonText::Measure measure = [this](const std::string& piece) { return MeasureText(piece); };
    text_ = std::make_unique<BalloonText>(text);
    text_->Wrap(measure, maxTextWidth_);
    shown_ = 0;
    const int lines = static_cast<int>(std::min<size_t>(text_->LineCount(), static_cast<size_t>(maxLines_)));
    body_.cx = std::min(text_->Width(measure), maxTextWidth_) + 2 * padding_;
    body_.cy = std::max(lines, 1) * lineHeight_ + 2 * padding_;

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromRect(&character, MONITOR_DEFAULTTONEAREST), &monitor);
    placement_ = PlaceBalloon(body_, tailHeight_, cornerRadius_ + tailHalfWidth_, character, monitor.rcWork);

    const RECT& window = placement_.window;
    ::SetWindowPos(Handle(), HWND_TOPMOST, window.left, window.top, window.right - window.left,
                   window.bottom - window.top, SWP_NOACTIVATE);
    ::SetWindowRgn(Handle(), MakeShape(), FALSE);
    ::InvalidateRect(Handle(), nullptr, TRUE);
    Show();
}

void BalloonWindow::ShowWords(size_t count)
{
    shown_ = count;
    KeepInFront();
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

RECT BalloonWindow::BodyRect() const
{
    const int top = placement_.below ? tailHeight_ : 0;
    return RECT{ 0, top, body_.cx, top + body_.cy };
}

HRGN BalloonWindow::MakeShape() const
{
    const RECT body = BodyRect();
    HRGN shape = ::CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1, cornerRadius_,
                                      cornerRadius_);
    const int x = placement_.tailX;
    const int base = placement_.below ? body.top + 1 : body.bottom - 1;
    const int tip = placement_.below ? 0 : body.bottom + tailHeight_;
    const POINT tail[3] = { { x - tailHalfWidth_, base }, { x + tailHalfWidth_, base }, { x, tip } };
    HRGN tailShape = ::CreatePolygonRgn(tail, 3, WINDING);
    ::CombineRgn(shape, shape, tailShape, RGN_OR);
    ::DeleteObject(tailShape);
    return shape;
}

void BalloonWindow::Paint(HDC dc) const
{
    HRGN shape = MakeShape();
    HBRUSH background = ::CreateSolidBrush(ToColorRef(look_.background));
    HBRUSH border = ::CreateSolidBrush(ToColorRef(look_.border));
    ::FillRgn(dc, shape, background);
    ::FrameRgn(dc, shape, border, 1, 1);
    ::DeleteObject(border);
    ::DeleteObject(background);
    ::DeleteObject(shape);

    if (!text_)
        return;
    const HGDIOBJ previous = ::SelectObject(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(look_.foreground));
    const RECT body = BodyRect();
    RECT line = { body.left + padding_, body.top + padding_, body.right - padding_,
                  body.top + padding_ + lineHeight_ };
    for (const std::string& text : text_->VisibleLines(shown_, static_cast<size_t>(maxLines_))) {
        // The glyphs' overhangs were measured into the line's room: the text starts past
        // the first one, and neither is cut at the edge of the advances.
        RECT room = line;
        room.left += MeasureOverhang(text).left;
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &room,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP);
        ::OffsetRect(&line, 0, lineHeight_);
    }
    ::SelectObject(dc, previous);
}

LRESULT BalloonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        const HDC dc = ::BeginPaint(Handle(), &paint);
        Paint(dc);
        ::EndPaint(Handle(), &paint);
        return 0;
    }
    return StageWindow::HandleMessage(message, wParam, lParam);
}
