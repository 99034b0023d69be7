#pragma once
// A printer's TLS certificate as this client judges it. Almost every printer makes its own
// certificate, signed by nobody Windows knows: such a certificate is trusted on first use
// (its SHA-256 pinned for the printer's scheme, host and port) and refused once the printer
// shows another. Portable: the Windows build reads the certificate and keeps the pins.
#include <optional>
#include <string>
#include <string_view>

#include "ipp/ipp_url.h"

namespace ipp {

enum class CertificatePolicy {
    FirstUse,  // Windows' trust, else the pin made on first use
    System,    // Windows' trust alone; nothing is pinned
};

enum class CertificateTrust {
    None,
    Windows,   // Windows trusts it for the URL's host
    FirstUse,  // pinned on first use (now or earlier)
};

struct Certificate {
    std::string sha256;        // 64 upper-case hex digits
    std::wstring strSubject;   // cut short; cleaned where it is shown
    CertificateTrust trust = CertificateTrust::None;
    std::string pinnedOn;      // FirstUse: the day of the pin, "2026-12-09"
};

// What a printer's pin says: the fingerprint and the day it was made.
struct Pin {
    std::string sha256;
    std::string day;
};

// A pin value as kept: "<64 hex digits> <YYYY-MM-DD>"; nullopt for anything else.
std::optional<Pin> ParsePin(std::string_view value);
std::string PinValue(const Pin& pin);
// The name a printer's pin and remembered sign-in go by: "ipps://host:port", the host in
// lower case (IPv6 in brackets).
std::string PinName(const PrinterUrl& url);
// "AB:CD:…:EF".
std::string FingerprintText(const std::string& sha256);
bool IsFingerprint(std::string_view text);

enum class CertificateVerdict {
    TrustedByWindows,
    Pinned,        // the pin's fingerprint
    PinNow,        // first use, or the user's /trust: pin it and go on
    Changed,       // another than the one pinned
    NotTrusted,    // the policy takes Windows' trust alone
};

// bTrustShown: the user asked to trust whatever the printer shows now.
CertificateVerdict JudgeCertificate(bool bTrustedByWindows, const std::string& sha256, const std::optional<Pin>& pin,
                                    CertificatePolicy policy, bool bTrustShown);

}  // namespace ipp
