#pragma once
// Texts with numbered places ("File {1} of {2}") filled in with values. The texts come
// from string files anyone can edit, so they are never used as printf formats: only
// {1} to {9} are replaced, everything else stays as it stands.
//
// A place may also choose a word by the number its value holds, "{2:file|files}": the
// first form when the language's plural rule calls the number "one", else the second.
// The string file states the rule ("PLURAL"/"IDL_PLURAL_ONE": the numbers that take the
// first form, "1" when not given); a text with a single form always shows it.
#include <initializer_list>
#include <string>

std::wstring FillPlaceholders(const std::wstring& strPattern, std::initializer_list<std::wstring> values);

// A text of the string file: its key and its built-in default.
struct UIText {
    const wchar_t* pszKey;
    const wchar_t* pszDefault;
};
// The text of section pszSection, its places filled with values.
std::wstring FilledUIText(const wchar_t* pszSection, const UIText& text, std::initializer_list<std::wstring> values);
