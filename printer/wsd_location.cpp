#include "printer/wsd_location.h"

#include <algorithm>

WsdCut CutWsdHost(const std::wstring& strLocation, std::wstring& strHost)
{
    std::wstring text = strLocation.substr(0, 259);
    size_t scheme = text.find(L"http://");
    if (scheme == std::wstring::npos)
        return WsdCut::NoHttp;
    // The host starts after the scheme wherever the scheme stands.
    std::wstring rest = text.substr(scheme + 7);
    size_t colon = rest.rfind(L':');
    if (colon == std::wstring::npos)
        return WsdCut::NoColon;
    strHost = rest.substr(0, std::min(colon, kWsdIPChars - 1));
    return WsdCut::Found;
}

std::wstring RemoveBrackets(const std::wstring& strText)
{
    std::wstring out;
    for (wchar_t c : strText)
        if (c != L'[' && c != L']')
            out += c;
    return out;
}
