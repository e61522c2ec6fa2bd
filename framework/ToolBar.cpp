#include "framework/ToolBar.h"
#include "framework/FrameWnd.h"
#include "framework/ResourceString.h"
#include "framework/ScreenDpi.h"
#include "framework/WinApp.h"
#include <commctrl.h>

namespace {

const COLORREF BitmapBackground = RGB(192, 192, 192);

// Updates one toolbar button the way a menu item is updated.
class ToolButtonUI : public CCmdUI {
public:
    explicit ToolButtonUI(HWND toolbar) : toolbar_(toolbar) {}
    void Enable(bool on) override
    {
        ::SendMessageA(toolbar_, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
        m_bEnableChanged = true;
    }
    void SetCheck(int check) override { ::SendMessageA(toolbar_, TB_CHECKBUTTON, m_nID, MAKELPARAM(check != 0, 0)); }
    void SetText(const std::string&) override {}

private:
    HWND toolbar_;
};
}

CToolBar::~CToolBar()
{
    if (images_)
        ImageList_Destroy(images_);
}

bool CToolBar::Create(CWnd* parent, UINT id)
{
    const RECT none = { 0, 0, 0, 0 };
    if (!CreateEx(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                      CCS_NORESIZE | CCS_NODIVIDER,
                  none, parent->m_hWnd, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::LoadToolBar(UINT resourceId)
{
    // The resource: version, button width, button height, count, then the command ids
    // (0 for a separator), all 16-bit.
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const WORD* data = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!data || size < 8 || data[0] != 1 || size < 8u + 2u * data[3])
        return false;
    // Buttons and pictures are drawn for 96 DPI, and grow with the screen's scale.
    const int dpi = ScreenDpi();
    const int width = ScaleForDpi(data[1], dpi);
    const int height = ScaleForDpi(data[2], dpi);
    const int count = data[3];
    const WORD* ids = data + 4;

    int images = 0;
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (ids[i] == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = ScaleForDpi(6, dpi);  // the separator's width
        } else {
            button.iBitmap = images++;
            button.idCommand = ids[i];
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
        buttons.push_back(button);
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    const int border = ScaleForDpi(7, dpi);
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(width + border, height + border));
    // The light grey that toolbar bitmaps are drawn on is their background: masked out,
    // so that the bar's own face shows through whatever colour the system gives it.
    if (images_)
        ImageList_Destroy(images_);
    images_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, images, 0);
    HBITMAP bitmap = LoadBitmapForDpi(module, resourceId, dpi);
    const bool added = images_ && bitmap && ImageList_AddMasked(images_, bitmap, BitmapBackground) >= 0;
    if (bitmap)
        ::DeleteObject(bitmap);
    if (!added || ImageList_GetImageCount(images_) < images)
        return false;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    return SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != FALSE;
}

int CToolBar::GetButtonCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    return (button.fsStyle & TBSTYLE_SEP) ? 0 : static_cast<UINT>(button.idCommand);
}

bool CToolBar::IsButtonEnabled(UINT id) const
{
    return SendMessage(TB_ISBUTTONENABLED, id) != 0;
}

bool CToolBar::IsButtonChecked(UINT id) const
{
    return SendMessage(TB_ISBUTTONCHECKED, id) != 0;
}

void CToolBar::PlaceIn(RECT& remaining)
{
    if (!IsWindowVisible()) {
        return;
    }
    RECT item{};
    SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const int height = item.bottom - item.top + 6;
    ::SetWindowPos(m_hWnd, nullptr, remaining.left, remaining.top, remaining.right - remaining.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    remaining.top += height;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target)
{
    ToolButtonUI ui(m_hWnd);
    for (int i = 0; i < GetButtonCount(); ++i) {
        const UINT id = GetItemID(i);
        if (id == 0)
            continue;
        ui.m_nID = id;
        ui.m_nIndex = i;
        ui.DoUpdate(target, true);
    }
}

bool CToolBar::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == TBN_HOTITEMCHANGE) {
        // The status bar tells what the button under the pointer does.
        const NMTBHOTITEM* hot = reinterpret_cast<const NMTBHOTITEM*>(lParam);
        if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(GetParent())))
            frame->SetMessageText((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew));
        *result = 0;
        return true;
    }
    return false;
}
