#pragma once
// One variable binding: an object identifier and its value (NULL in a request).
#include <memory>

#include "snmp/oid.h"
#include "snmp/snmp_values.h"

class VarBind {
public:
    VarBind() : m_value(std::make_unique<SNMPDataType>()) {}
    VarBind(const VarBind& other) : m_oid(other.m_oid), m_value(other.m_value->clone()) {}
    VarBind& operator=(const VarBind& other)
    {
        if (this != &other) {
            m_oid = other.m_oid;
            m_value = other.m_value->clone();
        }
        return *this;
    }

    void setOID(const OID& oid) { m_oid = oid; }
    const OID& getOID() const { return m_oid; }
    void setValue(const SNMPDataType& value) { m_value = value.clone(); }
    const SNMPDataType& getValue() const { return *m_value; }

private:
    OID m_oid;
    std::unique_ptr<SNMPDataType> m_value;
};
