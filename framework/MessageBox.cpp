#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "framework/ResourceString.h"

namespace {
thread_local MessageBoxObserver currentObserver = nullptr;
}

MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer)
{
    MessageBoxObserver previous = currentObserver;
    currentObserver = observer;
    return previous;
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    if (currentObserver)
        currentObserver(owner, text, caption, flags);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
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
