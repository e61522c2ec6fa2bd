#include "controls/OXBitmapButton.h"
#include "framework/WinApp.h"
#include <windowsx.h>
#include <cstddef>
#include <cstring>

namespace {
// Posted to re-run hot tracking once the current message is done.
const UINT HotTrackAgainMessage = 0x80C8;
// Image and caption shift while pressed, checked, or hot in the flat look.
const POINT PressedOffset = { 2, 2 };
const POINT CheckedOffset = { 1, 1 };
const POINT HotOffset = { -1, -1 };
// The focus rectangle lies this far inside the button.
const int FocusInset = 4;
// The transparent look marks the focus with a dot of this size.
const SIZE FocusDot = { 7, 6 };
// The drop-down arrow area is the glyph plus the separator; the separator leaves this
// much of the height free at top and bottom.
const int SeparatorWidth = 2;
const int SeparatorInset = 5;

const COLORREF CaptionColour = RGB(0, 0, 0);

// Shared by every button; read at start and again on each system colour change.
COLORREF faceColour = CLR_INVALID;

bool FontAttributes(HFONT font, LOGFONTA& attributes)
{
    return font && ::GetObjectA(font, sizeof(attributes), &attributes) == sizeof(attributes);
}

bool SameAttributes(HFONT a, HFONT b)
{
    LOGFONTA first;
    LOGFONTA second;
    if (!FontAttributes(a, first) || !FontAttributes(b, second))
        return false;
    return std::memcmp(&first, &second, offsetof(LOGFONTA, lfFaceName)) == 0 &&
           lstrcmpA(first.lfFaceName, second.lfFaceName) == 0;
}

HFONT CopyFont(HFONT font)
{
    LOGFONTA attributes;
    return FontAttributes(font, attributes) ? ::CreateFontIndirectA(&attributes) : nullptr;
}

void FillFace(HDC dc, const RECT& rect)
{
    if (HBRUSH brush = ::CreateSolidBrush(faceColour)) {
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
    }
}

bool IsIgnoredWhileDisabled(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case BM_CLICK:
        return true;
    default:
        return false;
    }
}

struct CaptionDrawing {
    const std::string* text;
    UINT format;
};

BOOL CALLBACK DrawCaptionText(HDC dc, LPARAM data, WPARAM, int width, int height)
{
    const CaptionDrawing* drawing = reinterpret_cast<const CaptionDrawing*>(data);
    RECT rect = { 0, 0, width, height };
    ::DrawTextA(dc, drawing->text->c_str(), static_cast<int>(drawing->text->size()), &rect, drawing->format);
    return TRUE;
}

void OffsetPart(RECT& part, POINT offset)
{
    if (!::IsRectEmpty(&part))
        ::OffsetRect(&part, offset.x, offset.y);
}
}

BEGIN_MESSAGE_MAP(COXBitmapButton, CButton)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_KEYUP, OnKeyUp)
    ON_MESSAGE(WM_SYSKEYUP, OnDefaultThenLeaveCheck)
    ON_MESSAGE(WM_MBUTTONUP, OnDefaultThenLeaveCheck)
    ON_MESSAGE(WM_ENABLE, OnDefaultThenLeaveCheck)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_SIZE, OnSizeOrMove)
    ON_MESSAGE(WM_MOVE, OnSizeOrMove)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
    ON_MESSAGE(HotTrackAgainMessage, OnHotTrackAgain)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

COXBitmapButton::COXBitmapButton()
{
    if (faceColour == CLR_INVALID)
        faceColour = ::GetSysColor(COLOR_BTNFACE);
    arrowWidth_ = MeasureArrow();
}

COXBitmapButton::~COXBitmapButton()
{
    // The control may outlive this object: it must keep neither our tip nor our font.
    toolTip_.Destroy();
    if (m_hWnd && textFont_ && reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) == textFont_)
        SendMessage(WM_SETFONT, 0, FALSE);
    if (textFont_)
        ::DeleteObject(textFont_);
    if (arrowFont_)
        ::DeleteObject(arrowFont_);
    ForgetBackground();
}

bool COXBitmapButton::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

bool COXBitmapButton::LoadButtonBitmap(UINT resourceId, bool resize, COLORREF mask)
{
    const bool loaded = images_.LoadBitmap(AfxGetResourceHandle(), resourceId, mask);
    if (loaded && resize)
        SizeToContent();
    if (m_hWnd)
        Invalidate();
    return loaded;
}

bool COXBitmapButton::LoadButtonIcon(UINT resourceId, bool resize, int width, int height)
{
    const bool loaded = images_.LoadIcon(AfxGetResourceHandle(), resourceId, width, height);
    if (loaded && resize)
        SizeToContent();
    if (m_hWnd)
        Invalidate();
    return loaded;
}

void COXBitmapButton::SetImageAlignment(DWORD bits)
{
    ChangeStyle(BS_CENTER, bits);
}

void COXBitmapButton::SetImageVerticalAlignment(DWORD bits)
{
    ChangeStyle(BS_VCENTER, bits);
}

void COXBitmapButton::ChangeStyle(DWORD mask, DWORD bits)
{
    if (!m_hWnd)
        return;
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~mask) | (bits & mask);
    if (changed == style)
        return;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, changed);
    Invalidate();
}

HFONT COXBitmapButton::GetButtonTextFont()
{
    HFONT windowFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!windowFont) {
        if (textFont_)
            ::DeleteObject(textFont_);
        textFont_ = nullptr;
        return nullptr;
    }
    if (windowFont != textFont_ && !SameAttributes(windowFont, textFont_)) {
        if (HFONT copy = CopyFont(windowFont)) {
            if (textFont_)
                ::DeleteObject(textFont_);
            textFont_ = copy;
        }
    }
    return textFont_;
}

void COXBitmapButton::SetButtonTextFont(HFONT font)
{
    if (SameAttributes(font, textFont_)) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
        return;
    }
    HFONT copy = CopyFont(font);
    if (!copy)
        return;
    HFONT previous = textFont_;
    textFont_ = copy;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(copy), TRUE);
    if (previous)
        ::DeleteObject(previous);
}

std::string COXBitmapButton::WindowTextPart(int part) const
{
    const std::string text = GetWindowText();
    const size_t split = text.find('\n');
    if (part == 0)
        return text.substr(0, split);
    if (split == std::string::npos)
        return std::string();
    return text.substr(split + 1, text.find('\n', split + 1) - split - 1);
}

void COXBitmapButton::SetButtonToolTipText(const std::string& text)
{
    const std::string caption = WindowTextPart(0);
    SetWindowText(text.empty() ? caption : caption + "\n" + text);
}

void COXBitmapButton::EnableButtonToolTip(bool enable)
{
    if (!enable) {
        toolTip_.Destroy();
        return;
    }
    if (!toolTip_.Create(m_hWnd))
        return;
    UpdateToolTip();
    toolTip_.Activate(true);
}

void COXBitmapButton::UpdateToolTip()
{
    if (!toolTip_.Exists())
        return;
    const std::string tip = WindowTextPart(1);
    if (tip.empty())
        toolTip_.RemoveTool();
    else
        toolTip_.SetTool(tip);
}

void COXBitmapButton::SetTrackLook(bool on)
{
    trackLook_ = on;
    hot_ = false;
    if (m_hWnd)
        Invalidate();
}

void COXBitmapButton::SetTransparent(bool on)
{
    transparent_ = on;
    ForgetBackground();
    if (m_hWnd)
        Invalidate();
}

void COXBitmapButton::SetButtonExtendedStyle(DWORD style)
{
    extendedStyle_ = style;
    if (m_hWnd)
        Invalidate();
}

void COXBitmapButton::SizeToContent()
{
    if (!m_hWnd)
        return;
    const SIZE fit = GetFitSize();
    HWND parent = GetParent();
    RECT before;
    GetWindowRect(&before);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&before), 2);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, fit.cx, fit.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT after = { before.left, before.top, before.left + fit.cx, before.top + fit.cy };
    RECT both;
    ::UnionRect(&both, &before, &after);
    ::InvalidateRect(parent, &both, TRUE);
}

SIZE COXBitmapButton::GetFitSize()
{
    const ButtonAlignment alignment = AlignmentOf(GetStyle());
    ButtonContent content;
    content.hasImage = !images_.Empty();
    content.image = images_.ImageSize();
    const std::string caption = WindowTextPart(0);
    content.hasCaption = !caption.empty();
    if (content.hasCaption) {
        HDC dc = ::GetDC(m_hWnd);
        if (dc) {
            HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
            HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
            content.caption = MeasureFitCaption(dc, caption, alignment.multiLine);
            if (previous)
                ::SelectObject(dc, previous);
            ::ReleaseDC(m_hWnd, dc);
        }
    }
    SIZE fit = FitButtonSize(alignment, content);
    fit.cx += ArrowAreaWidth();
    return fit;
}

// A multi-line caption is reshaped until it is neither a long strip nor a tall column.
SIZE COXBitmapButton::MeasureFitCaption(HDC dc, const std::string& caption, bool multiLine) const
{
    RECT rect = {};
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    if (!multiLine)
        return { rect.right, rect.bottom };
    RECT previous = { -1, -1, -1, -1 };
    LONG width = rect.right;
    // Each round narrows or widens; a caption that cannot change any more stops sooner.
    for (int round = 0; round < 32; ++round) {
        rect = { 0, 0, width, 0 };
        ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, DT_CALCRECT | DT_WORDBREAK);
        if (::EqualRect(&rect, &previous) || rect.right <= 0 || rect.bottom <= 0)
            break;
        previous = rect;
        const double wide = static_cast<double>(rect.right) / rect.bottom;
        const double tall = static_cast<double>(rect.bottom) / rect.right;
        if (wide < 2.6 && tall < 1.0)
            break;
        width = wide >= 2.0 ? rect.right - rect.right / 3 : rect.right + rect.right / 4;
    }
    return { rect.right, rect.bottom };
}

int COXBitmapButton::ArrowAreaWidth() const
{
    return IsDropDown() && !(extendedStyle_ & ButtonNoArrow) ? arrowWidth_ + SeparatorWidth : 0;
}

int COXBitmapButton::MeasureArrow()
{
    if (!arrowFont_)
        arrowFont_ = ::CreateFontA(::GetSystemMetrics(SM_CYMENUCHECK), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   SYMBOL_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, "Marlett");
    HDC screen = arrowFont_ ? ::GetDC(nullptr) : nullptr;
    if (!screen)
        return 0;
    HGDIOBJ previous = ::SelectObject(screen, arrowFont_);
    SIZE extent = {};
    ::GetTextExtentPoint32A(screen, "6", 1, &extent);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return extent.cx;
}

ButtonParts COXBitmapButton::PlaceParts(HDC dc, SIZE button, UINT itemState)
{
    const ButtonAlignment alignment = AlignmentOf(GetStyle());
    ButtonContent content;
    content.hasImage = !images_.Empty();
    content.image = images_.ImageSize();
    const std::string caption = WindowTextPart(0);
    content.hasCaption = !caption.empty();
    if (content.hasCaption) {
        const SIZE space = CaptionSpace(button, ArrowAreaWidth(), alignment, content);
        RECT measured = { 0, 0, space.cx, 0 };
        ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                    DT_CALCRECT | (alignment.multiLine ? DT_WORDBREAK : DT_SINGLELINE));
        content.caption = CaptionForPlacement({ measured.right, measured.bottom }, space, alignment, content.hasImage);
    }
    ButtonParts parts = PlaceButtonParts(button, alignment, content);
    POINT offset = {};
    if (itemState & ODS_SELECTED)
        offset = PressedOffset;
    else if (state_ & ButtonChecked)
        offset = CheckedOffset;
    else if (trackLook_ && hot_ && !(itemState & ODS_DISABLED))
        offset = HotOffset;
    OffsetPart(parts.image, offset);
    OffsetPart(parts.caption, offset);
    return parts;
}

void COXBitmapButton::DrawItem(DRAWITEMSTRUCT* item)
{
    const RECT& target = item->rcItem;
    const SIZE size = { target.right - target.left, target.bottom - target.top };
    if (size.cx <= 0 || size.cy <= 0)
        return;
    HDC dc = ::CreateCompatibleDC(item->hDC);
    HBITMAP bitmap = dc ? ::CreateCompatibleBitmap(item->hDC, size.cx, size.cy) : nullptr;
    if (!bitmap) {
        if (dc)
            ::DeleteDC(dc);
        return;
    }
    HGDIOBJ previousBitmap = ::SelectObject(dc, bitmap);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ previousFont = ::SelectObject(dc, font ? font : ::GetCurrentObject(item->hDC, OBJ_FONT));
    // The window's own enabled state decides, whatever the caller passed.
    const UINT itemState = IsWindowEnabled() ? item->itemState & ~ODS_DISABLED : item->itemState | ODS_DISABLED;

    const RECT button = { 0, 0, size.cx, size.cy };
    const ButtonParts parts = PlaceParts(dc, size, itemState);
    PreparePalette(dc);
    DrawBackground(dc, button, itemState);
    DrawImage(dc, parts.image, itemState);
    DrawCaption(dc, parts.caption, itemState);
    if (ArrowAreaWidth() > 0)
        DrawDropDownArrow(dc, button, itemState);
    if (itemState & ODS_FOCUS)
        DrawFocus(dc, button, parts.image, itemState);
    ::BitBlt(item->hDC, target.left, target.top, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    FinishDrawing(dc);

    ::SelectObject(dc, previousFont);
    ::SelectObject(dc, previousBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

void COXBitmapButton::PreparePalette(HDC dc)
{
    if (!images_.Palette())
        return;
    previousPalette_ = ::SelectPalette(dc, images_.Palette(), FALSE);
    ::RealizePalette(dc);
}

void COXBitmapButton::FinishDrawing(HDC dc)
{
    if (previousPalette_)
        ::SelectPalette(dc, previousPalette_, FALSE);
    previousPalette_ = nullptr;
}

void COXBitmapButton::DrawBackground(HDC dc, const RECT& button, UINT itemState)
{
    if (transparent_) {
        if (background_)
            ImageList_Draw(background_, 0, dc, 0, 0, ILD_NORMAL);
        else
            FillFace(dc, button);
        return;
    }
    const bool checked = (state_ & ButtonChecked) != 0;
    const bool disabled = (itemState & ODS_DISABLED) != 0;
    RECT frame = button;
    UINT look = DFCS_BUTTONPUSH;
    if ((state_ & ButtonIndeterminate) || (checked && ((trackLook_ && hot_) || IsDropDown()))) {
        look |= DFCS_PUSHED;
    } else if (checked) {
        look |= DFCS_CHECKED;
    } else if (itemState & ODS_SELECTED) {
        look |= DFCS_PUSHED;
    } else if (trackLook_ && (!hot_ || disabled)) {
        FillFace(dc, button);
        return;
    } else if (disabled) {
        look |= DFCS_INACTIVE;
    } else if ((itemState & ODS_FOCUS) && !trackLook_) {
        // The black default frame takes the outer pixel.
        ::InflateRect(&frame, -1, -1);
    }
    ::DrawFrameControl(dc, &frame, DFC_BUTTON, look);
}

void COXBitmapButton::DrawImage(HDC dc, const RECT& image, UINT itemState)
{
    if (images_.Empty() || ::IsRectEmpty(&image))
        return;
    int index = ButtonImages::Normal;
    if ((itemState & ODS_DISABLED) && !transparent_)
        index = ButtonImages::Disabled;
    else if ((state_ & ButtonIndeterminate) || (trackLook_ && !hot_ && !(itemState & ODS_SELECTED)))
        index = ButtonImages::Grey;
    images_.Draw(dc, index, image);
}

void COXBitmapButton::DrawCaption(HDC dc, const RECT& caption, UINT itemState)
{
    const std::string text = WindowTextPart(0);
    if (text.empty() || ::IsRectEmpty(&caption))
        return;
    const ButtonAlignment alignment = AlignmentOf(GetStyle());
    UINT format = alignment.horizontal == BS_LEFT ? DT_LEFT : alignment.horizontal == BS_RIGHT ? DT_RIGHT : DT_CENTER;
    RECT place = caption;
    if (alignment.multiLine) {
        format |= DT_WORDBREAK;
        RECT measured = { 0, 0, caption.right - caption.left, 0 };
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | format);
        const LONG spare = (caption.bottom - caption.top) - measured.bottom;
        if (spare > 0) {
            place.top += spare / 2;
            place.bottom = place.top + measured.bottom;
        }
    } else {
        format |= DT_SINGLELINE | DT_VCENTER;
    }
    ::SetBkMode(dc, TRANSPARENT);
    if (itemState & ODS_DISABLED) {
        CaptionDrawing drawing = { &text, format };
        if (::DrawStateA(dc, nullptr, &DrawCaptionText, reinterpret_cast<LPARAM>(&drawing), 0, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, DST_COMPLEX | DSS_DISABLED))
            return;
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        ::SetTextColor(dc, (state_ & ButtonIndeterminate) ? ::GetSysColor(COLOR_BTNSHADOW) : CaptionColour);
    }
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &place, format);
}

void COXBitmapButton::DrawDropDownArrow(HDC dc, const RECT& button, UINT itemState)
{
    RECT area = { button.right - ArrowAreaWidth(), button.top, button.right, button.bottom };
    if (!trackLook_ || hot_) {
        RECT line = { area.left, area.top + SeparatorInset, area.left + 1, area.bottom - SeparatorInset };
        ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
        ::OffsetRect(&line, 1, 0);
        ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
    area.left += SeparatorWidth;
    if (!arrowFont_)
        return;
    HGDIOBJ previous = ::SelectObject(dc, arrowFont_);
    ::SetTextColor(dc, ::GetSysColor((itemState & ODS_DISABLED) ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, (extendedStyle_ & ButtonArrowRight) ? "8" : "6", 1, &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, previous);
}

void COXBitmapButton::DrawFocus(HDC dc, const RECT& button, const RECT& image, UINT itemState)
{
    if (transparent_) {
        const RECT& area = ::IsRectEmpty(&image) ? button : image;
        const int left = (area.left + area.right - FocusDot.cx) / 2;
        const int top = (area.top + area.bottom - FocusDot.cy) / 2;
        HGDIOBJ previousBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
        HGDIOBJ previousPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::Ellipse(dc, left, top, left + FocusDot.cx, top + FocusDot.cy);
        ::SelectObject(dc, previousPen);
        ::SelectObject(dc, previousBrush);
        return;
    }
    RECT focus = button;
    ::InflateRect(&focus, -FocusInset, -FocusInset);
    ::DrawFocusRect(dc, &focus);
    if (trackLook_ || (state_ & (ButtonChecked | ButtonIndeterminate)))
        return;
    // The frame of the default button, with a pressed edge inside it while held down.
    RECT frame = button;
    ::FrameRect(dc, &frame, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (itemState & ODS_SELECTED) {
        ::InflateRect(&frame, -1, -1);
        ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }
}

bool COXBitmapButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnClicked();
        // The parent hears of the click as well.
        return false;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

void COXBitmapButton::OnClicked()
{
    if (IsDropDown()) {
        if (NotifyParent(BitmapButtonDropDownCode) == 0)
            OnDropDown();
        ChangeState();
    } else if (IsToggle()) {
        if (NotifyParent(BitmapButtonToggleCode) == 0)
            OnToggle();
    }
}

LRESULT COXBitmapButton::NotifyParent(UINT code)
{
    NMHDR header = { m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), code };
    return ::SendMessageA(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void COXBitmapButton::ChangeState()
{
    if (!IsDropDown() && !IsToggle())
        return;
    if (!(state_ & ButtonChecked))
        state_ = ButtonChecked;
    else if (IsToggle() && (extendedStyle_ & ButtonThreeState) && !(state_ & ButtonIndeterminate))
        state_ = ButtonChecked | ButtonIndeterminate;
    else
        state_ = 0;
    RedrawNow();
}

void COXBitmapButton::RedrawNow()
{
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT COXBitmapButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsIgnoredWhileDisabled(message) && !::IsWindowEnabled(m_hWnd))
        return 0;
    toolTip_.Relay(message, wParam, lParam);
    return CButton::WindowProc(message, wParam, lParam);
}

void COXBitmapButton::HotTrack(POINT screenPoint)
{
    if (!trackLook_)
        return;
    RECT window;
    GetWindowRect(&window);
    if (::PtInRect(&window, screenPoint) && IsWindowEnabled()) {
        if (!buttonDown_ && ::GetCapture() != m_hWnd)
            ::SetCapture(m_hWnd);
        if (!hot_) {
            hot_ = true;
            Invalidate(false);
        }
    } else {
        if (!buttonDown_ && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        if (hot_) {
            hot_ = false;
            Invalidate(false);
        }
    }
}

// Once the button no longer holds the mouse, it is not hot until the pointer says so.
void COXBitmapButton::LeaveCheck()
{
    if (!trackLook_ || ::GetCapture() == m_hWnd)
        return;
    hot_ = false;
    Invalidate(false);
    PostMessage(HotTrackAgainMessage);
}

LRESULT COXBitmapButton::OnMouseMove(WPARAM, LPARAM lParam)
{
    POINT point = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ::ClientToScreen(m_hWnd, &point);
    HotTrack(point);
    return Default();
}

// An owner-drawn button takes a quick second click for a double click and stays up; here
// every click presses it.
LRESULT COXBitmapButton::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    buttonDown_ = true;
    const LRESULT result = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    LeaveCheck();
    return result;
}

LRESULT COXBitmapButton::OnLButtonUp(WPARAM, LPARAM lParam)
{
    const POINT point = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    RECT client;
    GetClientRect(&client);
    if (::PtInRect(&client, point) && (GetState() & BST_PUSHED))
        ChangeState();
    const LRESULT result = Default();
    buttonDown_ = false;
    LeaveCheck();
    return result;
}

LRESULT COXBitmapButton::OnKeyDown(WPARAM key, LPARAM)
{
    if (key == VK_RETURN)
        ChangeState();
    return Default();
}

LRESULT COXBitmapButton::OnKeyUp(WPARAM key, LPARAM)
{
    if (key == VK_SPACE)
        ChangeState();
    const LRESULT result = Default();
    LeaveCheck();
    return result;
}

LRESULT COXBitmapButton::OnDefaultThenLeaveCheck(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    LeaveCheck();
    return result;
}

LRESULT COXBitmapButton::OnEraseBkgnd(WPARAM, LPARAM)
{
    if (!transparent_)
        return Default();
    if (!background_)
        CaptureBackground();
    return TRUE;
}

// A transparent button that moved must see the parent's pixels at its new place: hidden,
// it lets the parent repaint there; shown again, it captures them.
LRESULT COXBitmapButton::OnSizeOrMove(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    if (transparent_ && IsWindowVisible()) {
        ForgetBackground();
        ShowWindow(SW_HIDE);
        ShowWindow(SW_SHOW);
    }
    return result;
}

LRESULT COXBitmapButton::OnSysColorChange(WPARAM, LPARAM)
{
    faceColour = ::GetSysColor(COLOR_BTNFACE);
    Invalidate();
    return Default();
}

LRESULT COXBitmapButton::OnHotTrackAgain(WPARAM, LPARAM)
{
    POINT point;
    if (::GetCursorPos(&point))
        HotTrack(point);
    return 0;
}

LRESULT COXBitmapButton::OnSetText(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    UpdateToolTip();
    return result;
}

// The tip belongs to the top-level window, which may well outlive the button.
LRESULT COXBitmapButton::OnDestroy(WPARAM, LPARAM)
{
    toolTip_.Destroy();
    return Default();
}

void COXBitmapButton::CaptureBackground()
{
    HWND parent = GetParent();
    RECT place;
    GetWindowRect(&place);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    HDC parentDc = ::GetDC(parent);
    if (!parentDc)
        return;
    HDC dc = ::CreateCompatibleDC(parentDc);
    HBITMAP bitmap = dc ? ::CreateCompatibleBitmap(parentDc, width, height) : nullptr;
    if (bitmap) {
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        ::BitBlt(dc, 0, 0, width, height, parentDc, place.left, place.top, SRCCOPY);
        ::SelectObject(dc, previous);
        background_ = ImageList_Create(width, height, ILC_COLORDDB, 1, 0);
        if (background_ && ImageList_Add(background_, bitmap, nullptr) < 0)
            ForgetBackground();
        ::DeleteObject(bitmap);
    }
    if (dc)
        ::DeleteDC(dc);
    ::ReleaseDC(parent, parentDc);
}

void COXBitmapButton::ForgetBackground()
{
    if (background_)
        ImageList_Destroy(background_);
    background_ = nullptr;
}
