#pragma once
#include "framework/Static.h"
#include <functional>
#include <string>

// Style bits of a link.
enum LinkStyle : DWORD {
    LinkUnderline = 0x01,        // the link's font is underlined
    LinkHoverColour = 0x02,      // the hover colour while the pointer is over the link
    LinkFitToText = 0x04,        // the control is sized to its text
    LinkActivateOnPress = 0x08,  // activation on button down rather than up
    LinkFocusOnClick = 0x10,     // a press takes the keyboard focus
    LinkNoHandCursor = 0x20,     // attaching this link does not load the hand cursor
    LinkNoActiveColour = 0x40,   // never the active colour
};

// A static control of a dialog that behaves like a web link: link colours, an underlined
// copy of the dialog's font, a hand cursor and a tool tip with the address. A click, or
// space or Enter while it has the focus, activates it; with the focus it shows a focus
// rectangle. Give the template's static WS_TABSTOP to reach it with Tab, and attach it
// with DDX_Control.
class CHyperLink : public CStatic {
public:
    CHyperLink() = default;
    ~CHyperLink() override;

    // Takes the remove bits out of the style and puts the add bits in; with apply and a
    // window, the font, size and colour follow at once. Taking away the underline while
    // adding other bits is refused (false) and changes nothing.
    bool ChangeLinkStyle(DWORD remove, DWORD add, bool apply = true);
    // The address to open; before attaching, also the text of a link whose template
    // text is empty.
    void SetLinkUrl(const std::string& url);
    void SetLinkText(const std::string& text);
    // A copy of the font becomes the link's font; the link is fitted to its text again.
    void ApplyLinkFont(HFONT font);
    // With LinkFitToText, sizes the control to its text, keeping the edge its alignment
    // names (left, right or the centre).
    void FitToText();

    // Opens the address in the browser and marks the link visited.
    virtual void ActivateLink();

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void MarkVisited();
    DECLARE_MESSAGE_MAP()

private:
    bool active_ = false;      // pressed or focused; cleared when the focus goes
    bool mouseOver_ = false;   // the pointer is over the link, which holds the capture
    bool visited_ = false;
    DWORD style_ = LinkUnderline | LinkFitToText | LinkFocusOnClick;
    std::string url_;
    HFONT linkFont_ = nullptr;
    HWND toolTip_ = nullptr;

    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnUpdateUiState(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    // The link's font from these attributes, set on the control; false when it cannot be made.
    bool SetLinkFont(const LOGFONTA& attributes);
    void ApplyLinkFontAttributes(const LOGFONTA& attributes);
    // Runs the change with the control hidden, so that a shrinking link leaves nothing
    // behind on its transparent background.
    void UpdateHidden(const std::function<void()>& change);
    // Repaints the link together with the dialog's background under it: the link draws on
    // a transparent background, so what it no longer shows must be painted over.
    void RepaintWithBackground();
    void DrawFocusCue(HDC dc) const;
    COLORREF TextColour() const;
    void CreateToolTip();
    TOOLINFOA LinkTool() const;
};
