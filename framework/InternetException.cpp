#include "framework/InternetException.h"

CInternetException::CInternetException(DWORD error) : m_dwError(error)
{
}

std::string CInternetException::GetErrorMessage() const
{
    // WinInet's error texts live in its own message table, not in the system's.
    HMODULE wininet = ::GetModuleHandleA("wininet.dll");
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (wininet)
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    char* buffer = nullptr;
    const DWORD length =
        ::FormatMessageA(flags, wininet, m_dwError, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (length != 0 && buffer)
        text.assign(buffer, length);
    if (buffer)
        ::LocalFree(buffer);
    // The texts end with a line break that a message box would show as a blank line.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Internet error " + std::to_string(m_dwError) + ".";
    return text;
}

void CInternetException::ThrowLastError()
{
    throw CInternetException(::GetLastError());
}
