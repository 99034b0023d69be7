// The library's objects: identifiers from text, agent addresses, values and the target.
#include <gtest/gtest.h>

#include <set>

#include "snmp/snmp.h"

TEST(SnmpOid, DottedTextIsParsedStrictly)
{
    EXPECT_EQ(OID("1.3.6.1.4.1.48751.11.5.1.1.1.26.0").getArcs().size(), 14u);
    EXPECT_EQ(OID(".1.3.6.1").toString(), "1.3.6.1");
    EXPECT_EQ(OID("2.999.4294967295").getArcs().back(), 4294967295u);
    for (const char* bad : {"", "1", "1.3.", "1..3", "1.3.x", "3.1", "1.40", "1.3.4294967296", " 1.3", "1.3 "})
        EXPECT_FALSE(OID(bad).isValid()) << bad;
    EXPECT_FALSE(OID(static_cast<const char*>(nullptr)).isValid());
}

TEST(SnmpAddress, HostsPortsAndIPv6Forms)
{
    struct Case { const char* text; bool valid; const char* host; unsigned short port; bool v6; };
    const Case cases[] = {
        {"192.0.2.10", true, "192.0.2.10", 161, false},
        {"printer.example", true, "printer.example", 161, false},
        {"127.0.0.1:1161", true, "127.0.0.1", 1161, false},
        {"fe80::1%4", true, "fe80::1%4", 161, true},
        {"::1", true, "::1", 161, true},
        {"[::1]:1161", true, "::1", 1161, true},
        {"[fe80::1%4]", true, "fe80::1%4", 161, true},
        {"", false, "", 0, false},
        {"host:", false, "", 0, false},
        {"host:0", false, "", 0, false},
        {"host:65536", false, "", 0, false},
        {"host:16x", false, "", 0, false},
        {":161", false, "", 0, false},
        {"[::1", false, "", 0, false},
        {"[::1]x", false, "", 0, false},
        {"[host]:161", false, "", 0, false},
        {"192.0.2.10/ws", false, "", 0, false},
        {"my printer", false, "", 0, false},
    };
    for (const Case& c : cases) {
        NetworkAddress a(c.text);
        EXPECT_EQ(a.isValid(), c.valid) << c.text;
        if (!c.valid)
            continue;
        EXPECT_EQ(a.getHost(), c.host) << c.text;
        EXPECT_EQ(a.getPort(), c.port) << c.text;
        EXPECT_EQ(a.isIPv6(), c.v6) << c.text;
    }
    EXPECT_EQ(NetworkAddress("[::1]:1161").toString(), "[::1]:1161");
    EXPECT_TRUE(IPv6Address("[::1]:1161").isValid());
    EXPECT_FALSE(IPv6Address("127.0.0.1").isValid());
}

TEST(SnmpValues, OctetStringTakesOnlyOctetStringValues)
{
    OctetString s;
    s = SNMPDataType(SNMP_TYPE_OCTET_STRING, {'C', 'M', 'D', 0, 'x'});
    EXPECT_EQ(s.toString(), std::string("CMD\0x", 5));
    s = SNMPDataType(SNMP_TYPE_INTEGER, {1});
    EXPECT_EQ(s.toString(), "");
    const SNMPDataType& base = OctetString("abc");
    EXPECT_EQ(base.getDataType(), 4);
    EXPECT_EQ(SNMPDataType().getDataType(), SNMP_TYPE_NULL);

    VarBind vb;
    vb.setValue(OctetString("kept"));
    VarBind copy = vb;  // a copy owns its own value, of the same dynamic type
    vb.setValue(SNMPDataType());
    EXPECT_EQ(copy.getValue().getDataType(), 4);
    EXPECT_EQ(dynamic_cast<const OctetString&>(copy.getValue()).toString(), "kept");
}

TEST(SnmpTarget, RefusesValuesOutsideItsRanges)
{
    Target t;
    EXPECT_EQ(t.setAgentAddress("127.0.0.1"), 1);
    EXPECT_EQ(t.setAgentAddress(""), 0);
    EXPECT_FALSE(t.getAgentAddress().isValid());  // the old agent is not kept
    EXPECT_EQ(t.setTimeout(0), 0);
    EXPECT_EQ(t.setTimeout(3), 1);
    EXPECT_EQ(t.getTimeout(), 3);
    EXPECT_EQ(t.setRetryCount(-1), 0);
    EXPECT_EQ(t.setRetryCount(0), 1);
    EXPECT_EQ(t.setReadCommunity(nullptr), 1);
    EXPECT_EQ(t.getReadCommunity(), "");
}

TEST(SnmpManager, RefusesWhatCannotBeSentWithoutWaiting)
{
    Target target;
    target.setAgentAddress("127.0.0.1:9");
    VarBind vb;
    vb.setOID(OID("1.3.6.1.2.1.1.1.0"));
    ReqRespPDU pdu;
    pdu.setVarBindList(&vb, 1);
    EXPECT_EQ(SNMPManager().get(pdu, target), SNMP_ERROR_NOT_STARTED);

    ASSERT_EQ(SNMPStartup(), SNMP_SUCCESS);
    ReqRespPDU empty;
    EXPECT_EQ(SNMPManager().get(empty, target), SNMP_ERROR_BAD_REQUEST);
    VarBind noOid;
    ReqRespPDU invalid;
    invalid.setVarBindList(&noOid, 1);
    EXPECT_EQ(SNMPManager().get(invalid, target), SNMP_ERROR_BAD_REQUEST);
    target.setAgentAddress("");
    EXPECT_EQ(SNMPManager().get(pdu, target), SNMP_ERROR_BAD_ADDRESS);
    target.setAgentAddress("no-such-host.invalid");
    EXPECT_EQ(SNMPManager().get(pdu, target), SNMP_ERROR_NOT_RESOLVED);
    SNMPCleanup();

    // Every status has its own text.
    std::set<std::string> texts;
    for (int s = -8; s <= 19; ++s)
        texts.insert(SNMPManager::errorToString(s));
    EXPECT_EQ(texts.size(), 28u);
}
