#include "common/wide_format.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {
#ifndef _WIN32
// glibc follows C99: in wide printf %s is 8-bit and %ls wide. Our formats are
// written for Windows, so swap the two before formatting.
std::wstring ToPosixConversions(const wchar_t* format)
{
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%')
            continue;
        ++p;
        if (*p == L'%') { out += *p; continue; }
        while (*p && std::wcschr(L"-+ #0123456789.*hlLqjzt", *p)) {
            out += *p;
            ++p;
        }
        if (!*p) break;
        if (*p == L's' || *p == L'c') {
            out += L'l';
            out += *p;
        } else if (*p == L'S' || *p == L'C') {
            out += static_cast<wchar_t>(*p + (L'a' - L'A'));
        } else {
            out += *p;
        }
    }
    return out;
}
#endif
}  // namespace

std::wstring FormatWideV(size_t capacity, const wchar_t* format, va_list args)
{
    if (capacity == 0 || format == nullptr)
        return {};
    std::vector<wchar_t> buffer(capacity, L'\0');
#ifdef _WIN32
    int n = _vsnwprintf(buffer.data(), capacity - 1, format, args);
#else
    std::wstring posix = ToPosixConversions(format);
    int n = vswprintf(buffer.data(), capacity, posix.c_str(), args);
#endif
    buffer[capacity - 1] = L'\0';
    if (n < 0)  // output was cut: keep what fits
        return std::wstring(buffer.data());
    return std::wstring(buffer.data(), std::min<size_t>(static_cast<size_t>(n), capacity - 1));
}

std::wstring FormatWide(size_t capacity, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring s = FormatWideV(capacity, format, args);
    va_end(args);
    return s;
}
