#pragma once
// Lookup of the localized texts in the UI string file (g_szUIFileName).
// A missing file or key yields the built-in default; a key present with an
// empty value yields an empty text; texts are cut at 259 characters.
#include <string>

constexpr int kTextChars = 260;  // buffer size of every text and path, terminator included

extern wchar_t g_szUIFileName[kTextChars];

std::wstring GetUIText(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText);
int GetUIInt(const wchar_t* section, const wchar_t* key, int defaultValue);

// Seam for the native build and for tests: where texts come from.
class UITextSource {
public:
    virtual ~UITextSource() = default;
    // Returns true and the raw value when the key is present.
    virtual bool Lookup(const std::wstring& section, const std::wstring& key, std::wstring& value) const = 0;
};
// nullptr restores the platform's profile reader over g_szUIFileName.
void SetUITextSource(const UITextSource* source);
