#include "common/placeholders.h"

std::wstring FillPlaceholders(const std::wstring& strPattern, std::initializer_list<std::wstring> values)
{
    std::wstring strResult;
    strResult.reserve(strPattern.size());
    for (size_t i = 0; i < strPattern.size(); ++i) {
        if (strPattern[i] == L'{' && i + 2 < strPattern.size() && strPattern[i + 2] == L'}' &&
            strPattern[i + 1] >= L'1' && strPattern[i + 1] <= L'9') {
            const size_t nIndex = static_cast<size_t>(strPattern[i + 1] - L'1');
            if (nIndex < values.size()) {
                strResult += values.begin()[nIndex];
                i += 2;
                continue;
            }
        }
        strResult += strPattern[i];
    }
    return strResult;
}
