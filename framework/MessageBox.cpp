#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "framework/ResourceString.h"

namespace {

thread_local MessageBoxObserver currentObserver = nullptr;

// A box wraps its text only at blanks: a longer run of other characters (a server's
// reply, an address) would make it wider than a small screen.
const size_t MaxUnbrokenRun = 80;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string BreakLongRuns(const std::string& text)
{
    std::string broken;
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsBlank(text[i])) {
            run = 0;
        } else if (++run > MaxUnbrokenRun) {
            broken += '\n';
            run = 1;
        }
        broken += text[i];
        // The two bytes of a character of a double-byte code page stay together.
        if (::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size())
            broken += text[++i];
    }
    return broken;
}

} // namespace

MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer)
{
    MessageBoxObserver previous = currentObserver;
    currentObserver = observer;
    return previous;
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    const std::string shown = BreakLongRuns(text);
    if (currentObserver)
        currentObserver(owner, shown, caption, flags);
    return ::MessageBoxA(owner, shown.c_str(), caption.c_str(), flags);
}

int AfxMessageBox(const std::string& text, UINT flags)
{
    CWinApp* app = AfxGetApp();
    const std::string caption = app ? app->GetAppName() : LoadResourceString(AFX_IDS_APP_TITLE);
    return ShowMessageBox(nullptr, text, caption, flags);
}

int AfxMessageBox(UINT stringId, UINT flags)
{
    return AfxMessageBox(LoadResourceString(stringId), flags);
}

std::string AfxFormatString1(const std::string& format, const std::string& argument)
{
    std::string result;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '1') {
            result += argument;
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}
