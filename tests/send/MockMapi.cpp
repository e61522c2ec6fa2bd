// Stands in for the mail system's Simple MAPI library beside the test program. Before each
// call the test writes MockMapiAnswer.txt beside it, one instruction a line:
//   result <code>        what MAPIAddress returns (0 when missing)
//   address <text>       one chosen recipient with that address, in order
//   address-none         one chosen recipient without an address
//   window               shows a window with the caption it was given and waits (up to
//                        3 s) for someone to bring it to the foreground
// Each call is appended to MockMapiCalls.txt beside it, one line each.
#include "support/FileText.h"
#include <windows.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The recipient descriptor of Simple MAPI, as the caller reads it.
struct Recipient {
    ULONG reserved;
    ULONG recipientClass;
    LPSTR name;
    LPSTR address;
    ULONG entryIdSize;
    LPVOID entryId;
};

// One block holds the array and its strings, so that one free releases everything.
struct Returned {
    std::vector<Recipient> recipients;
    std::vector<std::string> addresses;
    std::vector<bool> hasAddress;
};

Returned* lastReturned = nullptr;

std::string Beside(const char* name)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Beside), &self);
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    const std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}


void Log(const std::string& line)
{
    HANDLE file = CreateFileA(Beside("MockMapiCalls.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Text(LPCSTR text)
{
    return text ? std::string(text) : std::string("(null)");
}

// Shows a window titled like the address book and reports whether it reached the front.
void WaitToBeBroughtForward(LPCSTR caption)
{
    // Titled only once it is on screen, so that nobody finds it hidden.
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION, 100, 100, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    if (!window) {
        Log("window not created");
        return;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (GetForegroundWindow() == window) {
        Log("window in front by itself");
        DestroyWindow(window);
        return;
    }
    SetWindowTextA(window, caption);
    bool forward = false;
    for (DWORD start = GetTickCount(); !forward && GetTickCount() - start < 3000;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        forward = GetForegroundWindow() == window;
        if (!forward)
            Sleep(10);
    }
    Log(forward ? "window brought forward" : "window left behind");
    DestroyWindow(window);
}

} // namespace

extern "C" ULONG WINAPI MAPIAddress(ULONG_PTR session, ULONG_PTR uiParam, LPSTR caption, ULONG editFields,
                                    LPSTR labels, ULONG recipientCount, Recipient* recipients, ULONG flags,
                                    ULONG reserved, ULONG* newCount, Recipient** newRecipients)
{
    std::ostringstream call;
    call << "MAPIAddress session=" << session << " ui=" << uiParam << " caption=" << Text(caption)
         << " fields=" << editFields << " labels=" << Text(labels) << " recipients=" << recipientCount
         << (recipients ? " list" : " nolist") << " flags=" << flags << " reserved=" << reserved;
    Log(call.str());

    ULONG result = 0;
    auto returned = new Returned;
    std::istringstream answer(ReadFileText(Beside("MockMapiAnswer.txt")));
    for (std::string line; std::getline(answer, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, 7, "result ") == 0) {
            result = std::stoul(line.substr(7));
        } else if (line.compare(0, 8, "address ") == 0) {
            returned->addresses.push_back(line.substr(8));
            returned->hasAddress.push_back(true);
        } else if (line == "address-none") {
            returned->addresses.emplace_back();
            returned->hasAddress.push_back(false);
        } else if (line == "window") {
            WaitToBeBroughtForward(caption);
        }
    }
    if (result != 0) {
        delete returned;
        return result;
    }
    for (size_t i = 0; i < returned->addresses.size(); ++i) {
        Recipient recipient = {};
        recipient.recipientClass = 1;
        recipient.name = const_cast<LPSTR>("Someone");
        recipient.address = returned->hasAddress[i] ? &returned->addresses[i][0] : nullptr;
        returned->recipients.push_back(recipient);
    }
    *newCount = static_cast<ULONG>(returned->recipients.size());
    *newRecipients = returned->recipients.empty() ? nullptr : returned->recipients.data();
    lastReturned = returned;
    return 0;
}

extern "C" ULONG WINAPI MAPIFreeBuffer(LPVOID buffer)
{
    if (lastReturned && lastReturned->recipients.data() == buffer) {
        Log("MAPIFreeBuffer returned array");
        delete lastReturned;
        lastReturned = nullptr;
    } else {
        Log("MAPIFreeBuffer unknown buffer");
    }
    return 0;
}
