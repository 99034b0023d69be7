#include "i18n/language_suffix.h"

#include <cwchar>

namespace {
constexpr int kSublanguageMask = 0xFC00;

// Indexed by primary language (LANGID & 0x3FF); null entries are English.
const wchar_t* const kCodeOfPrimaryLanguage[] = {
    nullptr, L"AB", L"BG", L"CA", nullptr /* Chinese, by sublanguage */, L"CZ", L"DN", L"GR",  // 0x00-0x07
    L"EL", nullptr /* English */, L"SP", L"FI", nullptr /* French, by sublanguage */, L"HB", L"HU", L"IS",  // 0x08-0x0F
    L"IT", L"JP", L"KR", L"DT", L"NR", L"PO", nullptr /* Portuguese, by sublanguage */, nullptr,  // 0x10-0x17
    L"RO", L"RU", L"HR", L"SK", L"SQ", L"SW", L"TI", L"TK",  // 0x18-0x1F
    L"UR", L"IN", L"UK", L"BE", L"SL", L"ET", L"LV", L"LT",  // 0x20-0x27
    nullptr, L"FA", L"VI", L"HY", L"AZ", L"EU",  // 0x28-0x2D
};
constexpr int kTableSize = sizeof(kCodeOfPrimaryLanguage) / sizeof(kCodeOfPrimaryLanguage[0]);
}  // namespace

const wchar_t* LanguageSuffixOfLangId(int nLangId)
{
    const int nPrimary = nLangId & 0x3FF;
    const int nSub = nLangId & kSublanguageMask;
    switch (nPrimary) {
    case 0x04:
        return nSub == 0x0800 ? L"CP" : L"CT";  // simplified (PRC) / traditional
    case 0x0C:
        return nSub == 0x0C00 ? L"FC" : L"FN";  // Canada / France and the rest
    case 0x16:
        return nSub == 0x0800 ? L"PT" : L"BP";  // Portugal / Brazil
    }
    if (nPrimary < kTableSize && kCodeOfPrimaryLanguage[nPrimary])
        return kCodeOfPrimaryLanguage[nPrimary];
    return L"EN";
}

int CharSetOfLangCode(const wchar_t* szLangCode, const wchar_t** pszName)
{
    struct Row {
        const wchar_t* code;
        int nCharSet;
        const wchar_t* name;
    };
    static const Row kRows[] = {
        {L"RU", 204, L"RUSSIAN_CHARSET"}, {L"HB", 177, L"HEBREW_CHARSET"}, {L"AB", 178, L"ARABIC_CHARSET"},
        {L"EL", 161, L"GREEK_CHARSET"},   {L"TK", 162, L"TURKISH_CHARSET"},
    };
    for (const Row& row : kRows) {
        if (szLangCode && std::wcscmp(szLangCode, row.code) == 0) {
            if (pszName)
                *pszName = row.name;
            return row.nCharSet;
        }
    }
    if (pszName)
        *pszName = L"DEFAULT_CHARSET";
    return kDefaultCharSet;
}
