#include "ipp/ipp_certificate.h"

namespace ipp {

namespace {
bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsDay(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}
}  // namespace

bool IsFingerprint(std::string_view text)
{
    if (text.size() != 64)
        return false;
    for (char c : text)
        if (!IsHexDigit(c))
            return false;
    return true;
}

std::optional<Pin> ParsePin(std::string_view value)
{
    if (value.size() != 64 + 1 + 10 || value[64] != ' ' || !IsFingerprint(value.substr(0, 64)) ||
        !IsDay(value.substr(65)))
        return std::nullopt;
    return Pin{Upper(value.substr(0, 64)), std::string(value.substr(65))};
}

std::string PinValue(const Pin& pin)
{
    return pin.sha256 + " " + pin.day;
}

std::string PinName(const PrinterUrl& url)
{
    std::string host = url.HostForUrl();
    for (char& c : host)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return url.scheme + "://" + host + ":" + std::to_string(url.port);
}

std::string FingerprintText(const std::string& sha256)
{
    std::string text;
    for (size_t i = 0; i + 1 < sha256.size(); i += 2)
        text += (text.empty() ? "" : ":") + sha256.substr(i, 2);
    return text;
}

CertificateVerdict JudgeCertificate(bool bTrustedByWindows, const std::string& sha256, const std::optional<Pin>& pin,
                                    CertificatePolicy policy, bool bTrustShown)
{
    if (bTrustedByWindows)
        return CertificateVerdict::TrustedByWindows;
    if (policy == CertificatePolicy::System)
        return CertificateVerdict::NotTrusted;
    if (bTrustShown || !pin)
        return CertificateVerdict::PinNow;
    return pin->sha256 == Upper(sha256) ? CertificateVerdict::Pinned : CertificateVerdict::Changed;
}

}  // namespace ipp
