#include "files/browse_filter.h"

#include "common/wide_format.h"
#include "files/file_types.h"

namespace {
struct FilterRow {
    int bit;
    const wchar_t* name;
    const wchar_t* shown;     // the patterns as the description shows them
    const wchar_t* patterns;  // the patterns the dialog matches
};
constexpr FilterRow kFilterRows[] = {
    {kTypePDF, L"PDF", L"*.PDF", L"*.pdf"},
    {kTypeJPEG, L"JPEG", L"*.JPG,*.JPEG,*.JPE,*.JFIF", L"*.jpg;*.jpeg;*.jpe;*.jfif"},
    {kTypeTIFF, L"TIFF", L"*.TIF,*.TIFF", L"*.tif;*.tiff"},
    {kTypePNG, L"PNG", L"*.PNG", L"*.png"},
    {kTypeBMP, L"BMP", L"*.BMP", L"*.bmp"},
};
// One entry with the longest localized word (259 characters) stays well inside this.
constexpr size_t kEntryChars = 1024;
}  // namespace

std::wstring BuildBrowseFilter(int nSupportedTypes, const std::wstring& strWord, const std::wstring& strPrintable)
{
    if (nSupportedTypes <= 0)
        return FormatWide(kEntryChars, L"All %s (*.*)|*.*|", strWord.c_str());
    // Every type the printer takes in one entry first, so files of several types are picked together.
    std::wstring strShown, strPatterns, strTypes;
    for (const FilterRow& row : kFilterRows) {
        if (!(nSupportedTypes & row.bit))
            continue;
        strShown += (strShown.empty() ? L"" : L",") + std::wstring(row.shown);
        strPatterns += (strPatterns.empty() ? L"" : L";") + std::wstring(row.patterns);
        strTypes += std::wstring(row.name) + L" " + strWord + L" (" + row.shown + L")|" + row.patterns + L"|";
    }
    return strPrintable + L" (" + strShown + L")|" + strPatterns + L"|" + strTypes;
}

std::vector<wchar_t> FilterToDialogBuffer(const std::wstring& strFilter)
{
    std::vector<wchar_t> buffer(strFilter.begin(), strFilter.end());
    for (wchar_t& ch : buffer)
        if (ch == L'|')
            ch = L'\0';
    buffer.push_back(L'\0');
    buffer.push_back(L'\0');
    return buffer;
}

std::vector<std::wstring> SplitOpenFileSelection(const wchar_t* pszBuffer, size_t nBufferChars)
{
    std::vector<std::wstring> parts;
    size_t nPos = 0;
    while (nPos < nBufferChars && pszBuffer[nPos] != L'\0') {
        size_t nEnd = nPos;
        while (nEnd < nBufferChars && pszBuffer[nEnd] != L'\0')
            ++nEnd;
        parts.emplace_back(pszBuffer + nPos, nEnd - nPos);
        nPos = nEnd + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::vector<std::wstring> paths;
    for (size_t i = 1; i < parts.size(); ++i)
        paths.push_back(parts[0] + L"\\" + parts[i]);
    return paths;
}
