#include "printer/port/ap_port_info.h"

#include <algorithm>

#include "printer/port/printer_url_port.h"

namespace {
uint32_t Dword(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
}  // namespace

bool ReadApPortInfo(const uint8_t* p, size_t cb, ApPortInfo& info, std::string& strWhy)
{
    if (!p || cb < 8) {
        strWhy = "the answer is " + std::to_string(cb) + " bytes, too short for its header";
        return false;
    }
    if (const uint32_t nVersion = Dword(p); nVersion != 1) {
        strWhy = "version " + std::to_string(nVersion) + " is not 1";
        return false;
    }
    const uint32_t nProtocol = Dword(p + 4);
    if (nProtocol != 1 && nProtocol != 2) {
        strWhy = "protocol " + std::to_string(nProtocol) + " is neither WSD (1) nor IPP (2)";
        return false;
    }
    // Only the bytes delivered and within the field count: a monitor may write past neither.
    const size_t nChars = std::min((cb - 8) / 2, kApPortUrlChars);
    std::wstring strUrl;
    size_t i = 0;
    for (; i < nChars; ++i) {
        const wchar_t c = static_cast<wchar_t>(p[8 + 2 * i] | p[9 + 2 * i] << 8);
        if (c == L'\0')
            break;
        strUrl += c;
    }
    if (i == nChars) {
        strWhy = "its URL is not terminated within " + std::to_string(nChars) + " characters";
        return false;
    }
    info.protocol = static_cast<ApPortProtocol>(nProtocol);
    if (info.protocol == ApPortProtocol::Ipp && !IsPrinterUrl(strUrl)) {
        strWhy = "its IPP port has no ipp://, ipps://, http:// or https:// URL";
        return false;
    }
    info.strUrl = std::move(strUrl);
    return true;
}
