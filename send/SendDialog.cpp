#include "send/SendDialog.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/TextUtil.h"
#include "framework/Thread.h"
#include "framework/WaitCursor.h"
#include "res/resource.h"
#include "send/SimpleMapi.h"
#include "settings/AppSettings.h"

namespace {

const char Caption[] = "Parlacard";
const char AddressBookCaption[] = "Select Addresses For Parlacard";
const char AddressBookTip[] = "Open default address book.";
const char NoAddressBook[] = "Can't open your E-mail programs' address book.\n\n"
                             "Please type in the E-mail addresses of the people you want to send the greeting to.";
const char NotAnAddress[] = " is not a valid E-mail address.\n\nPlease fix it and press the 'Send' button again.";

// The address book opens by itself a moment after the dialog is on screen.
const UINT_PTR AutoOpenTimer = 1;
const UINT AutoOpenDelay = 200;
const DWORD WatchInterval = 50;

// In the system's code page, as the user typed it.
std::string ToLower(std::string text)
{
    if (!text.empty())
        ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// A stored list shows one address per line; a list typed into a file by hand may use ";".
std::string ListAsLines(const std::string& list)
{
    std::string lines;
    for (char c : list) {
        if (c == ',' || c == ';')
            lines += "\r\n";
        else
            lines += c;
    }
    return lines;
}

// The mail system may open its address book behind our dialog: once the window shows up,
// bring it to the front. Ends then, or as soon as the call is over.
UINT BringAddressBookForward(void* callDone)
{
    while (::WaitForSingleObject(static_cast<HANDLE>(callDone), WatchInterval) == WAIT_TIMEOUT) {
        if (HWND window = ::FindWindowA(nullptr, AddressBookCaption)) {
            ::SetForegroundWindow(window);
            break;
        }
    }
    return 0;
}

// Runs the address book with the watcher beside it. False when the watcher could not be
// started; otherwise the mail system's answer is in result.
bool ShowAddressBook(MapiAddressFunction showAddressBook, ULONG* result, ULONG* count, MapiRecipDesc** chosen)
{
    HANDLE callDone = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!callDone)
        return false;
    CWinThread* watcher =
        AfxBeginThread(&BringAddressBookForward, callDone, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!watcher) {
        ::CloseHandle(callDone);
        return false;
    }
    watcher->m_bAutoDelete = false;
    if (watcher->ResumeThread() == static_cast<DWORD>(-1)) {
        // It never ran, so ending it here cannot leave anything half done.
        ::TerminateThread(watcher->m_hThread, 0);
        delete watcher;
        ::CloseHandle(callDone);
        return false;
    }

    *result = showAddressBook(0, 0, const_cast<LPSTR>(AddressBookCaption), 1, nullptr, 0, nullptr, MapiLogonUi, 0,
                              count, chosen);

    ::SetEvent(callDone);
    ::WaitForSingleObject(watcher->m_hThread, INFINITE);
    delete watcher;
    ::CloseHandle(callDone);
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(SendDialog, CDialog)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_ADDRESS_BOOK, OnAddressBook)
    ON_BN_CLICKED(IDC_AUTO_ADDRESS, OnAutoAddress)
END_MESSAGE_MAP()

SendDialog::SendDialog(std::string& recipientList, CWnd* parent)
    : CDialog(IDD_SEND, parent), recipientList_(recipientList) {}

void SendDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_ADDRESSES, addressEdit_);
    DDX_Control(dx, IDC_ADDRESS_BOOK, addressBookButton_);
    DDX_Control(dx, IDC_AUTO_ADDRESS, autoAddressCheck_);
    DDX_Check(dx, IDC_AUTO_ADDRESS, autoAddress);
    if (dx->m_bSaveAndValidate)
        GetSettings().AutoAddress = autoAddress;
}

bool SendDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowCheckBoxInBold();
    // Without its picture the button still shows its caption.
    addressBookButton_.LoadButtonBitmap(IDB_ADDRESS_BOOK, false, CLR_INVALID);
    addressBookButton_.SetButtonToolTipText(AddressBookTip);
    addressBookButton_.EnableButtonToolTip(true);
    if (!recipientList_.empty())
        addressEdit_.SetWindowText(ListAsLines(recipientList_));
    return true;
}

void SendDialog::ShowCheckBoxInBold()
{
    HFONT font = autoAddressCheck_.GetButtonTextFont();
    LOGFONTA attributes;
    if (!font || ::GetObjectA(font, sizeof(attributes), &attributes) != sizeof(attributes))
        return;
    attributes.lfWeight = FW_BOLD;
    HFONT bold = ::CreateFontIndirectA(&attributes);
    if (!bold)
        return;
    // The button keeps a copy of its own.
    autoAddressCheck_.SetButtonTextFont(bold);
    ::DeleteObject(bold);
}

LRESULT SendDialog::OnShowWindow(WPARAM shown, LPARAM)
{
    const LRESULT result = Default();
    // Without a timer the address book just does not open by itself; the button still works.
    if (shown && autoAddress)
        ::SetTimer(m_hWnd, AutoOpenTimer, AutoOpenDelay, nullptr);
    return result;
}

void SendDialog::OnTimer(UINT_PTR id)
{
    if (id != AutoOpenTimer) {
        Default();
        return;
    }
    ::KillTimer(m_hWnd, AutoOpenTimer);
    OpenAddressBook(false);
}

void SendDialog::OnAddressBook()
{
    OpenAddressBook(true);
}

void SendDialog::OnAutoAddress()
{
    if (::IsDlgButtonChecked(m_hWnd, IDC_AUTO_ADDRESS) == BST_CHECKED)
        OpenAddressBook(true);
}

void SendDialog::OpenAddressBook(bool reportFailure)
{
    CWaitCursor wait;
    if (PickFromAddressBook())
        return;
    ::CheckDlgButton(m_hWnd, IDC_AUTO_ADDRESS, BST_UNCHECKED);
    if (reportFailure)
        ShowMessageBox(m_hWnd, NoAddressBook, Caption, MB_OK | MB_ICONINFORMATION);
}

// The mail system's library is loaded for this one call and let go of at once.
bool SendDialog::PickFromAddressBook()
{
    HMODULE library = ::LoadLibraryA(MapiLibraryName);
    if (!library)
        return false;
    const bool ran = PickWithLibrary(library);
    ::FreeLibrary(library);
    return ran;
}

bool SendDialog::PickWithLibrary(HMODULE library)
{
    const auto showAddressBook = reinterpret_cast<MapiAddressFunction>(::GetProcAddress(library, MapiAddressName));
    if (!showAddressBook)
        return false;
    ULONG result = 0;
    ULONG count = 0;
    MapiRecipDesc* chosen = nullptr;
    if (!ShowAddressBook(showAddressBook, &result, &count, &chosen))
        return false;
    if (result != MapiSuccess)
        return result == MapiUserAbort;
    if (!chosen)
        return true;
    for (ULONG i = 0; i < count; ++i)
        AddChosenAddress(chosen[i].lpszAddress);
    // A mail system without it leaves the array to itself.
    if (const auto freeBuffer = reinterpret_cast<MapiFreeBufferFunction>(::GetProcAddress(library, MapiFreeBufferName)))
        freeBuffer(chosen);
    return true;
}

// Entries without "@" are not e-mail addresses (fax numbers, lists); the address type
// prefix "SMTP:" is not part of the address.
void SendDialog::AddChosenAddress(const char* address)
{
    if (!address)
        return;
    std::string text = address;
    if (text.find('@') == std::string::npos)
        return;
    const size_t prefix = text.find("SMTP:");
    if (prefix != std::string::npos)
        text.erase(0, prefix + 5);
    AddAddressLine(ToLower(text));
}

void SendDialog::AddAddressLine(const std::string& address)
{
    std::string text = ToLower(TrimWhiteSpace(addressEdit_.GetWindowText()));
    if (!text.empty())
        text += "\r\n";
    // A plain substring test: an address inside a longer one counts as there.
    if (text.find(address) != std::string::npos)
        return;
    addressEdit_.SetWindowText(text + address + "\r\n");
}

// The list is built apart and stored only when every line is accepted, so that a
// refused line followed by Cancel leaves the greeting's recipients as they were.
void SendDialog::OnOK()
{
    acceptedList_.clear();
    std::string text = ToLower(TrimWhiteSpace(addressEdit_.GetWindowText()));
    for (size_t end; (end = text.find("\r\n")) != std::string::npos; text.erase(0, end + 2)) {
        if (!AcceptAddress(text.substr(0, end), false))
            return;
    }
    if (!text.empty() && !AcceptAddress(text, true))
        return;
    recipientList_ = acceptedList_;
    CDialog::OnOK();
}

// Containing "@" is the whole test; blanks inside a line stay.
bool SendDialog::AcceptAddress(const std::string& line, bool isLast)
{
    if (line.find('@') == std::string::npos) {
        ShowMessageBox(m_hWnd, line + NotAnAddress, Caption, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    acceptedList_ += line;
    if (!isLast)
        acceptedList_ += ",";
    return true;
}
