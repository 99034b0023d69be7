#pragma once
// Values of variable bindings. SNMPDataType keeps the value's SMI type code and its
// content octets; OctetString is the type-4 view of it as text.
#include <memory>
#include <string>
#include <vector>

enum SNMPTypeCode {
    SNMP_TYPE_INTEGER = 0x02,
    SNMP_TYPE_OCTET_STRING = 0x04,
    SNMP_TYPE_NULL = 0x05,
    SNMP_TYPE_OID = 0x06,
    SNMP_TYPE_IPADDRESS = 0x40,
    SNMP_TYPE_COUNTER32 = 0x41,
    SNMP_TYPE_GAUGE32 = 0x42,
    SNMP_TYPE_TIMETICKS = 0x43,
    SNMP_TYPE_OPAQUE = 0x44,
    SNMP_TYPE_COUNTER64 = 0x46,
    SNMP_TYPE_NO_SUCH_OBJECT = 0x80,    // SNMPv2c exceptions
    SNMP_TYPE_NO_SUCH_INSTANCE = 0x81,
    SNMP_TYPE_END_OF_MIB_VIEW = 0x82,
};

class SNMPDataType {
public:
    SNMPDataType() = default;  // NULL
    SNMPDataType(int nType, std::vector<unsigned char> content) : m_nType(nType), m_content(std::move(content)) {}
    SNMPDataType(const SNMPDataType&) = default;
    SNMPDataType& operator=(const SNMPDataType&) = default;
    virtual ~SNMPDataType() = default;

    virtual int getDataType() const { return m_nType; }
    const std::vector<unsigned char>& getContent() const { return m_content; }
    virtual std::unique_ptr<SNMPDataType> clone() const { return std::make_unique<SNMPDataType>(*this); }

protected:
    int m_nType = SNMP_TYPE_NULL;
    std::vector<unsigned char> m_content;
};

class OctetString : public SNMPDataType {
public:
    OctetString() : SNMPDataType(SNMP_TYPE_OCTET_STRING, {}) {}
    explicit OctetString(const std::string& text)
        : SNMPDataType(SNMP_TYPE_OCTET_STRING, std::vector<unsigned char>(text.begin(), text.end())) {}
    OctetString(const OctetString&) = default;
    OctetString& operator=(const OctetString&) = default;
    // Takes the content of an octet-string value; any other type leaves this string empty.
    OctetString& operator=(const SNMPDataType& value);

    int getDataType() const override { return SNMP_TYPE_OCTET_STRING; }
    std::unique_ptr<SNMPDataType> clone() const override { return std::make_unique<OctetString>(*this); }
    // The content unchanged, embedded zero bytes included.
    std::string toString() const { return std::string(m_content.begin(), m_content.end()); }
    size_t length() const { return m_content.size(); }
};
