#include "job/settings/paper_tables.h"

#include <algorithm>
#include <cwchar>

#include "common/ui_text.h"

namespace {
struct PaperSizeDefault {
    const wchar_t* keyword;  // section suffix and PJL keyword default
    const wchar_t* name;
    int widthMM, heightMM;
    const wchar_t* widthInch;
    const wchar_t* heightInch;
};

constexpr PaperSizeDefault kPaperSizes[kPaperSizeCount] = {
    {L"ORIGINAL", L"Original", 210, 297, L"8.27", L"11.69"},  // PJL "AUTO", see below
    {L"LETTER", L"Letter", 216, 279, L"8.5", L"11"},
    {L"LEGAL", L"Legal", 216, 356, L"8.5", L"14"},
    {L"EXECUTIVE", L"Executive", 184, 267, L"7.25", L"10.5"},
    {L"A4", L"A4", 210, 297, L"8.27", L"11.69"},
    {L"A5", L"A5", 148, 210, L"5.83", L"8.27"},
    {L"B5", L"B5", 176, 250, L"6.93", L"9.84"},
    {L"FOLIO", L"Folio", 216, 330, L"8.5", L"13"},
    {L"COM10", L"Envelope #10", 105, 241, L"4.125", L"9.5"},
    {L"DL", L"Envelope DL", 110, 220, L"4.33", L"8.66"},
    {L"C5", L"Envelope C5", 162, 229, L"6.38", L"9.02"},
    {L"C6", L"Envelope C6", 114, 162, L"4.49", L"6.38"},
    {L"JISB5", L"B5(JIS)", 182, 257, L"7.17", L"10.12"},
    {L"MONARCH", L"Envelope Monarch", 98, 191, L"3.87", L"7.5"},
    {L"A6", L"A6", 105, 148, L"4.13", L"5.83"},
    {L"A3", L"A3", 297, 420, L"11.69", L"16.54"},
    {L"JISB4", L"B4", 257, 364, L"10.12", L"14.33"},
};

struct PaperTypeDefault {
    const wchar_t* keyword;
    const wchar_t* name;
};

constexpr PaperTypeDefault kPaperTypes[kPaperTypeCount] = {
    {L"OFF", L"Default"},       {L"NORMAL", L"Plain Paper"}, {L"THICK", L"Thick"},
    {L"THIN", L"Thin"},         {L"BOND", L"Bond"},          {L"COLOR", L"Color Paper"},
    {L"CARD", L"Card Stock"},   {L"LABEL", L"Labels"},       {L"OHP", L"Transparency"},
    {L"ENV", L"Envelope"},      {L"USED", L"Preprinted"},
};
// A keyword from the string file goes into the printer's header as it stands: only
// capitals, digits and underscores, or the file could add commands of its own.
std::wstring PJLKeyword(const wchar_t* section, const wchar_t* builtIn)
{
    const std::wstring keyword = GetUIText(section, L"PJLCMD", builtIn);
    const bool bPlain = !keyword.empty() && std::all_of(keyword.begin(), keyword.end(), [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
    });
    return bPlain ? keyword : builtIn;
}
}  // namespace

std::array<const wchar_t*, kPaperSizeCount> PaperSizeKeywords()
{
    std::array<const wchar_t*, kPaperSizeCount> keywords{};
    for (int i = 0; i < kPaperSizeCount; ++i)
        keywords[i] = kPaperSizes[i].keyword;
    return keywords;
}

std::array<const wchar_t*, kPaperTypeCount> PaperTypeKeywords()
{
    std::array<const wchar_t*, kPaperTypeCount> keywords{};
    for (int i = 0; i < kPaperTypeCount; ++i)
        keywords[i] = kPaperTypes[i].keyword;
    return keywords;
}

double ParseInchText(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

PaperSizeTable BuildPaperSizeTable(bool bEnglish)
{
    PaperSizeTable table;
    for (int i = 0; i < kPaperSizeCount; ++i) {
        PaperSizeDefault d = kPaperSizes[i];
        const wchar_t* pjl = d.keyword;
        if (i == 0) {
            // "Original": the printer takes the size from the document.
            pjl = L"AUTO";
            if (bEnglish) {
                d.widthMM = 216;
                d.heightMM = 279;
                d.widthInch = L"8.5";
                d.heightInch = L"11";
            }
        }
        const std::wstring section = std::wstring(L"PAPER_INFO_") + d.keyword;
        PaperSizeInfo& row = table[i];
        row.strName = GetUIText(section.c_str(), L"NAME", d.name);
        row.strPJL = PJLKeyword(section.c_str(), pjl);
        row.nWidthMM = static_cast<int16_t>(GetUIInt(section.c_str(), L"WIDTH_MM", d.widthMM));
        row.nHeightMM = static_cast<int16_t>(GetUIInt(section.c_str(), L"HEIGHT_MM", d.heightMM));
        row.dWidthInch = ParseInchText(GetUIText(section.c_str(), L"WIDTH_INCH", d.widthInch));
        row.dHeightInch = ParseInchText(GetUIText(section.c_str(), L"HEIGHT_INCH", d.heightInch));
    }
    return table;
}

PaperTypeTable BuildPaperTypeTable()
{
    PaperTypeTable table;
    for (int i = 0; i < kPaperTypeCount; ++i) {
        const std::wstring section = std::wstring(L"PAPERTYPE_INFO_") + kPaperTypes[i].keyword;
        table[i].strName = GetUIText(section.c_str(), L"TYPE", kPaperTypes[i].name);
        table[i].strPJL = PJLKeyword(section.c_str(), kPaperTypes[i].keyword);
    }
    return table;
}
