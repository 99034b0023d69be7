#include "common/utf8_text.h"

#include <windows.h>

#include <algorithm>

std::string Utf8OfWide(const std::wstring& strText)
{
    const int nSize = static_cast<int>(strText.size());
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, strText.data(), nSize, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(nBytes, 0)), '\0');
    if (nBytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, strText.data(), nSize, text.data(), nBytes, nullptr, nullptr);
    return text;
}

std::wstring WideOfUtf8(const std::string& text)
{
    const int nSize = static_cast<int>(text.size());
    const int nChars = MultiByteToWideChar(CP_UTF8, 0, text.data(), nSize, nullptr, 0);
    std::wstring strText(static_cast<size_t>(std::max(nChars, 0)), L'\0');
    if (nChars > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), nSize, strText.data(), nChars);
    return strText;
}
