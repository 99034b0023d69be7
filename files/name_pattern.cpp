#include "files/name_pattern.h"

#include <cwctype>

namespace {
size_t LastPartStart(const std::wstring& strPath)
{
    const size_t nSeparator = strPath.find_last_of(L"\\/:");
    return nSeparator == std::wstring::npos ? 0 : nSeparator + 1;
}

bool SameLetter(wchar_t a, wchar_t b) { return a == b || std::towupper(a) == std::towupper(b); }

// FILE_ATTRIBUTE_DIRECTORY and FILE_ATTRIBUTE_REPARSE_POINT.
constexpr uint32_t kNotAPlainFile = 0x10 | 0x400;
}  // namespace

bool HasNamePattern(const std::wstring& strPath)
{
    return strPath.find_first_of(L"*?", LastPartStart(strPath)) != std::wstring::npos;
}

bool MatchesNamePattern(const std::wstring& strName, const std::wstring& strPattern)
{
    // Greedy match with one step back to the last "*": linear in practice, never recursive.
    size_t n = 0, p = 0;
    size_t nStarName = std::wstring::npos, nStarPattern = std::wstring::npos;
    while (n < strName.size()) {
        if (p < strPattern.size() && strPattern[p] == L'*') {
            nStarPattern = p++;
            nStarName = n;
        } else if (p < strPattern.size() && (strPattern[p] == L'?' || SameLetter(strPattern[p], strName[n]))) {
            ++p;
            ++n;
        } else if (nStarPattern != std::wstring::npos) {
            p = nStarPattern + 1;
            n = ++nStarName;
        } else {
            return false;
        }
    }
    while (p < strPattern.size() && strPattern[p] == L'*')
        ++p;
    return p == strPattern.size();
}

std::vector<std::wstring> MatchingFileNames(const std::vector<FolderEntry>& arrEntries,
                                            const std::wstring& strPattern)
{
    std::vector<std::wstring> arrNames;
    for (const FolderEntry& entry : arrEntries)
        if (!(entry.nAttributes & kNotAPlainFile) && MatchesNamePattern(entry.strName, strPattern))
            arrNames.push_back(entry.strName);
    return arrNames;
}
