#include "printer/port/printer_url_port.h"

#include <algorithm>

#include "common/ascii_case.h"

bool IsPrinterUrl(const std::wstring& strName)
{
    for (std::wstring_view scheme : {L"ipp://", L"ipps://", L"http://", L"https://"})
        if (strName.size() > scheme.size() &&
            SameIgnoringAsciiCase(std::wstring_view(strName).substr(0, scheme.size()), scheme))
            return true;
    return false;
}

std::wstring IppUrlAtAddress(const std::wstring& strAddress, unsigned short nPort)
{
    // A registry value: no user information, path or blank may ride into the URL.
    const bool bFit = !strAddress.empty() && strAddress.size() < 256 &&
                      std::all_of(strAddress.begin(), strAddress.end(), [](wchar_t c) {
                          return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                                 c == L'.' || c == L'-' || c == L':' || c == L'_';
                      });
    if (!bFit)
        return {};
    std::wstring strHost = strAddress;
    const size_t nColons = std::count(strHost.begin(), strHost.end(), L':');
    if (nColons == 1)
        strHost.resize(strHost.find(L':'));
    else if (nColons > 1)
        strHost = L"[" + strHost + L"]";
    if (strHost.empty())
        return {};
    return L"ipp://" + strHost + L":" + std::to_wstring(nPort) + L"/ipp/print";
}
