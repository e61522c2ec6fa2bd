#include "update/NewsDialog.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "update/NewsDocument.h"
#include <algorithm>

NewsDialog::NewsDialog(const std::string& newsText, const std::string& newChangesHeading,
                       const std::string& oldChangesHeading, const VersionNumber& programVersion, CWnd* parent)
    : CDialog(IDD_NEWS, parent),
      newsText_(PlaceNewsHeadings(newsText, newChangesHeading, oldChangesHeading, programVersion))
{
    // The rich edit class comes with its library, which stays loaded for the process.
    static const HMODULE richEdit = ::LoadLibraryA("riched20.dll");
    (void)richEdit;
}

void NewsDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_NEWS_TEXT, textView_);
}

bool NewsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND edit = GetDlgItem(IDC_NEWS_TEXT);
    // Text the document gives no font of its own shows in the dialog's.
    ::SendMessageA(edit, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    EDITSTREAM stream = { reinterpret_cast<DWORD_PTR>(this), 0, &NewsDialog::StreamIn };
    ::SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    ::SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    // The focus in the text for scrolling, without the dialog's selection of all of it.
    ::SetFocus(edit);
    CHARRANGE start = { 0, 0 };
    ::SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    return false;
}

DWORD CALLBACK NewsDialog::StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* handed)
{
    NewsDialog* self = reinterpret_cast<NewsDialog*>(cookie);
    if (self->streamEnded_) {
        *handed = 0;
        self->streamEnded_ = false;
        self->streamPosition_ = 0;
        return 0;
    }
    const size_t remaining = self->newsText_.size() - self->streamPosition_;
    const size_t count = std::min(static_cast<size_t>(std::max(requested, 0L)), remaining);
    std::copy_n(self->newsText_.data() + self->streamPosition_, count, buffer);
    self->streamPosition_ += count;
    if (self->streamPosition_ == self->newsText_.size())
        self->streamEnded_ = true;
    *handed = static_cast<LONG>(count);
    return 0;
}
