#include "framework/ResourceString.h"

std::string LoadResourceString(UINT id)
{
    // String table entries are stored 16 to a block as counted UTF-16 strings.
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC block = ::FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
    if (!block)
        return std::string();
    HGLOBAL loaded = ::LoadResource(module, block);
    const WCHAR* data = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
    if (!data)
        return std::string();
    const DWORD size = ::SizeofResource(module, block) / sizeof(WCHAR);
    const WCHAR* end = data + size;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (data >= end)
            return std::string();
        data += 1 + *data;
    }
    if (data >= end || data + 1 + *data > end || *data == 0)
        return std::string();
    const int length = *data;
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, data + 1, length, nullptr, 0, nullptr, nullptr);
    std::string text(bytes, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, data + 1, length, &text[0], bytes, nullptr, nullptr);
    return text;
}

std::string GetStringPart(const std::string& text, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos)
            return std::string();
        ++start;
    }
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
