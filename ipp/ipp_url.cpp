#include "ipp/ipp_url.h"

namespace ipp {

namespace {
char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerText(std::string_view s)
{
    std::string out;
    for (char c : s)
        out += Lower(c);
    return out;
}

bool IsAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A registered name or IPv4 address: letters, digits, '-', '.', '_', '~' (no percent escapes).
bool IsHostName(std::string_view s)
{
    if (s.empty() || s.size() > 253)
        return false;
    for (char c : s)
        if (!IsAlnum(c) && c != '-' && c != '.' && c != '_' && c != '~')
            return false;
    return true;
}

// Hex digits, colons and dots (an IPv4 tail), then optionally a zone after '%'.
bool IsIpv6Literal(std::string_view s)
{
    const size_t zone = s.find('%');
    const std::string_view address = s.substr(0, zone);
    if (address.size() < 2 || address.find(':') == std::string_view::npos)
        return false;
    for (char c : address)
        if (!((c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f') || c == ':' || c == '.'))
            return false;
    if (zone != std::string_view::npos) {
        const std::string_view id = s.substr(zone + 1);
        if (id.empty() || id.size() > 32)
            return false;
        for (char c : id)
            if (!IsAlnum(c) && c != '-' && c != '_' && c != '.')
                return false;
    }
    return true;
}

// Visible ASCII except what a path may not hold unescaped.
bool IsPathText(std::string_view s)
{
    for (char c : s)
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`' ||
            c == '{' || c == '|' || c == '}')
            return false;
    return true;
}

std::optional<uint16_t> PortNumber(std::string_view s)
{
    if (s.empty() || s.size() > 5)
        return std::nullopt;
    unsigned value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}
}  // namespace

std::string PrinterUrl::Text() const
{
    return scheme + "://" + HostForUrl() + ":" + std::to_string(port) + path;
}

std::optional<PrinterUrl> ParsePrinterUrl(std::string_view text)
{
    if (text.size() > kMaxUrlBytes)
        return std::nullopt;
    const size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::nullopt;
    PrinterUrl url;
    url.scheme = LowerText(text.substr(0, schemeEnd));
    if (url.scheme == "ipp" || url.scheme == "ipps")
        url.port = 631;
    else if (url.scheme == "http")
        url.port = 80;
    else if (url.scheme == "https")
        url.port = 443;
    else
        return std::nullopt;
    std::string_view rest = text.substr(schemeEnd + 3);
    if (const size_t fragment = rest.find('#'); fragment != std::string_view::npos)
        rest = rest.substr(0, fragment);
    const size_t pathStart = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, pathStart);
    const std::string_view path = pathStart == std::string_view::npos ? std::string_view() : rest.substr(pathStart);
    if (authority.find('@') != std::string_view::npos || !IsPathText(path))
        return std::nullopt;
    std::string_view portText;
    bool hasPort = false;
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        url.host = std::string(authority.substr(1, close - 1));
        url.ipv6 = true;
        if (!IsIpv6Literal(url.host))
            return std::nullopt;
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':')
                return std::nullopt;
            hasPort = true;
            portText = after.substr(1);
        }
    } else {
        const size_t colon = authority.find(':');
        url.host = std::string(authority.substr(0, colon));
        if (!IsHostName(url.host))
            return std::nullopt;
        if (colon != std::string_view::npos) {
            hasPort = true;
            portText = authority.substr(colon + 1);
        }
    }
    if (hasPort) {
        const std::optional<uint16_t> port = PortNumber(portText);
        if (!port)
            return std::nullopt;
        url.port = *port;
    }
    url.path = std::string(path);
    if (url.path.empty() || url.path.front() == '?')
        url.path.insert(url.path.begin(), '/');
    return url;
}

bool SameHost(const PrinterUrl& a, const PrinterUrl& b)
{
    return LowerText(a.host) == LowerText(b.host);
}

bool SamePrinterService(const PrinterUrl& from, const PrinterUrl& to)
{
    const bool bPortPair = (from.port == 631 && to.port == 443) || (from.port == 443 && to.port == 631);
    return SameHost(from, to) && (from.port == to.port || bPortPair);
}

}  // namespace ipp
