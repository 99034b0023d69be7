#pragma once
// Printer URLs: ipp://, ipps://, http:// and https://, as a port name, a command line or
// a printer's redirect gives them. ipp is carried by http, ipps by https; both default to
// port 631. User information ("user:password@") is refused: no credentials are sent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ipp {

struct PrinterUrl {
    std::string scheme;  // lower case: ipp, ipps, http or https
    std::string host;    // as written, without the brackets of an IPv6 address
    bool ipv6 = false;
    uint16_t port = 631;
    std::string path;    // begins with '/', query included, fragment dropped

    // True for ipps and https: TLS, verified by the system.
    bool Secure() const { return scheme == "ipps" || scheme == "https"; }
    // The host as written in a URL or a Host header: "[::1]" for IPv6.
    std::string HostForUrl() const { return ipv6 ? "[" + host + "]" : host; }
    // The URL as this client writes it, e.g. for printer-uri.
    std::string Text() const;
};

constexpr size_t kMaxUrlBytes = 1023;

// Parses a URL; nullopt when it is not one of the four schemes or not well formed.
std::optional<PrinterUrl> ParsePrinterUrl(std::string_view text);

// True when two URLs name the same host (ASCII case ignored), whatever their ports.
bool SameHost(const PrinterUrl& a, const PrinterUrl& b);
// True when a redirect from `from` to `to` stays with the same printer: the same host and
// port, or IPP's port and HTTPS's (631 and 443) of that host, as a printer moving to TLS
// sends it.
bool SamePrinterService(const PrinterUrl& from, const PrinterUrl& to);

}  // namespace ipp
