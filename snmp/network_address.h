#pragma once
// Agent address text: an IPv4 address, a host name or an IPv6 address, with an optional
// port: "192.0.2.10", "printer.example", "fe80::1%4", "host:1161", "[::1]:1161".
// Without a port the SNMP port 161 is used.
#include <string>

class NetworkAddress {
public:
    static constexpr unsigned short kDefaultPort = 161;

    NetworkAddress() = default;
    explicit NetworkAddress(const std::string& strText);
    NetworkAddress(const NetworkAddress&) = default;
    NetworkAddress& operator=(const NetworkAddress&) = default;
    virtual ~NetworkAddress() = default;

    bool isValid() const { return m_bValid; }
    // The host part without brackets or port; resolved when a request is sent.
    const std::string& getHost() const { return m_strHost; }
    unsigned short getPort() const { return m_nPort; }
    // True for an IPv6 address text (written bare or in brackets).
    virtual bool isIPv6() const { return m_bIPv6; }
    // The address as it would be written back: "[v6]:port" for IPv6 with a port.
    std::string toString() const;

protected:
    bool m_bValid = false;
    bool m_bIPv6 = false;
    std::string m_strHost;
    unsigned short m_nPort = kDefaultPort;
};

// An address that must be IPv6: text that is not IPv6 gives an invalid address.
class IPv6Address : public NetworkAddress {
public:
    IPv6Address() = default;
    explicit IPv6Address(const std::string& strText);
    IPv6Address(const IPv6Address&) = default;
    IPv6Address& operator=(const IPv6Address&) = default;
    bool isIPv6() const override { return true; }
};
