#pragma once
// printf-style formatting of wide strings with the Windows meaning of the conversions:
// %s is a wide string and %S an 8-bit string, in both builds.
#include <cstdarg>
#include <cstddef>
#include <string>

// Formats into at most `capacity` characters (terminator included), cutting longer output.
std::wstring FormatWideV(size_t capacity, const wchar_t* format, va_list args);
std::wstring FormatWide(size_t capacity, const wchar_t* format, ...);
