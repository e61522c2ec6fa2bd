#include "controls/BrowserLaunch.h"
#include "framework/MessageBox.h"
#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <cstring>

namespace {
// The default value of a key of HKEY_CLASSES_ROOT, up to MAX_PATH bytes. A missing key,
// a value that is no text or a longer one reads as nothing.
bool ReadClassDefault(const std::string& subkey, std::string& value)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[MAX_PATH + 1] = {};   // the stored value need not end in a zero
    DWORD size = MAX_PATH;
    DWORD type = 0;
    const LONG result = ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value.assign(buffer, strnlen(buffer, size));
    return true;
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ShellOpen(const std::string& file, const std::string* parameters, bool maximized, ULONG mask)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.hwnd = ::GetDesktopWindow();
    info.lpFile = file.c_str();
    info.lpParameters = parameters ? parameters->c_str() : nullptr;
    info.nShow = maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    return ::ShellExecuteExA(&info) != FALSE;
}

bool CopyTextToClipboard(const std::string& text)
{
    if (!::OpenClipboard(nullptr))
        return false;
    bool copied = false;
    if (::EmptyClipboard()) {
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1)) {
            if (void* data = ::GlobalLock(memory)) {
                memcpy(data, text.c_str(), text.size() + 1);
                ::GlobalUnlock(memory);
                copied = ::SetClipboardData(CF_TEXT, memory) != nullptr;
            }
            // The clipboard owns the memory only once it took it.
            if (!copied)
                ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
    return copied;
}
}

bool FindDefaultBrowser(std::string& path)
{
    std::string fileType;
    if (!ReadClassDefault(".htm", fileType))
        return false;
    std::string command;
    if (!fileType.empty() && ReadClassDefault(fileType + "\\shell\\open\\command", command))
        path = command;

    const char* const blanks = " \t\r\n";
    const size_t first = path.find_first_not_of(blanks);
    path = first == std::string::npos ? std::string() : path.substr(first, path.find_last_not_of(blanks) - first + 1);
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());

    // The program's name may hold blanks itself: the first prefix up to a blank that
    // names a file is the program.
    for (size_t blank = path.find(' '); blank != std::string::npos; blank = path.find(' ', blank + 1)) {
        if (IsFile(path.substr(0, blank))) {
            path.resize(blank);
            return true;
        }
    }
    return false;
}

bool OpenUrlInBrowser(const std::string& url, bool maximized, bool reportFailure, bool copyToClipboard)
{
    if (ShellOpen(url, nullptr, maximized, SEE_MASK_FLAG_NO_UI))
        return true;
    std::string browser;
    if (FindDefaultBrowser(browser) &&
        ShellOpen(browser, &url, maximized, reportFailure ? SEE_MASK_FLAG_NO_UI : 0))
        return true;

    const bool copied = copyToClipboard && CopyTextToClipboard(url);
    if (reportFailure) {
        std::string message = "Please open your browser and goto the following link:\n" + url;
        if (copied)
            message += "\n\nFor your convenience, the link has been copied to the Clipboard.\n"
                       "Select Edit | Paste in your browser to quickly paste the link.";
        ShowMessageBox(nullptr, message, "Could not launch browser", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
    return false;
}

void OpenWebPage(const std::string& url)
{
    if (!url.empty())
        OpenUrlInBrowser(url, true, true, true);
}
