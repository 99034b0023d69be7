#pragma once
// The paper-size (17 rows) and paper-type (11 rows) tables, built from built-in
// defaults that the UI string file may override entry by entry.
#include <array>
#include <cstdint>
#include <string>

struct PaperSizeInfo {
    std::wstring strPJL;   // sent after "@PJL SET PAPER="
    std::wstring strName;  // shown in the size list and the preview
    int16_t nWidthMM = 0;
    int16_t nHeightMM = 0;
    double dWidthInch = 0;
    double dHeightInch = 0;
};

struct PaperTypeInfo {
    std::wstring strPJL;   // sent after "@PJL SET PAPERTYPE="
    std::wstring strName;
};

constexpr int kPaperSizeCount = 17;
constexpr int kPaperTypeCount = 11;

using PaperSizeTable = std::array<PaperSizeInfo, kPaperSizeCount>;
using PaperTypeTable = std::array<PaperTypeInfo, kPaperTypeCount>;

// bEnglish selects the Letter-sized defaults of the "Original" row.
PaperSizeTable BuildPaperSizeTable(bool bEnglish);
PaperTypeTable BuildPaperTypeTable();

// The keyword of every row, the suffix of its section name ("ORIGINAL", "LETTER", ...;
// "OFF", "NORMAL", ...): what the command line names a paper by.
std::array<const wchar_t*, kPaperSizeCount> PaperSizeKeywords();
std::array<const wchar_t*, kPaperTypeCount> PaperTypeKeywords();

// Wide-string-to-double as the C library reads it ("8.27" -> 8.27; not a number -> 0).
double ParseInchText(const std::wstring& text);
