#include "common/placeholders.h"

#include "common/ui_text.h"

namespace {
bool IsPlaceDigit(wchar_t ch) { return ch >= L'1' && ch <= L'9'; }

// The value as a count, or -1 when it is none.
long long CountOf(const std::wstring& strValue)
{
    if (strValue.empty() || strValue.size() > 12)
        return -1;
    long long nCount = 0;
    for (wchar_t ch : strValue) {
        if (ch < L'0' || ch > L'9')
            return -1;
        nCount = nCount * 10 + (ch - L'0');
    }
    return nCount;
}

// True when the language's rule gives a count the first form: its numbers are listed
// in the string file, separated by anything that is no digit.
bool TakesFirstForm(long long nCount)
{
    const std::wstring strRule = GetUIText(L"PLURAL", L"IDL_PLURAL_ONE", L"1");
    long long nNumber = -1;
    for (size_t i = 0; i <= strRule.size(); ++i) {
        const wchar_t ch = i < strRule.size() ? strRule[i] : L' ';
        if (ch >= L'0' && ch <= L'9') {
            nNumber = (nNumber < 0 ? 0 : nNumber) * 10 + (ch - L'0');
            if (nNumber > 1000000)
                return false;
        } else {
            if (nNumber >= 0 && nNumber == nCount)
                return true;
            nNumber = -1;
        }
    }
    return false;
}

// "{N:one|other}" at i: the chosen form and the length of the place, or 0 when the text
// there is no such place.
size_t ChooseForm(const std::wstring& strPattern, size_t i, const std::wstring& strValue, std::wstring& strForm)
{
    const size_t nEnd = strPattern.find(L'}', i);
    if (nEnd == std::wstring::npos)
        return 0;
    const std::wstring strForms = strPattern.substr(i + 3, nEnd - i - 3);
    if (strForms.find(L'{') != std::wstring::npos)
        return 0;
    const size_t nBar = strForms.find(L'|');
    if (nBar == std::wstring::npos)
        strForm = strForms;
    else
        strForm = TakesFirstForm(CountOf(strValue)) ? strForms.substr(0, nBar)
                                                    : strForms.substr(nBar + 1, strForms.find(L'|', nBar + 1) - nBar - 1);
    return nEnd - i + 1;
}
}  // namespace

std::wstring FillPlaceholders(const std::wstring& strPattern, std::initializer_list<std::wstring> values)
{
    std::wstring strResult;
    strResult.reserve(strPattern.size());
    for (size_t i = 0; i < strPattern.size(); ++i) {
        if (strPattern[i] == L'{' && i + 2 < strPattern.size() && IsPlaceDigit(strPattern[i + 1])) {
            const size_t nIndex = static_cast<size_t>(strPattern[i + 1] - L'1');
            if (nIndex < values.size() && strPattern[i + 2] == L'}') {
                strResult += values.begin()[nIndex];
                i += 2;
                continue;
            }
            std::wstring strForm;
            const size_t nLength = nIndex < values.size() && strPattern[i + 2] == L':'
                                       ? ChooseForm(strPattern, i, values.begin()[nIndex], strForm)
                                       : 0;
            if (nLength) {
                strResult += strForm;
                i += nLength - 1;
                continue;
            }
        }
        strResult += strPattern[i];
    }
    return strResult;
}

std::wstring FilledUIText(const wchar_t* pszSection, const UIText& text, std::initializer_list<std::wstring> values)
{
    return FillPlaceholders(GetUIText(pszSection, text.pszKey, text.pszDefault), values);
}
