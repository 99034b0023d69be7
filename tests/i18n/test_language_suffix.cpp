// The language-code table behind LOCAL_xx.dat / HELP_xx.chm, and the help character sets.
#include <gtest/gtest.h>

#include <string>

#include "i18n/lang_pattern.h"
#include "i18n/language_suffix.h"

namespace {
std::wstring Code(int nLangId) { return LanguageSuffixOfLangId(nLangId); }
}  // namespace

TEST(LanguageSuffix, EveryPrimaryLanguageWithItsDefaultSublanguage)
{
    const struct {
        int nPrimary;
        const wchar_t* code;
    } kRows[] = {
        {0x01, L"AB"}, {0x02, L"BG"}, {0x03, L"CA"}, {0x05, L"CZ"}, {0x06, L"DN"}, {0x07, L"GR"}, {0x08, L"EL"},
        {0x0A, L"SP"}, {0x0B, L"FI"}, {0x0D, L"HB"}, {0x0E, L"HU"}, {0x0F, L"IS"}, {0x10, L"IT"}, {0x11, L"JP"},
        {0x12, L"KR"}, {0x13, L"DT"}, {0x14, L"NR"}, {0x15, L"PO"}, {0x18, L"RO"}, {0x19, L"RU"}, {0x1A, L"HR"},
        {0x1B, L"SK"}, {0x1C, L"SQ"}, {0x1D, L"SW"}, {0x1E, L"TI"}, {0x1F, L"TK"}, {0x20, L"UR"}, {0x21, L"IN"},
        {0x22, L"UK"}, {0x23, L"BE"}, {0x24, L"SL"}, {0x25, L"ET"}, {0x26, L"LV"}, {0x27, L"LT"}, {0x29, L"FA"},
        {0x2A, L"VI"}, {0x2B, L"HY"}, {0x2C, L"AZ"}, {0x2D, L"EU"},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(Code(0x0400 | row.nPrimary), row.code) << std::hex << row.nPrimary;
        // Other sublanguages of the same language share its code.
        EXPECT_EQ(Code(0x0800 | row.nPrimary), row.code) << std::hex << row.nPrimary;
    }
}

TEST(LanguageSuffix, ChineseFrenchAndPortugueseFollowTheSublanguage)
{
    EXPECT_EQ(Code(0x0804), L"CP");  // PRC
    EXPECT_EQ(Code(0x0404), L"CT");  // Taiwan
    EXPECT_EQ(Code(0x0C04), L"CT");  // Hong Kong
    EXPECT_EQ(Code(0x1004), L"CT");  // Singapore
    EXPECT_EQ(Code(0x1404), L"CT");  // Macao
    EXPECT_EQ(Code(0x0C0C), L"FC");  // Canada
    EXPECT_EQ(Code(0x040C), L"FN");  // France
    EXPECT_EQ(Code(0x080C), L"FN");  // Belgium
    EXPECT_EQ(Code(0x100C), L"FN");  // Switzerland
    EXPECT_EQ(Code(0x0816), L"PT");  // Portugal
    EXPECT_EQ(Code(0x0416), L"BP");  // Brazil
}

TEST(LanguageSuffix, EnglishAndEveryLanguageWithoutACodeGiveEN)
{
    for (int nLangId : {0x0409, 0x0809, 0x0C09, 0x0017, 0x0417, 0x0028, 0x0000, 0x002E, 0x0036, 0x03FF, 0xFFFF})
        EXPECT_EQ(Code(nLangId), L"EN") << std::hex << nLangId;
}

TEST(CharSet, FiveScriptsHaveTheirOwnSetAndEverythingElseIsTheDefault)
{
    const wchar_t* szName = nullptr;
    EXPECT_EQ(CharSetOfLangCode(L"RU", &szName), 204);
    EXPECT_STREQ(szName, L"RUSSIAN_CHARSET");
    EXPECT_EQ(CharSetOfLangCode(L"HB", &szName), 177);
    EXPECT_STREQ(szName, L"HEBREW_CHARSET");
    EXPECT_EQ(CharSetOfLangCode(L"AB", &szName), 178);
    EXPECT_STREQ(szName, L"ARABIC_CHARSET");
    EXPECT_EQ(CharSetOfLangCode(L"EL", &szName), 161);
    EXPECT_STREQ(szName, L"GREEK_CHARSET");
    EXPECT_EQ(CharSetOfLangCode(L"TK", &szName), 162);
    EXPECT_STREQ(szName, L"TURKISH_CHARSET");
    // Compared exactly: case matters and longer codes do not match.
    for (const wchar_t* code : {L"tk", L"Ru", L"RUS", L"EN", L"JP", L"", static_cast<const wchar_t*>(nullptr)}) {
        EXPECT_EQ(CharSetOfLangCode(code, &szName), 1);
        EXPECT_STREQ(szName, L"DEFAULT_CHARSET");
    }
}

TEST(LangPattern, TheDollarPairTakesTheCode)
{
    EXPECT_EQ(ExpandLangPattern(L"LOCAL_$$.DAT", L"FN"), L"LOCAL_FN.DAT");
    EXPECT_EQ(ExpandLangPattern(L"help_$$.chm", L"EN"), L"help_EN.chm");
    EXPECT_EQ(ExpandLangPattern(L"a$$b$$", L"KR"), L"aKRb$$");
    EXPECT_EQ(ExpandLangPattern(L"LOCAL.DAT", L"KR"), L"LOCAL.DAT");
}

TEST(LangPattern, CopyWholeRefusesATextThatWouldBeCut)
{
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_TRUE(CopyWhole(buffer, 4, L"abc"));
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_FALSE(CopyWhole(buffer, 4, L"abcd"));
    EXPECT_STREQ(buffer, L"");
    EXPECT_TRUE(CopyWhole(buffer, 1, L""));
    EXPECT_FALSE(CopyWhole(buffer, 0, L""));
    EXPECT_FALSE(CopyWhole(nullptr, 4, L"a"));
}
