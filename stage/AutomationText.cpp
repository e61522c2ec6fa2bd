#include "stage/AutomationText.h"

std::string TextFromBstr(BSTR text, UINT codePage)
{
    const int wideLength = static_cast<int>(::SysStringLen(text));
    if (wideLength == 0)
        return std::string();
    const int length = ::WideCharToMultiByte(codePage, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text, wideLength, &result[0], length, nullptr, nullptr);
    return result;
}

BSTR BstrFromText(const std::string& text, UINT codePage)
{
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result && length > 0)
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result, length);
    return result;
}

std::string RecodeText(const std::string& text, UINT fromCodePage, UINT toCodePage)
{
    BSTR wide = BstrFromText(text, fromCodePage);
    std::string result = TextFromBstr(wide, toCodePage);
    ::SysFreeString(wide);
    return result;
}
