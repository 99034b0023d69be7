#include "common/ui_text.h"

#include <cwchar>
#include <cwctype>

#ifdef _WIN32
#include <windows.h>
#endif

wchar_t g_szUIFileName[kTextChars] = {};

namespace {
const UITextSource* g_pTextSource = nullptr;

std::wstring Cut(std::wstring text)
{
    if (text.size() > kTextChars - 1)
        text.resize(kTextChars - 1);
    return text;
}

// GetPrivateProfileIntW semantics: leading blanks, optional sign, decimal digits.
int ParseProfileInt(const std::wstring& text, int defaultValue)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    if (i >= text.size() || !std::iswdigit(text[i]))
        return text.empty() ? defaultValue : 0;
    long long value = 0;
    while (i < text.size() && std::iswdigit(text[i]) && value < 0x7FFFFFFF)
        value = value * 10 + (text[i++] - L'0');
    return static_cast<int>(negative ? -value : value);
}
}  // namespace

void SetUITextSource(const UITextSource* source) { g_pTextSource = source; }

std::wstring GetUIText(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText)
{
    if (g_pTextSource) {
        std::wstring value;
        return Cut(g_pTextSource->Lookup(section, key, value) ? value : std::wstring(defaultText));
    }
#ifdef _WIN32
    if (g_szUIFileName[0] != L'\0') {
        wchar_t buffer[kTextChars] = {};
        GetPrivateProfileStringW(section, key, defaultText, buffer, kTextChars, g_szUIFileName);
        return buffer;
    }
#endif
    return Cut(defaultText);
}

int GetUIInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    if (g_pTextSource) {
        std::wstring value;
        return g_pTextSource->Lookup(section, key, value) ? ParseProfileInt(value, defaultValue) : defaultValue;
    }
#ifdef _WIN32
    if (g_szUIFileName[0] != L'\0')
        return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, g_szUIFileName));
#endif
    return defaultValue;
}
