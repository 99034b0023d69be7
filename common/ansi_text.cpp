#include "common/ansi_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
#ifdef _WIN32
std::string Narrow(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}
#else
// Natively the "ANSI code page" is Latin-1; anything beyond it becomes '?'.
std::string Narrow(const std::wstring& text, int)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += (c >= 0 && c < 0x100) ? static_cast<char>(c) : '?';
    return out;
}
#endif
}  // namespace

std::string ToThreadAnsi(const std::wstring& text)
{
#ifdef _WIN32
    return Narrow(text, CP_THREAD_ACP);
#else
    return Narrow(text, 0);
#endif
}

std::string ToAnsi(const std::wstring& text)
{
#ifdef _WIN32
    return Narrow(text, CP_ACP);
#else
    return Narrow(text, 0);
#endif
}

std::wstring FromAnsi(const std::string& text)
{
    if (text.empty())
        return {};
#ifdef _WIN32
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
#else
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char c : text)
        out += static_cast<wchar_t>(c);
    return out;
#endif
}
