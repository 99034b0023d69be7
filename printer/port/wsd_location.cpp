#include "printer/port/wsd_location.h"

namespace {
constexpr size_t kReadChars = 259;

bool StartsWithNoCase(const std::wstring& strText, const std::wstring& strLowerPrefix)
{
    if (strText.size() < strLowerPrefix.size())
        return false;
    for (size_t i = 0; i < strLowerPrefix.size(); ++i) {
        wchar_t c = strText[i];
        if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != strLowerPrefix[i])
            return false;
    }
    return true;
}

// Characters taken by "http://" or "https://" at the start; 0 for any other text.
size_t SchemeLength(const std::wstring& strText)
{
    for (const wchar_t* pszScheme : {L"http://", L"https://"}) {
        if (StartsWithNoCase(strText, pszScheme))
            return std::wstring(pszScheme).size();
    }
    return 0;
}

std::wstring Trimmed(const std::wstring& strText)
{
    const wchar_t* pszBlanks = L" \t\r\n";
    size_t first = strText.find_first_not_of(pszBlanks);
    if (first == std::wstring::npos)
        return {};
    return strText.substr(first, strText.find_last_not_of(pszBlanks) - first + 1);
}

// The host of "user@host:port"; empty when there is none or the IPv6 literal is malformed.
std::wstring HostOfAuthority(std::wstring strAuthority)
{
    size_t at = strAuthority.rfind(L'@');
    if (at != std::wstring::npos)
        strAuthority.erase(0, at + 1);
    std::wstring strHost;
    if (!strAuthority.empty() && strAuthority[0] == L'[') {
        size_t close = strAuthority.find(L']');
        if (close == std::wstring::npos || (close + 1 < strAuthority.size() && strAuthority[close + 1] != L':'))
            return {};
        strHost = strAuthority.substr(1, close - 1);
        if (strHost.find(L':') == std::wstring::npos)
            return {};  // not an IPv6 address
    } else {
        strHost = strAuthority.substr(0, strAuthority.find(L':'));
    }
    return strHost.find_first_of(L"[]") == std::wstring::npos ? strHost : std::wstring();
}
}  // namespace

WsdCut CutWsdHost(const std::wstring& strLocation, std::wstring& strHost)
{
    const std::wstring strUrl = Trimmed(strLocation.substr(0, kReadChars));
    const size_t scheme = SchemeLength(strUrl);
    if (scheme == 0)
        return WsdCut::NoHttp;
    const size_t end = strUrl.find_first_of(L"/?#", scheme);
    const std::wstring strFound = HostOfAuthority(strUrl.substr(scheme, end == std::wstring::npos ? end : end - scheme));
    if (strFound.empty() || strFound.size() > kWsdIPChars - 1)
        return WsdCut::NoHost;
    strHost = strFound;
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
