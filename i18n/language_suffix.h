#pragma once
// Two-letter language codes of the UI string and help files ("LOCAL_xx.dat", "HELP_xx.chm").

// Code for a Windows language identifier (LANGID); every language without a file of
// its own, English included, gives "EN". Never null.
const wchar_t* LanguageSuffixOfLangId(int nLangId);

// GDI character set for a language code, compared exactly (case-sensitive);
// *pszName receives the constant's name ("TURKISH_CHARSET", "DEFAULT_CHARSET", ...).
int CharSetOfLangCode(const wchar_t* szLangCode, const wchar_t** pszName = nullptr);

constexpr int kDefaultCharSet = 1;
