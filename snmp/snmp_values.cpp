#include "snmp/snmp_values.h"

OctetString& OctetString::operator=(const SNMPDataType& value)
{
    if (&value == this)
        return *this;
    if (value.getDataType() == SNMP_TYPE_OCTET_STRING)
        m_content = value.getContent();
    else
        m_content.clear();
    return *this;
}
