#include "i18n/lang_pattern.h"

#include <cwchar>

std::wstring ExpandLangPattern(const std::wstring& strPattern, const std::wstring& strCode)
{
    std::wstring strResult = strPattern;
    const size_t nAt = strResult.find(L"$$");
    if (nAt != std::wstring::npos)
        strResult.replace(nAt, 2, strCode);
    return strResult;
}

bool CopyWhole(wchar_t* pBuffer, int nCapacity, const wchar_t* szText)
{
    if (!pBuffer || nCapacity <= 0)
        return false;
    const size_t nLength = szText ? std::wcslen(szText) : 0;
    if (nLength >= static_cast<size_t>(nCapacity)) {
        pBuffer[0] = L'\0';
        return false;
    }
    std::wmemcpy(pBuffer, szText ? szText : L"", nLength);
    pBuffer[nLength] = L'\0';
    return true;
}
