// Our SNMP layer, the device-ID query and table walks against a real net-snmp agent,
// against peers that stay silent or lose the first request, and against agents that send
// junk, speak SNMPv1 alone or walk backwards.
#include <gtest/gtest.h>

#include <map>

#include "printer/snmp/network_device_id.h"
#include "printer/snmp/printer_state_read.h"
#include "printer/state/supported_types.h"
#include "snmp/ber_codec.h"
#include "snmp/snmp.h"
#include "snmp/table_walk.h"
#include "tests/support/hostile_agent.h"
#include "tests/support/log_capture.h"
#include "tests/support/snmp_agent.h"
#include "tests/support/udp_peers.h"

namespace {
const char kDeviceId[] = "MFG:Corvane;CMD:PDF,JPEG;MDL:KV 200;CLS:PRINTER;";
const wchar_t kDeviceIdWide[] = L"MFG:Corvane;CMD:PDF,JPEG;MDL:KV 200;CLS:PRINTER;";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

int Get(const std::string& address, const char* oid, SNMPVersion version, ReqRespPDU& pdu)
{
    Target target;
    target.setAgentAddress(address.c_str());
    target.setReadCommunity("public");
    target.setVersion(version);
    VarBind vb;
    vb.setOID(OID(oid));
    pdu.setVarBindList(&vb, 1);
    SNMPStartup();
    int status = SNMPManager().get(pdu, target);
    SNMPCleanup();
    return status;
}

std::vector<OID> Columns(const std::string& table, std::initializer_list<int> columns)
{
    std::vector<OID> oids;
    for (int column : columns)
        oids.emplace_back((table + "." + std::to_string(column)).c_str());
    return oids;
}

WalkResult Walk(const std::string& address, SNMPVersion version, const std::vector<OID>& columns,
                std::vector<TableRow>& rows)
{
    Target target;
    target.setAgentAddress(address.c_str());
    target.setReadCommunity("public");
    target.setVersion(version);
    SNMPStartup();
    SNMPManager manager;
    WalkResult result = WalkColumns(manager, target, columns, rows);
    SNMPCleanup();
    return result;
}

std::string Text(const SNMPDataType& value)
{
    return std::string(value.getContent().begin(), value.getContent().end());
}

// A table agent: answers GETNEXT and GETBULK from `objects`, as SNMPv1 alone does (it
// drops v2c, and says "no such name" past its last object) or as SNMPv2c does.
using Objects = std::map<std::vector<uint32_t>, std::pair<uint8_t, std::string>>;
HostileAgent::Script TableAgent(Objects objects, bool bV1Only)
{
    return [=](const snmp_ber::Message& request) {
        if (bV1Only && request.version != 0)
            return std::vector<Datagram>{};
        snmp_ber::Message reply = request;
        reply.pduType = snmp_ber::kGetResponse;
        reply.errorStatus = reply.errorIndex = 0;
        reply.varbinds.clear();
        std::vector<std::vector<uint32_t>> cursors;
        for (const snmp_ber::DecodedVarBind& vb : request.varbinds)
            cursors.push_back(vb.oid);
        const int nReps = request.pduType == snmp_ber::kGetBulkRequest ? request.errorIndex : 1;
        for (int r = 0; r < nReps; ++r)
            for (size_t i = 0; i < cursors.size(); ++i) {
                auto next = objects.upper_bound(cursors[i]);
                if (next == objects.end() && bV1Only)
                    return std::vector<Datagram>{{ErrorAnswerOf(request, 2, static_cast<int32_t>(i + 1))}};
                snmp_ber::DecodedVarBind vb{cursors[i], SNMP_TYPE_END_OF_MIB_VIEW, {}};
                if (next != objects.end())
                    vb = {next->first, next->second.first, {next->second.second.begin(), next->second.second.end()}};
                cursors[i] = vb.oid;
                reply.varbinds.push_back(vb);
            }
        return std::vector<Datagram>{{snmp_ber::EncodeMessage(reply)}};
    };
}
}  // namespace

TEST(SnmpAgent, DeviceIdIsReadOverIPv4IPv6AndHostNameInTheCommunitiesServedOnly)
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
    // One the agent does not serve goes unanswered.
    LogCapture log;
    EXPECT_EQ(QueryNetworkDeviceID(Wide(agent.V4Address()), L"secret", id), 0);
    EXPECT_EQ(id, L"");
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ No response from agent (time-out)"));
    EXPECT_TRUE(log.Contains(L"GetNetworkDeviceID / bRet / 0"));
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

// Which object a printer holds decides where its ID comes from, and a lost first request
// is sent again; the relay counts the requests on their way to the agent.
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
        int nLost = 0;  // requests the relay drops
    } cases[] = {
        {"private only", {privateId, std::nullopt}, privateId, 1 | 2, 1},
        {"standard only", {std::nullopt, standardId}, standardId, 1 | 4 | 8, 2},
        {"both", {privateId, standardId}, privateId, 1 | 2, 1},
        {"neither", {std::nullopt, std::nullopt}, "", 0, 2},
        {"only the second request answered", {kDeviceId, std::nullopt}, kDeviceId, 1 | 2, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SnmpAgent agent(c.objects);
        ASSERT_TRUE(agent.Ready());
        udp_test::LossyRelay relay(agent.Port(), c.nLost);
        std::wstring id = L"stale";
        const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(relay.Port()), L"public", id);
        EXPECT_EQ(nResult, 1);  // the printer answered: never busy or off
        EXPECT_EQ(id, Wide(c.expectedId));
        EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), c.nExpectedMask);
        EXPECT_EQ(relay.WaitForReceived(c.nExpectedRequests), c.nExpectedRequests);
    }
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

TEST(SnmpHostileAgent, OnlyJunkMeansTimeOut)
{
    HostileAgent junk([](const snmp_ber::Message&) {
        return std::vector<Datagram>{{{0x30, 0x82, 0xFF, 0xFF, 0x02}}, {}};
    });
    std::wstring id;
    EXPECT_EQ(QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(junk.Port()), L"public", id), 0);
    EXPECT_EQ(junk.Received(), 2);
}

// An agent in the SNMPv2c manner answers a missing object with an exception value, even
// to an SNMPv1 request, which net-snmp never does; a value of another type is no ID
// either. The printer is on, so the standard object is asked in place of the repeat.
TEST(SnmpHostileAgent, ExceptionValuesAndValuesOfAnotherTypeSendTheQueryToTheStandardObject)
{
    const std::string standardId = "MFG:Quindar;CMD:PJL,JPEG,BMP;";
    for (uint8_t tag :
         {SNMP_TYPE_NO_SUCH_OBJECT, SNMP_TYPE_NO_SUCH_INSTANCE, SNMP_TYPE_END_OF_MIB_VIEW, SNMP_TYPE_INTEGER}) {
        SCOPED_TRACE(static_cast<int>(tag));
        for (bool bStandardHeld : {true, false}) {
            HostileAgent agent([&](const snmp_ber::Message& request) {
                const bool bStandard = RequestedOid(request) == SnmpAgent::kStandardDeviceIdOid;
                snmp_ber::Message reply = bStandard && bStandardHeld
                                              ? AnswerOf(request, snmp_ber::kOctetString, standardId)
                                              : AnswerOf(request, tag, tag == SNMP_TYPE_INTEGER ? "\x05" : "");
                return std::vector<Datagram>{{snmp_ber::EncodeMessage(reply)}};
            });
            LogCapture log;
            std::wstring id = L"stale";
            const int nResult = QueryNetworkDeviceID(L"127.0.0.1:" + std::to_wstring(agent.Port()), L"public", id);
            EXPECT_EQ(nResult, 1);
            EXPECT_EQ(id, bStandardHeld ? Wide(standardId) : L"");
            EXPECT_EQ(SupportedTypesOfLookup(nResult, false, id), bStandardHeld ? 2 | 16 : 0);
            agent.WaitForReceived(2);
            EXPECT_EQ(agent.RequestedOids(),
                      (std::vector<std::string>{SnmpAgent::kDeviceIdOid, SnmpAgent::kStandardDeviceIdOid}));
            if (tag == SNMP_TYPE_INTEGER && !bStandardHeld) {
                EXPECT_TRUE(log.Contains(L"Failed to MIB Value."));
                EXPECT_TRUE(log.Contains(L"GetNetworkDeviceID / No Device ID on the agent"));
            }
        }
    }
}

// The same supplies and trays through GETBULK and GETNEXT; the 100 alerts of a printer
// stop at 64 rows, and a table's end is where its subtree ends.
TEST(SnmpWalk, BulkAndNextWalksOfAPrinterGiveTheSameRowsWithinTheirBound)
{
    SnmpAgent agent(PrinterMib{"many", ""});
    ASSERT_TRUE(agent.Ready()) << agent.Failure();
    const std::vector<OID> supplies = Columns("1.3.6.1.2.1.43.11.1.1", {6, 8, 9});
    std::vector<TableRow> bulk, next;
    const WalkResult bulkResult = Walk(agent.V4Address(), SNMPVersion::V2c, supplies, bulk);
    const WalkResult nextResult = Walk(agent.V6Address(), SNMPVersion::V1, supplies, next);
    ASSERT_EQ(bulk.size(), 4u);
    EXPECT_EQ(bulkResult.nStatus, SNMP_SUCCESS);
    EXPECT_EQ(bulkResult.nRequests, 1);
    EXPECT_EQ(nextResult.nRequests, 5);
    EXPECT_FALSE(bulkResult.bUsedV1 || bulkResult.bTruncated || nextResult.bTruncated);
    EXPECT_EQ(bulk[0].index, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(Text(bulk[3].values[0]), "Drum Unit");
    EXPECT_EQ(bulk[1].values[2].getContent(), (std::vector<unsigned char>{0xFD}));  // -3: some remaining
    ASSERT_EQ(next.size(), bulk.size());
    for (size_t i = 0; i < bulk.size(); ++i)
        for (size_t c = 0; c < supplies.size(); ++c)
            EXPECT_EQ(next[i].values[c].getContent(), bulk[i].values[c].getContent()) << i << "/" << c;

    for (SNMPVersion version : {SNMPVersion::V2c, SNMPVersion::V1}) {
        std::vector<TableRow> alerts;
        const WalkResult result = Walk(agent.V4Address(), version, Columns("1.3.6.1.2.1.43.18.1.1", {8}), alerts);
        EXPECT_TRUE(result.bTruncated);
        ASSERT_EQ(alerts.size(), 64u);
        EXPECT_EQ(Text(alerts[63].values[0]), "Notice 64");
    }
}

TEST(SnmpWalk, AnAgentOfSnmpV1AloneIsWalkedWithGetNextAndABackwardStepEndsTheColumn)
{
    const Objects objects = {{{1, 3, 6, 1, 9, 1, 1}, {snmp_ber::kOctetString, "a1"}},
                             {{1, 3, 6, 1, 9, 1, 2}, {snmp_ber::kOctetString, "a2"}},
                             {{1, 3, 6, 1, 9, 2, 1}, {snmp_ber::kOctetString, "b1"}}};
    HostileAgent v1(TableAgent(objects, true));
    std::vector<TableRow> rows;
    WalkResult result =
        Walk("127.0.0.1:" + std::to_string(v1.Port()), SNMPVersion::V2c, Columns("1.3.6.1.9", {1, 2}), rows);
    EXPECT_TRUE(result.bUsedV1);
    EXPECT_EQ(result.nStatus, SNMP_SUCCESS);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(Text(rows[0].values[1]), "b1");
    EXPECT_EQ(rows[1].values[1].getDataType(), SNMP_TYPE_NULL);

    // An agent that answers every request with the same object would be walked forever.
    HostileAgent looping([](const snmp_ber::Message& request) {
        snmp_ber::Message reply = AnswerOf(request, snmp_ber::kOctetString, "x");
        for (snmp_ber::DecodedVarBind& vb : reply.varbinds)
            vb.oid = {1, 3, 6, 1, 9, 1, 5};
        return std::vector<Datagram>{{snmp_ber::EncodeMessage(reply)}};
    });
    for (SNMPVersion version : {SNMPVersion::V2c, SNMPVersion::V1}) {
        result = Walk("127.0.0.1:" + std::to_string(looping.Port()), version, Columns("1.3.6.1.9", {1}), rows);
        EXPECT_TRUE(result.bOutOfOrder);
        EXPECT_EQ(result.nRequests, 2);
        EXPECT_EQ(rows.size(), 1u);
    }
}

// One request a read, whatever the printer says; its words come cleaned.
TEST(PrinterStateRead, APrintersStatusConditionAndCounterComeInOneRequest)
{
    const struct {
        const char* scenario;
        double dTriggerAge;  // < 0: no trigger
        PrinterStatus status;
        std::optional<ConditionKind> kind;
        std::wstring strWords;
        uint32_t nCounter;
    } cases[] = {
        {"idle", -1, PrinterStatus::Ready, {}, L"", 1000},
        {"cover", -1, PrinterStatus::Stopped, ConditionKind::CoverOpen, L"Front cover open", 1000},
        {"jam", 10, PrinterStatus::Stopped, ConditionKind::PaperJam, L"Paper jam in tray 1", 1001},
        {"printing", 10, PrinterStatus::Ready, {}, L"", 1003},
        {"hostile", -1, PrinterStatus::Warning, ConditionKind::TonerLow,
         L"Toner [2J  low " + std::wstring(kMaxPrinterTextChars - 15, L'x'), 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        SnmpAgent agent(PrinterMib{c.scenario, ""});
        ASSERT_TRUE(agent.Ready()) << agent.Failure();
        if (c.dTriggerAge >= 0)
            agent.Trigger(c.dTriggerAge);
        PrinterStateReader reader(Wide(agent.V4Address()), L"public");
        PrinterState state;
        EXPECT_EQ(reader.Read(state), 1);
        EXPECT_EQ(reader.Requests(), 1);
        EXPECT_EQ(state.status, c.status);
        EXPECT_EQ(state.nPageCounter, c.nCounter);
        EXPECT_EQ(std::pair(state.nCounterDevice, state.nCounterUnit), std::pair(1u, 7));  // whose count, of what
        const PrinterCondition* pMain = MainCondition(state);
        EXPECT_EQ(pMain ? std::optional(pMain->kind) : std::nullopt, c.kind);
        EXPECT_EQ(pMain ? pMain->strWords : L"", c.strWords);
    }
}

TEST(PrinterStateRead, DetailsWalkSuppliesTraysAndAlertsAndAnSnmpV1AgentIsAskedOnce)
{
    SnmpAgent agent(PrinterMib{"cover", ""});
    ASSERT_TRUE(agent.Ready()) << agent.Failure();
    PrinterStateReader reader(Wide(agent.V6Address()), L"public");
    PrinterState state;
    EXPECT_EQ(reader.ReadDetails(state), 1);
    EXPECT_EQ(reader.Requests(), 3);  // the state, then two GETBULKs of every table (19 columns a row)
    ASSERT_EQ(state.supplies.size(), 4u);
    EXPECT_EQ(state.supplies[0].strDescription, L"Black Toner Cartridge");
    EXPECT_EQ(state.supplies[1].nLevel, kLevelSomeRemaining);
    EXPECT_TRUE(state.supplies[2].bReceptacle);
    ASSERT_EQ(state.trays.size(), 2u);
    EXPECT_EQ(state.trays[1].strName, L"Bypass Tray");
    EXPECT_EQ(state.trays[0].strMedia, L"A4 Plain");
    // Named trays and bins are offered under a PJL keyword, each with the paper it holds.
    ASSERT_EQ(state.offer.trays.size(), 2u);
    EXPECT_EQ(state.offer.trays[1].strValue, "BYPASSTRAY");
    EXPECT_EQ(std::pair(state.offer.trays[0].nWidth, state.offer.trays[0].nHeight), std::pair(21000, 29700));
    EXPECT_EQ(std::pair(state.offer.trays[1].nWidth, state.offer.trays[1].nHeight), std::pair(21590, 27940));
    ASSERT_EQ(state.offer.bins.size(), 2u);
    EXPECT_EQ(state.offer.bins[1].strValue, "UPPERBIN");
    EXPECT_EQ(state.conditions.size(), 1u);  // the alert and the door bit say the same
    // More alerts than the state read sees: the walk takes them too, up to its bound.
    SnmpAgent many(PrinterMib{"many", ""});
    ASSERT_TRUE(many.Ready()) << many.Failure();
    EXPECT_EQ(PrinterStateReader(Wide(many.V4Address()), L"public").ReadDetails(state), 1);
    EXPECT_EQ(state.conditions.size(), 64u);

    HostileAgent v1(TableAgent({{{1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1}, {snmp_ber::kInteger, "\x03"}},
                                {{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1}, {snmp_ber::kInteger, "\x03"}},
                                {{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1}, {snmp_ber::kOctetString, "\x20"}},
                                {{1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 3, 1, 1}, {snmp_ber::kInteger, "\x08"}},
                                {{1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 4, 1, 1}, {SNMP_TYPE_COUNTER32, std::string("\0\xFF", 2)}},
                                {{1, 3, 6, 1, 4}, {snmp_ber::kInteger, "\x00"}}},
                               true));
    PrinterStateReader v1Reader(L"127.0.0.1:" + std::to_wstring(v1.Port()), L"public");
    for (int nRequests : {2, 3}) {
        EXPECT_EQ(v1Reader.Read(state), 1);
        EXPECT_EQ(v1Reader.Requests(), nRequests);
        EXPECT_EQ(state.status, PrinterStatus::Warning);
        EXPECT_EQ(state.nPageCounter, 255u);
    }
}
