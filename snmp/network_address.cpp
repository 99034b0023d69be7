#include "snmp/network_address.h"

#include <algorithm>

namespace {
bool ParsePort(const std::string& text, unsigned short& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > 65535)
        return false;
    port = static_cast<unsigned short>(value);
    return true;
}

bool HasNoBlanksOrControls(const std::string& text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '[' || c == ']' || c == '/';
    });
}
}  // namespace

NetworkAddress::NetworkAddress(const std::string& strText)
{
    std::string host;
    unsigned short port = kDefaultPort;
    bool ipv6 = false;
    if (!strText.empty() && strText[0] == '[') {
        size_t close = strText.find(']');
        if (close == std::string::npos)
            return;
        host = strText.substr(1, close - 1);
        std::string rest = strText.substr(close + 1);
        if (!rest.empty() && (rest[0] != ':' || !ParsePort(rest.substr(1), port)))
            return;
        if (host.find(':') == std::string::npos)
            return;
        ipv6 = true;
    } else {
        size_t colons = static_cast<size_t>(std::count(strText.begin(), strText.end(), ':'));
        if (colons >= 2) {
            host = strText;  // bare IPv6: no port can be written without brackets
            ipv6 = true;
        } else if (colons == 1) {
            size_t colon = strText.find(':');
            host = strText.substr(0, colon);
            if (!ParsePort(strText.substr(colon + 1), port))
                return;
        } else {
            host = strText;
        }
    }
    if (host.empty() || !HasNoBlanksOrControls(host))
        return;
    m_strHost = host;
    m_nPort = port;
    m_bIPv6 = ipv6;
    m_bValid = true;
}

std::string NetworkAddress::toString() const
{
    if (!m_bValid)
        return {};
    std::string host = m_bIPv6 ? "[" + m_strHost + "]" : m_strHost;
    return host + ":" + std::to_string(m_nPort);
}

IPv6Address::IPv6Address(const std::string& strText) : NetworkAddress(strText)
{
    if (!m_bIPv6)
        *this = IPv6Address();
}
