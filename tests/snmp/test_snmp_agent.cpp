// Our SNMP layer and the device-ID query against a real net-snmp agent, against peers
// that stay silent or lose the first request, and against an agent that sends junk.
#include <gtest/gtest.h>

#include "printer/network_device_id.h"
#include "printer/supported_types.h"
#include "snmp/ber_codec.h"
#include "snmp/snmp.h"
#include "tests/support/hostile_agent.h"
#include "tests/support/log_capture.h"
#include "tests/support/snmp_agent.h"
#include "tests/support/udp_peers.h"

namespace {
const char kDeviceId[] = "MFG:Corvane;CMD:PDF,JPEG;MDL:KV 200;CLS:PRINTER;";
const wchar_t kDeviceIdWide[] = L"MFG:Corvane;CMD:PDF,JPEG;MDL:KV 200;CLS:PRINTER;";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

int Get(const std::string& address, const char* oid, SNMPVersion version, ReqRespPDU& pdu,
        const char* community = "public")
{
    Target target;
    target.setAgentAddress(address.c_str());
    target.setReadCommunity(community);
    target.setVersion(version);
    VarBind vb;
    vb.setOID(OID(oid));
    pdu.setVarBindList(&vb, 1);
    SNMPStartup();
    int status = SNMPManager().get(pdu, target);
    SNMPCleanup();
    return status;
}
}  // namespace

TEST(SnmpAgent, DeviceIdIsReadOverIPv4IPv6AndHostName)
{
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    std::string port = std::to_string(agent.Port());
    for (const std::string& address : {agent.V4Address(), agent.V6Address(), "localhost:" + port}) {
        std::wstring id = L"stale";
        EXPECT_EQ(QueryNetworkDeviceID(Wide(address), L"public", id), 1) << address;
        EXPECT_EQ(id, kDeviceIdWide) << address;
    }
    // The community the print monitor falls back on.
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(Wide(agent.V4Address()), L"mirlan", id), 1);
}

TEST(SnmpAgent, V1AndV2cReportAMissingObjectEachInItsOwnWay)
{
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    const char* missing = "1.3.6.1.4.1.48751.11.5.1.1.1.27.0";
    ReqRespPDU v1;
    EXPECT_EQ(Get(agent.V4Address(), missing, SNMPVersion::V1, v1), 2);  // noSuchName
    EXPECT_STREQ(SNMPManager::errorToString(2), "No such name");
    ReqRespPDU v2;
    ASSERT_EQ(Get(agent.V4Address(), missing, SNMPVersion::V2c, v2), SNMP_SUCCESS);
    EXPECT_EQ(v2.getVarBind(0)->getValue().getDataType(), SNMP_TYPE_NO_SUCH_OBJECT);
    ReqRespPDU found;
    ASSERT_EQ(Get(agent.V6Address(), SnmpAgent::kDeviceIdOid, SNMPVersion::V2c, found), SNMP_SUCCESS);
    OctetString s;
    s = found.getVarBind(0)->getValue();
    EXPECT_EQ(s.toString(), kDeviceId);
    EXPECT_EQ(found.getVarBind(1), nullptr);
}

TEST(SnmpAgent, WrongCommunityIsUnansweredAndFails)
{
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    LogCapture log;
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(Wide(agent.V4Address()), L"secret", id), 0);
    EXPECT_EQ(id, L"");
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ No response from agent (time-out)"));
    EXPECT_TRUE(log.Contains(L"GetNetworkDeviceID / bRet / 0"));
}

TEST(SnmpAgent, SilentAgentFailsAfterExactlyTwoRequests)
{
    udp_test::SilentAgent silent;
    LogCapture log;
    std::wstring id = L"stale";
    const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(silent.Port()), L"public", id);
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), -1);  // busy or off
    EXPECT_EQ(silent.WaitForReceived(2), 2);
    EXPECT_FALSE(log.Contains(L"[CPrtControl] GetNetworkDeviceID : Standard OID :  " +
                              Wide(SnmpAgent::kStandardDeviceIdOid)));
}

// Which object a printer holds decides where its ID comes from; the relay counts the
// requests on their way to the agent.
TEST(SnmpAgent, TheStandardObjectIsAskedOnlyWhenThePrivateOneIsMissing)
{
    const std::string privateId = "MFG:Corvane;CMD:PDF,JPEG;MDL:KV 200;";
    const std::string standardId = "MFG:Osmira;MDL:Q 5;CMD:PCL,PS,PDF,TIFF,PNG;CLS:PRINTER;";
    struct Case {
        const char* name;
        DeviceIdObjects objects;
        std::string expectedId;
        int nExpectedMask;
        int nExpectedRequests;
    } cases[] = {
        {"private only", {privateId, std::nullopt}, privateId, 1 | 2, 1},
        {"standard only", {std::nullopt, standardId}, standardId, 1 | 4 | 8, 2},
        {"both", {privateId, standardId}, privateId, 1 | 2, 1},
        {"neither", {std::nullopt, std::nullopt}, "", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SnmpAgent agent(c.objects);
        ASSERT_TRUE(agent.Ready());
        udp_test::LossyRelay relay(agent.Port(), 0);
        std::wstring id = L"stale";
        const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(relay.Port()), L"public", id);
        EXPECT_EQ(nResult, 1);  // the printer answered: never busy or off
        EXPECT_EQ(id, Wide(c.expectedId));
        EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), c.nExpectedMask);
        EXPECT_EQ(relay.WaitForReceived(c.nExpectedRequests), c.nExpectedRequests);
    }
}

TEST(SnmpAgent, AgentThatAnswersOnlyTheSecondRequestSucceeds)
{
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    udp_test::LossyRelay relay(agent.Port(), 1);
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(relay.Port()), L"public", id), 1);
    EXPECT_EQ(id, kDeviceIdWide);
    EXPECT_EQ(relay.Received(), 2);
}

TEST(SnmpAgent, EmptyAddressFailsWithoutWaiting)
{
    LogCapture log;
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(L"", L"mirlan", id), 0);
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ Invalid agent address"));
}

TEST(SnmpHostileAgent, JunkAndForeignRepliesAreIgnoredUntilTheRealOne)
{
    HostileAgent agent([](const snmp_ber::Message& request) {
        snmp_ber::Message foreign = AnswerOf(request, snmp_ber::kOctetString, "CMD:FOREIGN;");
        foreign.requestId ^= 1;
        snmp_ber::Message otherVersion = AnswerOf(request, snmp_ber::kOctetString, "CMD:V2;");
        otherVersion.version = 1;
        std::vector<uint8_t> lying = snmp_ber::EncodeMessage(AnswerOf(request, snmp_ber::kOctetString, "CMD:LIE;"));
        lying[1] = 0x7F;
        return std::vector<Datagram>{
            {{0xDE, 0xAD, 0xBE, 0xEF}},
            {lying},
            {snmp_ber::EncodeMessage(foreign)},
            {snmp_ber::EncodeMessage(otherVersion)},
            {std::vector<uint8_t>(3000, 0x30)},
            {snmp_ber::EncodeMessage(AnswerOf(request, snmp_ber::kOctetString, "CMD:PDF;\x1B[2J\r\n"))},
        };
    });
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(agent.Port()), L"public", id), 1);
    EXPECT_EQ(id, L"CMD:PDF;\xFFFD[2J\xFFFD\xFFFD");  // shown and logged: no control character
    EXPECT_EQ(agent.Received(), 1);
}

TEST(SnmpHostileAgent, OnlyJunkMeansTimeOutAndAValueOfAnotherTypeIsNoDeviceID)
{
    HostileAgent junk([](const snmp_ber::Message&) {
        return std::vector<Datagram>{{{0x30, 0x82, 0xFF, 0xFF, 0x02}}, {}};
    });
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(junk.Port()), L"public", id), 0);
    EXPECT_EQ(junk.Received(), 2);

    // An answer of the wrong type: the printer is on, so the standard object is asked
    // in place of the repeat, and an answer there without an ID leaves it unsupported.
    HostileAgent integer([](const snmp_ber::Message& request) {
        return std::vector<Datagram>{{snmp_ber::EncodeMessage(AnswerOf(request, snmp_ber::kInteger, "\x05"))}};
    });
    LogCapture log;
    const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(integer.Port()), L"public", id);
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), 0);
    EXPECT_TRUE(log.Contains(L"Failed to MIB Value."));
    EXPECT_TRUE(log.Contains(L"GetNetworkDeviceID / No Device ID on the agent"));
    integer.WaitForReceived(2);
    EXPECT_EQ(integer.RequestedOids(),
              (std::vector<std::string>{SnmpAgent::kDeviceIdOid, SnmpAgent::kStandardDeviceIdOid}));
}

// An agent in the SNMPv2c manner answers a missing object with an exception value, even
// to an SNMPv1 request, which net-snmp never does.
TEST(SnmpHostileAgent, ExceptionValuesSendTheQueryToTheStandardObject)
{
    const std::string standardId = "MFG:Quindar;CMD:PJL,JPEG,BMP;";
    for (uint8_t exception : {SNMP_TYPE_NO_SUCH_OBJECT, SNMP_TYPE_NO_SUCH_INSTANCE, SNMP_TYPE_END_OF_MIB_VIEW}) {
        SCOPED_TRACE(static_cast<int>(exception));
        for (bool bStandardHeld : {true, false}) {
            HostileAgent agent([&](const snmp_ber::Message& request) {
                const bool bStandard = RequestedOid(request) == SnmpAgent::kStandardDeviceIdOid;
                snmp_ber::Message reply = bStandard && bStandardHeld
                                              ? AnswerOf(request, snmp_ber::kOctetString, standardId)
                                              : AnswerOf(request, exception, "");
                return std::vector<Datagram>{{snmp_ber::EncodeMessage(reply)}};
            });
            std::wstring id = L"stale";
            const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(agent.Port()), L"public", id);
            EXPECT_EQ(nResult, 1);
            EXPECT_EQ(id, bStandardHeld ? Wide(standardId) : L"");
            EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), bStandardHeld ? 2 | 16 : 0);
            agent.WaitForReceived(2);
            EXPECT_EQ(agent.RequestedOids(),
                      (std::vector<std::string>{SnmpAgent::kDeviceIdOid, SnmpAgent::kStandardDeviceIdOid}));
        }
    }
}
