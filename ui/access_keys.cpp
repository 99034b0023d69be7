#include "ui/access_keys.h"

#include <cwctype>

#include "ui/advanced_opts_text.h"

wchar_t AccessKeyOf(const std::wstring& strText)
{
    for (size_t i = 0; i + 1 < strText.size(); ++i) {
        if (strText[i] != L'&')
            continue;
        const wchar_t ch = strText[i + 1];
        if (ch == L'&') {
            ++i;
            continue;
        }
        return std::iswspace(ch) ? 0 : static_cast<wchar_t>(std::towupper(ch));
    }
    return 0;
}

std::wstring WithoutAccessKey(const std::wstring& strText)
{
    // Without a key, ampersands are the text's own ("Black & White").
    if (!AccessKeyOf(strText))
        return strText;
    std::wstring strPlain = strText;
    const size_t nOpen = strPlain.rfind(L"(&");
    if (nOpen != std::wstring::npos && nOpen + 3 < strPlain.size() && strPlain[nOpen + 3] == L')' &&
        strPlain[nOpen + 2] != L'&')
        strPlain.erase(nOpen, 4);
    std::wstring strResult;
    for (size_t i = 0; i < strPlain.size(); ++i) {
        if (strPlain[i] == L'&' && i + 1 < strPlain.size())
            ++i;
        strResult += strPlain[i];
    }
    return strResult;
}

ShownLabel ShownWithAccessKey(const std::wstring& strText)
{
    ShownLabel shown;
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == L'&' && i + 1 < strText.size()) {
            ++i;
            if (strText[i] != L'&' && shown.nKey == std::wstring::npos)
                shown.nKey = shown.strText.size();
        } else if (strText[i] == L'&') {
            continue;  // a lone one at the end
        }
        shown.strText += strText[i];
    }
    return shown;
}

std::wstring LabelWithAmpersands(const std::wstring& strText)
{
    return AccessKeyOf(strText) ? strText : DoubleAmpersands(strText);
}
