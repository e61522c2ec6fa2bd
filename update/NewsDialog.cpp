#include "update/NewsDialog.h"
#include "framework/TextUtil.h"
#include "res/resource.h"
#include <algorithm>
#include <vector>

namespace {

const char Marker[] = "@@Version";
const LONG MarkerLength = sizeof(Marker) - 1;

LONG TextLength(HWND edit)
{
    GETTEXTLENGTHEX what = { GTL_NUMCHARS, CP_ACP };
    return static_cast<LONG>(::SendMessageA(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&what), 0));
}

} // namespace

NewsDialog::NewsDialog(const std::string& newsText, const std::string& newChangesHeading,
                       const std::string& oldChangesHeading, const VersionNumber& programVersion, CWnd* parent)
    : CDialog(IDD_NEWS, parent),
      newsText_(newsText),
      newChangesHeading_(newChangesHeading),
      oldChangesHeading_(oldChangesHeading),
      programVersion_(programVersion)
{
    // The rich edit class comes with its library, which stays loaded for the process.
    static const HMODULE richEdit = ::LoadLibraryA("riched20.dll");
    (void)richEdit;
}

bool NewsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND edit = GetDlgItem(IDC_NEWS_TEXT);
    newHeadingPlaced_ = oldHeadingPlaced_ = false;
    // Text the document gives no font of its own shows in the dialog's.
    ::SendMessageA(edit, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    EDITSTREAM stream = { reinterpret_cast<DWORD_PTR>(this), 0, &NewsDialog::StreamIn };
    ::SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (!newsText_.empty())
        PlaceHeadings(edit);
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

// Each round takes the next marker's whole display line and puts a heading in its
// place, or nothing once that heading has been placed; the search goes on from the start
// of that line, which now holds what followed.
void NewsDialog::PlaceHeadings(HWND edit)
{
    LONG searchStart = 0;
    for (;;) {
        FINDTEXTEXA find = {};
        find.chrg.cpMin = searchStart;
        find.chrg.cpMax = -1;
        find.lpstrText = Marker;
        const LONG match = static_cast<LONG>(::SendMessageA(edit, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
        if (match < 0)
            break;
        const LONG line = static_cast<LONG>(::SendMessageA(edit, EM_EXLINEFROMCHAR, 0, match));
        const LONG lineStart = static_cast<LONG>(::SendMessageA(edit, EM_LINEINDEX, line, 0));
        LONG nextStart = static_cast<LONG>(::SendMessageA(edit, EM_LINEINDEX, line + 1, 0));
        // The last line has no next one; the selection must hold the marker in any case,
        // or the same marker would be found for ever.
        if (nextStart <= match)
            nextStart = TextLength(edit);
        const VersionNumber marked(TrimWhiteSpace(TextRange(edit, match + MarkerLength, nextStart)));

        CHARRANGE whole = { lineStart, nextStart };
        ::SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&whole));
        const bool newer = marked.CompareVersion(programVersion_) >= 2;
        bool& placed = newer ? newHeadingPlaced_ : oldHeadingPlaced_;
        const std::string& heading = placed ? std::string() : (newer ? newChangesHeading_ : oldChangesHeading_);
        ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(heading.c_str()));
        placed = true;
        searchStart = static_cast<LONG>(::SendMessageA(edit, EM_LINEINDEX, line, 0));
    }
}

std::string NewsDialog::TextRange(HWND edit, LONG first, LONG end) const
{
    if (end <= first)
        return std::string();
    // Room for a paragraph end read back as two characters.
    std::vector<char> text(2 * static_cast<size_t>(end - first) + 1);
    TEXTRANGEA range = { { first, end }, text.data() };
    const LONG copied = static_cast<LONG>(::SendMessageA(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    return std::string(text.data(), std::max(copied, 0L));
}
