#include "files/browse_filter.h"

#include "common/wide_format.h"
#include "files/file_types.h"

namespace {
struct FilterRow {
    int bit;
    const wchar_t* format;
};
constexpr FilterRow kFilterRows[] = {
    {kTypePDF, L"PDF %s (*.PDF)|*.pdf|"},
    {kTypeJPEG, L"JPEG %s (*.JPG,*.JPEG,*.JPE,*.JFIF)|*.jpg;*.jpeg;*.jpe;*.jfif|"},
    {kTypeTIFF, L"TIFF %s (*.TIF,*.TIFF)|*.tif;*.tiff|"},
    {kTypePNG, L"PNG %s (*.PNG)|*.png|"},
    {kTypeBMP, L"BMP %s (*.BMP)|*.bmp|"},
};
// One entry with the longest localized word (259 characters) stays well inside this.
constexpr size_t kEntryChars = 1024;
}  // namespace

std::wstring BuildBrowseFilter(int nSupportedTypes, const std::wstring& strWord)
{
    if (nSupportedTypes <= 0)
        return FormatWide(kEntryChars, L"All %s (*.*)|*.*|", strWord.c_str());
    std::wstring strFilter;
    for (const FilterRow& row : kFilterRows)
        if (nSupportedTypes & row.bit)
            strFilter += FormatWide(kEntryChars, row.format, strWord.c_str());
    return strFilter;
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
