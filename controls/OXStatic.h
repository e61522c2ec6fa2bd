#pragma once
#include "controls/ControlToolTip.h"
#include "framework/Static.h"
#include <string>

// A caption static that draws its text in a font and colour of its own, transparently over
// a background it paints itself; optionally sized to its caption and with a tool tip.
// Attach it to the template's static with DDX_Control. Icons, frames and pictures keep
// their standard drawing.
class COXStatic : public CStatic {
public:
    // The background colour that paints no background.
    static const COLORREF NoBackground = CLR_INVALID;

    COXStatic();
    ~COXStatic() override;

    // A font of these attributes for the caption; nullptr goes back to the window's own
    // font. False when the font cannot be made (the window's font is used then).
    bool SetStaticTextFont(const LOGFONTA* attributes, bool redraw = true);
    // The program's captions: a bold copy of the default GUI font.
    bool SetBoldGuiFont(bool redraw = true);
    // Takes a copy of the window's current font as the caption font; false when the
    // window has none.
    virtual bool AdoptWindowFont();
    // With fitting on, sizes the control to its caption, keeping the edge (or centre) its
    // alignment names; otherwise puts it back where it was last placed.
    void FitStaticToText();

    void SetTextColour(COLORREF colour);
    void SetBackgroundColour(COLORREF colour);
    void SetFitToText(bool fit);
    void EnableStaticToolTip(bool enable);
    // A tip text of the owner's instead of the caption.
    void SetStaticToolTipText(const std::string& text);

    // Left, centred, right, simple and no-wrap statics carry a caption; other types not.
    static bool IsTextStatic(HWND control);

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void Initialise();
    virtual void UpdateToolTipText();
    DECLARE_MESSAGE_MAP()

private:
    COLORREF backgroundColour_;
    COLORREF textColour_;
    HFONT textFont_ = nullptr;
    HFONT windowFont_ = nullptr;   // the window's font before ours, given back when ours goes
    bool toolTipEnabled_ = false;
    std::string toolTipText_;
    ControlToolTip toolTip_{ 1 };
    bool fitToText_ = false;
    RECT lastRect_ = {};
    bool customToolTipText_ = false;
    bool fontAdopted_ = false;

    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    // Makes font the caption font and the window's, freeing the previous one.
    void ReplaceTextFont(HFONT font);
    RECT PlacementInParent() const;
    void RedrawNow();
};
