#include "app/ParloView.h"
#include "agent/ActionDlg.h"
#include "agent/HelpDlg.h"
#include "app/OptionsDlg.h"
#include "controls/LayoutManager.h"
#include "framework/DataExchange.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/ScreenDpi.h"
#include "framework/WinApp.h"
#include "greeting/CommandTable.h"
#include "greeting/GreetingAction.h"
#include "greeting/ParloDoc.h"
#include "res/resource.h"
#include "send/Preview.h"
#include "send/SendDialog.h"
#include "send/Upload.h"
#include "settings/AppSettings.h"
#include <algorithm>
#include <iterator>
#include <vector>

BEGIN_MESSAGE_MAP(CParloView, CFormView)
    ON_WM_SIZE()
    ON_COMMAND(ID_ACTION_ADD, OnAdd)
    ON_WM_DESTROY()
    ON_WM_CREATE()
    ON_COMMAND(ID_ACTION_REMOVE, OnRemove)
    ON_NOTIFY(NM_CLICK, IDC_ACTION_LIST, OnListClick)
    ON_COMMAND(IDC_MOVE_UP, OnMoveUp)
    ON_COMMAND(IDC_MOVE_DOWN, OnMoveDown)
    ON_COMMAND(ID_TOOLS_SENDNOW, OnSendNow)
    ON_COMMAND(ID_ACTION_EDIT, OnEdit)
    ON_NOTIFY(NM_DBLCLK, IDC_ACTION_LIST, OnListDoubleClick)
    ON_COMMAND(ID_TOOLS_PLAYGREETING, OnPlayGreeting)
    ON_COMMAND(ID_TOOLS_OPTIONS, OnOptions)
    ON_NOTIFY(NM_RCLICK, IDC_ACTION_LIST, OnListRightClick)
    ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
    ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
    ON_COMMAND(ID_ACTION_PLAYFROM, OnPlayFrom)
    ON_COMMAND(IDC_HELP_BUTTON, OnHelp)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ACTION_LIST, OnListItemChanged)
    ON_NOTIFY(LVN_GETDISPINFOA, IDC_ACTION_LIST, OnGetRowText)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_ACTION_LIST, OnGetRowText)
    ON_NOTIFY(LVN_DELETEALLITEMS, IDC_ACTION_LIST, OnListEmptied)
    ON_NOTIFY(LVN_INSERTITEM, IDC_ACTION_LIST, OnRowInserted)
    ON_COMMAND(ID_NEXT_PANE, OnNextPane)
    ON_COMMAND(ID_PREV_PANE, OnPrevPane)
END_MESSAGE_MAP()

// The buttons' pictures are drawn on light grey, which stands for the button's own face.
static const COLORREF ImageBackground = RGB(192, 192, 192);

// The form's rules, applied on every size change (distances in dialog units).
LayoutRule CParloView::layoutRules[] = {
    { Move, MetricRight, ID_ACTION_ADD, 0, MetricRight, ParentId, 0, -5, 0, 0 },
    { Move, MetricRight, ID_ACTION_EDIT, 0, MetricRight, ID_ACTION_ADD, 0, 0, 0, 0 },
    { Move, MetricRight, ID_ACTION_PLAYFROM, 0, MetricRight, ID_ACTION_ADD, 0, 0, 0, 0 },
    { Move, MetricRight, ID_ACTION_REMOVE, 0, MetricRight, ID_ACTION_ADD, 0, 0, 0, 0 },
    { Move, MetricRight, IDC_HELP_BUTTON, 0, MetricRight, ID_ACTION_ADD, 0, 0, 0, 0 },
    { Stretch, MetricRight, IDC_ACTION_LIST, 0, MetricLeft, ID_ACTION_ADD, 0, -3, 0, 0 },
    { Move, MetricBottom, IDC_HELP_BUTTON, 0, MetricTop, ID_TOOLS_PLAYGREETING, 0, -3, 0, 0 },
    { Move, MetricRight, ID_TOOLS_PLAYGREETING, 0, MetricRight, IDC_ACTION_LIST, 0, 0, 0, 0 },
    { Move, MetricBottom, ID_TOOLS_PLAYGREETING, 0, MetricBottom, ParentId, 0, -6, 0, 0 },
    { Move, MetricRight, ID_TOOLS_SENDNOW, 0, MetricLeft, ID_TOOLS_PLAYGREETING, 0, -3, 0, 0 },
    { Move, MetricBottom, ID_TOOLS_SENDNOW, 0, MetricBottom, ID_TOOLS_PLAYGREETING, 0, 0, 0, 0 },
    { Move, MetricBottom, IDC_MOVE_DOWN, 0, MetricBottom, ID_TOOLS_PLAYGREETING, 0, 0, 0, 0 },
    { Move, MetricBottom, IDC_MOVE_UP, 0, MetricBottom, ID_TOOLS_PLAYGREETING, 0, 0, 0, 0 },
    { Stretch, MetricBottom, IDC_ACTION_LIST, 0, MetricTop, ID_TOOLS_PLAYGREETING, 0, -3, 0, 0 },
    { Move, MetricBottom, IDC_PICTURE, 0, MetricBottom, IDC_ACTION_LIST, 0, -2, 0, 0 },
    { EndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0 },
};

// The parts of the form that F6 moves between, each with its controls in tab order.
static const std::vector<std::vector<int>> Panes = {
    { IDC_ACTION_LIST },
    { ID_ACTION_ADD, ID_ACTION_EDIT, ID_ACTION_PLAYFROM, ID_ACTION_REMOVE, IDC_HELP_BUTTON },
    { IDC_MOVE_UP, IDC_MOVE_DOWN, ID_TOOLS_SENDNOW, ID_TOOLS_PLAYGREETING },
};

int CommandImageIndex(const std::string& command)
{
    const CommandInfo* info = FindCommand(command);
    return info ? info->rowImage : 0;
}

CParloView::CParloView() : CFormView(IDD_PARLO_VIEW) {}

CParloView::~CParloView()
{
    if (images_)
        ImageList_Destroy(images_);
    if (instructionsFont_)
        ::DeleteObject(instructionsFont_);
}

CParloDoc* CParloView::GetDocument() const
{
    return static_cast<CParloDoc*>(m_pDocument);
}

int CParloView::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    // The row pictures are 16 pixels square at 96 DPI and grow with the screen's scale.
    const int dpi = ScreenDpi();
    images_ = ImageList_Create(ScaleForDpi(16, dpi), ScaleForDpi(16, dpi), ILC_COLOR24 | ILC_MASK, 5, 1);
    std::vector<UINT> bitmaps(std::size(CommandTable));
    for (const CommandInfo& command : CommandTable)
        bitmaps[command.rowImage] = command.rowBitmap;
    for (UINT id : bitmaps) {
        HBITMAP bitmap = LoadBitmapForDpi(AfxGetResourceHandle(), id, dpi);
        const bool added = images_ && bitmap && ImageList_AddMasked(images_, bitmap, RGB(255, 255, 255)) >= 0;
        if (bitmap)
            ::DeleteObject(bitmap);
        if (!added)
            return -1;
    }
    return 0;
}

void CParloView::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, ID_TOOLS_SENDNOW, sendNow_);
    DDX_Control(dx, ID_ACTION_ADD, add_);
    DDX_Control(dx, IDC_MOVE_DOWN, moveDown_);
    DDX_Control(dx, IDC_MOVE_UP, moveUp_);
    DDX_Control(dx, ID_TOOLS_PLAYGREETING, playGreeting_);
    DDX_Control(dx, IDC_INSTRUCTIONS, instructions_);
    list_ = dx->PrepareCtrl(IDC_ACTION_LIST);
}

void CParloView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    if (CFrameWnd* frame = GetParentFrame()) {
        frame->RecalcLayout();
        ResizeParentToFit(true);
    }
    InitViewControls();
}

void CParloView::OnActivateFrame(bool active, HWND other)
{
    CFormView::OnActivateFrame(active, other);
    // After any of the program's own dialogs and messages the keyboard is back on the rows,
    // where the work goes on; after another program, where it was.
    if (!active && other && ::GetWindowThreadProcessId(other, nullptr) == ::GetCurrentThreadId())
        SetFocusControl(list_);
}

void CParloView::InitViewControls()
{
    instructions_.SetBoldGuiFont();

    // The column, the picture and the buttons' pictures and tips stay the same from one
    // greeting to the next; making them again costs an open about as much as reading a
    // large greeting.
    if (!controlsInitialised_) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.pszText = const_cast<char*>("Action");
        ::SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        picture_.LoadBitmapResource(IDB_STRIP);
        picture_.SubclassDlgItem(IDC_PICTURE, this);
        InitButtons();
    }
    AutoSizeActionColumn();
    ::SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
    UpdateActionButtons();
    controlsInitialised_ = true;
}

void CParloView::InitButtons()
{
    playGreeting_.LoadButtonBitmap(IDB_PLAY_GREETING, false, ImageBackground);
    playGreeting_.SetButtonToolTipText("Preview the parlacard");
    playGreeting_.EnableButtonToolTip(true);
    LOGFONTA captionFont{};
    if (HFONT own = playGreeting_.GetButtonTextFont()) {
        ::GetObjectA(own, sizeof(captionFont), &captionFont);
        captionFont.lfWeight = FW_BOLD;
        HFONT boldCaption = ::CreateFontIndirectA(&captionFont);
        playGreeting_.SetButtonTextFont(boldCaption);
        ::DeleteObject(boldCaption);
    }
    sendNow_.LoadButtonBitmap(IDB_SEND_NOW, false, ImageBackground);
    sendNow_.SetButtonToolTipText("Send the parlacard");
    sendNow_.EnableButtonToolTip(true);
    moveUp_.LoadButtonBitmap(IDB_MOVE_UP, false, ImageBackground);
    moveUp_.SetButtonToolTipText("Move selected action up");
    moveUp_.EnableButtonToolTip(true);
    moveDown_.LoadButtonBitmap(IDB_MOVE_DOWN, false, ImageBackground);
    moveDown_.SetButtonToolTipText("Move selected action down");
    moveDown_.EnableButtonToolTip(true);
    add_.LoadButtonBitmap(IDB_ADD_ACTION, false, ImageBackground);
    add_.SetButtonToolTipText("Add an action to the greeting");
    add_.EnableButtonToolTip(true);
    add_.SetImageAlignment(BS_CENTER);
    add_.SetImageVerticalAlignment(BS_TOP);
}

void CParloView::OnUpdate(CView*, LPARAM)
{
    if (!list_)
        return;
    // One repaint for the whole list rather than one per row.
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    CParloDoc* doc = GetDocument();
    if (doc)
        ::SendMessageA(list_, LVM_SETITEMCOUNT, doc->GetActionCount(), 0);
    for (int i = 0; doc && i < doc->GetActionCount(); ++i)
        InsertActionItem(doc->GetAction(i), -1);
    // The keyboard starts on the first row, which stays unselected until the user picks it.
    LVITEMA first{};
    first.stateMask = first.state = LVIS_FOCUSED;
    ::SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    AutoSizeActionColumn();
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void CParloView::AutoSizeActionColumn()
{
    if (list_)
        ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

// A row's text is asked for when it is shown (OnGetRowText): a refill of thousands of rows
// describes only the few on the screen.
bool CParloView::InsertActionItem(GreetingAction* action, int index)
{
    if (index == -1)
        index = static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = CommandImageIndex(action->GetCommand());
    item.lParam = reinterpret_cast<LPARAM>(action);
    return ::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) != -1;
}

void CParloView::SetRow(int index, GreetingAction* action)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;  // asked for again: the new description
    item.iImage = CommandImageIndex(action->GetCommand());
    ::SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Rows own nothing: a refill need not hear of each row that goes.
void CParloView::OnListEmptied(NMHDR*, LRESULT* result)
{
    *result = TRUE;
}

// Answered here rather than by the form's default dialog handling, which costs about as
// much as the row itself in a refill of thousands.
void CParloView::OnRowInserted(NMHDR*, LRESULT* result)
{
    *result = 0;
}

// Row i shows the document's action i.
void CParloView::OnGetRowText(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const bool wide = header->code == LVN_GETDISPINFOW;
    auto* ansi = reinterpret_cast<NMLVDISPINFOA*>(header);
    auto* unicode = reinterpret_cast<NMLVDISPINFOW*>(header);
    const UINT mask = wide ? unicode->item.mask : ansi->item.mask;
    const int size = wide ? unicode->item.cchTextMax : ansi->item.cchTextMax;
    if (!(mask & LVIF_TEXT) || size <= 0)
        return;
    CParloDoc* doc = GetDocument();
    const GreetingAction* action = doc ? doc->GetAction(wide ? unicode->item.iItem : ansi->item.iItem) : nullptr;
    const std::string text = action ? action->GetDescription() : std::string();
    if (wide) {
        std::wstring converted(text.size(), L'\0');
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0],
                                                 static_cast<int>(converted.size()));
        converted.resize(length > 0 ? length : 0);
        ::lstrcpynW(unicode->item.pszText, converted.c_str(), size);
    } else {
        ::lstrcpynA(ansi->item.pszText, text.c_str(), size);
    }
}

int CParloView::GetSelectedIndex() const
{
    return list_ ? static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                  : -1;
}

GreetingAction* CParloView::GetSelectedAction() const
{
    const int index = GetSelectedIndex();
    if (index < 0)
        return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    ::SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<GreetingAction*>(item.lParam);
}

void CParloView::SelectRow(int index)
{
    ::SetFocus(list_);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    ::SendMessageA(list_, LVM_ENSUREVISIBLE, index, FALSE);
}

void CParloView::UpdateActionButtons()
{
    const bool selected = GetSelectedIndex() >= 0;
    for (int id : { ID_ACTION_REMOVE, ID_ACTION_PLAYFROM, ID_ACTION_EDIT })
        ::EnableWindow(GetDlgItem(id), selected);
}

void CParloView::OnAdd()
{
    CActionDlg editor(this);
    if (editor.DoModal() == IDOK) {
        auto* action = new GreetingAction(editor.character, editor.command, editor.argument);
        const int index = GetSelectedIndex() + 1;  // no selection: the top
        GetDocument()->InsertAction(action, index);
        InsertActionItem(action, index);
        SelectRow(index);
        AutoSizeActionColumn();
    }
    UpdateActionButtons();
}

void CParloView::OnEdit()
{
    GreetingAction* action = GetSelectedAction();
    if (!action)
        return;
    const int index = GetSelectedIndex();
    CActionDlg editor(this, action);
    if (editor.DoModal() == IDOK) {
        action->SetCharacter(editor.character);
        action->SetCommand(editor.command);
        action->SetArgument(editor.argument);
        GetDocument()->SetModifiedFlag(true);
        SetRow(index, action);
        ::SetFocus(list_);
        AutoSizeActionColumn();
        UpdateActionButtons();
    }
}

void CParloView::OnRemove()
{
    GreetingAction* action = GetSelectedAction();
    if (!action)
        return;
    const int index = GetSelectedIndex();
    GetDocument()->RemoveAction(action);
    ::SendMessageA(list_, LVM_DELETEITEM, index, 0);
    AutoSizeActionColumn();
    const int remaining = static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    if (remaining > 0)
        SelectRow(index < remaining ? index : remaining - 1);
    UpdateActionButtons();
}

void CParloView::OnMoveUp()
{
    const int index = GetSelectedIndex();
    if (index <= 0)
        return;
    GreetingAction* action = GetSelectedAction();
    GetDocument()->MoveActionUp(action);
    ::SendMessageA(list_, LVM_DELETEITEM, index, 0);
    InsertActionItem(action, index - 1);
    SelectRow(index - 1);
    UpdateActionButtons();
}

void CParloView::OnMoveDown()
{
    const int index = GetSelectedIndex();
    const int count = static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count - 1)
        return;
    GreetingAction* action = GetSelectedAction();
    GetDocument()->MoveActionDown(action);
    ::SendMessageA(list_, LVM_DELETEITEM, index, 0);
    InsertActionItem(action, index + 1);
    SelectRow(index + 1);
    UpdateActionButtons();
}

void CParloView::OnPlayGreeting()
{
    PreviewGreeting(*GetDocument(), 0);
}

void CParloView::OnPlayFrom()
{
    const int index = GetSelectedIndex();
    if (index >= 0)
        PreviewGreeting(*GetDocument(), index);
}

void CParloView::OnSendNow()
{
    CParloDoc* doc = GetDocument();
    if (doc->GetActionCount() == 0) {
        AfxMessageBox("Can't send an empty greeting.\n\nPlease use the 'Add' button to add actions to the greeting.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!doc->IsPreviewed() &&
        AfxMessageBox("This greeting was not previewed.\n\nWould you like to preview it now before sending it?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        PreviewGreeting(*doc, 0);
        return;
    }
    SendDialog dialog(doc->RecipientAddresses(), this);
    dialog.autoAddress = GetSettings().AutoAddress;
    if (dialog.DoModal() == IDOK)
        UploadGreeting(*doc);
}

void CParloView::OnOptions()
{
    RunOptions(this);
}

void CParloView::OnHelp()
{
    CHelpDlg help(IDS_HELP_MAIN);
    help.DoModal();
}

void CParloView::OnListClick(NMHDR*, LRESULT* result)
{
    UpdateActionButtons();
    *result = 0;
}

void CParloView::OnListDoubleClick(NMHDR*, LRESULT* result)
{
    if (::IsWindowEnabled(GetDlgItem(ID_ACTION_EDIT)))
        OnEdit();
    *result = 0;
}

void CParloView::OnListRightClick(NMHDR*, LRESULT* result)
{
    UpdateActionButtons();
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    HMENU edit = ::GetSubMenu(menu, 1);
    ::SetMenuDefaultItem(edit, ID_ACTION_EDIT, FALSE);
    for (int id : { ID_ACTION_ADD, ID_ACTION_EDIT, ID_ACTION_REMOVE, ID_ACTION_PLAYFROM })
        if (!::IsWindowEnabled(GetDlgItem(id)))
            ::EnableMenuItem(edit, id, MF_BYCOMMAND | MF_GRAYED);
    POINT cursor;
    ::GetCursorPos(&cursor);
    ::TrackPopupMenu(edit, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    *result = 0;
}

void CParloView::OnListItemChanged(NMHDR* header, LRESULT* result)
{
    // The arrow keys select rows as clicks do.
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
        UpdateActionButtons();
    *result = 0;
}

void CParloView::OnNextPane()
{
    MoveToPane(1);
}

void CParloView::OnPrevPane()
{
    MoveToPane(-1);
}

void CParloView::MoveToPane(int step)
{
    const int count = static_cast<int>(Panes.size());
    const int focusId = ::GetFocus() && ::IsChild(m_hWnd, ::GetFocus()) ? ::GetDlgCtrlID(::GetFocus()) : 0;
    // From outside the form F6 comes to the first part, Shift+F6 to the last.
    int current = step > 0 ? -1 : count;
    for (int pane = 0; pane < count; ++pane)
        if (std::find(Panes[pane].begin(), Panes[pane].end(), focusId) != Panes[pane].end())
            current = pane;
    for (int tried = 1; tried <= count; ++tried) {
        const int pane = ((current + step * tried) % count + count) % count;
        for (int id : Panes[pane]) {
            HWND control = GetDlgItem(id);
            if (control && ::IsWindowEnabled(control) && ::IsWindowVisible(control)) {
                ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
                return;
            }
        }
    }
}

LRESULT CParloView::OnQueryNewPalette(WPARAM, LPARAM)
{
    picture_.RealizeIn(m_hWnd);
    return Default();
}

LRESULT CParloView::OnPaletteChanged(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    if (reinterpret_cast<HWND>(wParam) != m_hWnd)
        picture_.RealizeIn(m_hWnd);
    return result;
}

void CParloView::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (m_hWnd && cx > 0 && cy > 0)
        ApplyLayoutRules(m_hWnd, layoutRules);
    AutoSizeActionColumn();
}

void CParloView::OnDestroy()
{
    SaveSettings();
    Default();
    picture_.UnsubclassWindow();
}
