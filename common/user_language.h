#pragma once
// Primary language identifier (LANGID & 0x3FF) of the user default locale's
// default language. 9 is English: inches and Letter-sized defaults.
constexpr int kLangEnglish = 9;

int GetUserPrimaryLanguage();
// Full language identifier (LOCALE_IDEFAULTLANGUAGE read as hexadecimal).
int GetUserDefaultLanguageId();

// Native build and tests: the identifier to report (0 = the platform's own).
void SetUserLanguageIdForTesting(int languageId);
