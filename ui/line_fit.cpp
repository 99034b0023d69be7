#include "ui/line_fit.h"

namespace {
constexpr std::wstring_view kEllipsis = L"\x2026";

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Chinese and Japanese run without spaces, and a line may break beside any of their
// characters; waiting for the next space would leave most of a row empty.
bool BreaksBeside(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0xD800 && c <= 0xDFFF);
}

std::wstring_view TrimmedRight(std::wstring_view text)
{
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\r' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

// The end of the longest start of text that fits nWidth with strTail after it; a cut falls
// between characters only. A search by halves: widths grow with the text, and a long text
// would otherwise be measured once per character.
size_t LongestFitting(std::wstring_view text, const TextMeasure& measure, int nWidth, std::wstring_view tail)
{
    std::vector<size_t> cuts;  // every place a cut may fall, the text's end last
    for (size_t i = 1; i <= text.size(); ++i)
        if (i == text.size() || !IsLowSurrogate(text[i]))
            cuts.push_back(i);
    size_t nLow = 0, nHigh = cuts.size();  // cuts[0 .. nLow) are known to fit
    while (nLow < nHigh) {
        const size_t nMid = (nLow + nHigh) / 2;
        std::wstring strTry(text.substr(0, cuts[nMid]));
        strTry += tail;
        if (measure(strTry) <= nWidth)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    return nLow ? cuts[nLow - 1] : 0;
}

// Where a line of text should end when it cannot hold all of it: after the last word that
// fits (or character, beside Chinese and Japanese), else after the last character that fits, else after one character so each line
// takes something.
size_t LineEnd(std::wstring_view text, const TextMeasure& measure, int nWidth, std::wstring_view tail)
{
    const size_t nFit = LongestFitting(text, measure, nWidth, tail);
    if (nFit < text.size() && (text[nFit] == L' ' || (nFit && (BreaksBeside(text[nFit - 1]) || BreaksBeside(text[nFit])))))
        return nFit;
    const size_t nSpace = nFit ? text.rfind(L' ', nFit - 1) : std::wstring_view::npos;
    if (nSpace != std::wstring_view::npos && !TrimmedRight(text.substr(0, nSpace)).empty())
        return nSpace;
    if (nFit)
        return nFit;
    return text.size() > 1 && IsLowSurrogate(text[1]) ? 2 : std::min<size_t>(1, text.size());
}
}  // namespace

std::vector<std::wstring> FitTextLines(std::wstring_view text, const TextMeasure& measure, int nWidth, size_t nLines)
{
    std::vector<std::wstring> arrLines;
    while (arrLines.size() < nLines) {
        while (!text.empty() && text.front() == L' ')
            text.remove_prefix(1);
        if (TrimmedRight(text).empty())
            break;
        const size_t nBreak = text.find(L'\n');
        const std::wstring_view para = TrimmedRight(text.substr(0, nBreak));
        const bool bLast = arrLines.size() + 1 == nLines;
        const bool bMoreAfter = nBreak != std::wstring_view::npos && !TrimmedRight(text.substr(nBreak + 1)).empty();
        if (measure(para) <= nWidth && !(bLast && bMoreAfter)) {
            arrLines.emplace_back(para);
            text = nBreak == std::wstring_view::npos ? std::wstring_view{} : text.substr(nBreak + 1);
            continue;
        }
        if (bLast) {
            // The rest does not fit: as much as fits with the ellipsis, which must show.
            const size_t nEnd = measure(para) <= nWidth && measure(std::wstring(para) + std::wstring(kEllipsis)) <= nWidth
                                    ? para.size()
                                    : LineEnd(para, measure, nWidth, kEllipsis);
            arrLines.push_back(std::wstring(TrimmedRight(para.substr(0, nEnd))) + std::wstring(kEllipsis));
            break;
        }
        const size_t nEnd = LineEnd(para, measure, nWidth, {});
        arrLines.emplace_back(TrimmedRight(para.substr(0, nEnd)));
        text.remove_prefix(nEnd);
    }
    return arrLines;
}
