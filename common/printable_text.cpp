#include "common/printable_text.h"

bool IsControlCharacter(wchar_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::wstring PrintableText(std::wstring strText)
{
    for (wchar_t& c : strText)
        if (IsControlCharacter(c))
            c = L'\xFFFD';
    return strText;
}
