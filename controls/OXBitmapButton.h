#pragma once
#include "controls/ButtonImages.h"
#include "controls/ButtonLayout.h"
#include "controls/ControlToolTip.h"
#include "framework/Button.h"
#include <string>

// Extended style bits of a bitmap button.
enum ButtonExtendedStyle : DWORD {
    ButtonDropDown = 0x1,
    ButtonToggle = 0x2,
    ButtonArrowRight = 0x10000,    // the drop-down arrow points right
    ButtonNoArrow = 0x20000,       // the drop-down arrow is not drawn
    ButtonThreeState = 0x40000,    // a toggle that goes checked, indeterminate, unchecked
};

// State bits of a toggle or drop-down button.
const UINT ButtonChecked = 0x1;
const UINT ButtonIndeterminate = 0x2;

// Notification codes (WM_NOTIFY) a bitmap button sends its parent on a click. A parent
// that answers 0 lets the button run its own action.
const UINT BitmapButtonDropDownCode = 0x80D2;
const UINT BitmapButtonToggleCode = 0x80DD;

// An owner-drawn push button showing an image from a bitmap or icon resource and its
// caption, placed by the button's alignment style; grey and disabled images are made from
// the loaded one. The window text is "caption\ntool tip". Optional: a flat look that shows
// the frame and the coloured image only under the pointer, a transparent look over the
// parent's pixels, toggle and drop-down behaviour. Drawing is double-buffered. Attach it
// to an owner-draw button of a template with DDX_Control.
class COXBitmapButton : public CButton {
public:
    COXBitmapButton();
    ~COXBitmapButton() override;

    // Mask colour CLR_INVALID: no transparent pixels. With resize the button fits itself to
    // its content. False leaves the button without images (the caption alone).
    bool LoadButtonBitmap(UINT resourceId, bool resize = false, COLORREF mask = CLR_INVALID);
    bool LoadButtonIcon(UINT resourceId, bool resize = false, int width = 0, int height = 0);

    // BS_LEFT, BS_RIGHT or BS_CENTER; BS_TOP, BS_BOTTOM or BS_VCENTER.
    void SetImageAlignment(DWORD bits);
    void SetImageVerticalAlignment(DWORD bits);

    // The button's copy of its caption font, brought up to date with the window's font.
    HFONT GetButtonTextFont();
    // Takes a copy of the font as the caption font.
    void SetButtonTextFont(HFONT font);

    void SetButtonToolTipText(const std::string& text);
    void EnableButtonToolTip(bool enable);

    void SetTrackLook(bool on);
    void SetTransparent(bool on);
    void SetButtonExtendedStyle(DWORD style);
    // ButtonChecked and ButtonIndeterminate bits.
    UINT GetToggleState() const { return state_; }

    virtual void SizeToContent();
    virtual SIZE GetFitSize();

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    void DrawItem(DRAWITEMSTRUCT* item) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The drawing steps, in the order they run.
    virtual int ArrowAreaWidth() const;
    virtual void PreparePalette(HDC dc);
    virtual void DrawBackground(HDC dc, const RECT& button, UINT itemState);
    virtual void DrawImage(HDC dc, const RECT& image, UINT itemState);
    virtual void DrawCaption(HDC dc, const RECT& caption, UINT itemState);
    virtual void DrawFocus(HDC dc, const RECT& button, const RECT& image, UINT itemState);
    virtual void FinishDrawing(HDC dc);
    virtual int MeasureArrow();
    virtual void DrawDropDownArrow(HDC dc, const RECT& button, UINT itemState);
    // What a click does when the parent leaves it to the button: nothing here.
    virtual void OnDropDown() {}
    virtual void OnToggle() {}
    virtual void OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    ButtonImages images_;
    HFONT textFont_ = nullptr;
    HFONT arrowFont_ = nullptr;
    ControlToolTip toolTip_{ 1000 };
    bool trackLook_ = false;
    bool hot_ = false;
    bool buttonDown_ = false;
    bool transparent_ = false;
    HIMAGELIST background_ = nullptr;   // the parent's pixels under the button
    DWORD extendedStyle_ = 0;
    int arrowWidth_ = 0;
    UINT state_ = 0;
    HPALETTE previousPalette_ = nullptr;

    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnKeyUp(WPARAM, LPARAM);
    LRESULT OnDefaultThenLeaveCheck(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnSizeOrMove(WPARAM, LPARAM);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    LRESULT OnHotTrackAgain(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    bool IsDropDown() const { return (extendedStyle_ & ButtonDropDown) != 0; }
    bool IsToggle() const { return (extendedStyle_ & ButtonToggle) != 0; }
    // The window text split at its line feed: 0 the caption, 1 the tool-tip text.
    std::string WindowTextPart(int part) const;
    ButtonParts PlaceParts(HDC dc, SIZE button, UINT itemState);
    SIZE MeasureFitCaption(HDC dc, const std::string& caption, bool multiLine) const;
    void HotTrack(POINT screenPoint);
    void LeaveCheck();
    void ChangeState();
    LRESULT NotifyParent(UINT code);
    void UpdateToolTip();
    void ChangeStyle(DWORD mask, DWORD bits);
    void CaptureBackground();
    void ForgetBackground();
    void RedrawNow();
};
