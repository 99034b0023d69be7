// Network device-ID queries against agents that misbehave: garbage, answers to another
// request, answers from another port, echoes, empty answers, errors and silence mixed.
// None may crash, send more than two requests or yield a device ID that the agent did
// not send for this request.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "printer/snmp/network_device_id.h"
#include "printer/state/supported_types.h"
#include "tests/support/hostile_agent.h"
#include "tests/support/log_capture.h"
#include "tests/support/snmp_agent.h"

namespace {
const char kGoodId[] = "MFG:Corvane;CMD:PDF,JPEG;";
const std::string kPrivateOid = SnmpAgent::kDeviceIdOid;
const std::string kStandardOid = SnmpAgent::kStandardDeviceIdOid;

std::wstring AddressOf(const HostileAgent& agent) { return L"127.0.0.1:" + std::to_wstring(agent.Port()); }

struct Outcome {
    int nResult = -1;
    std::wstring strId = L"stale";
    bool bNotSnmp = false;
};

Outcome Query(const HostileAgent& agent)
{
    Outcome o;
    o.nResult = QueryNetworkDeviceID(AddressOf(agent), L"public", o.strId, &o.bNotSnmp);
    return o;
}

// The objects the agent was asked for, once `nRequests` requests have come in.
std::vector<std::string> AskedFor(const HostileAgent& agent, int nRequests)
{
    agent.WaitForReceived(nRequests);
    return agent.RequestedOids();
}

// Every way a query can come back empty: nothing stored, the time-out named, two requests.
// Garbage alone is no answer either, but is told apart from silence.
void ExpectTimedOutTwice(const Outcome& o, const LogCapture& log, const HostileAgent& agent, bool bGarbage = false)
{
    EXPECT_EQ(o.nResult, 0);
    EXPECT_EQ(o.strId, L"");
    EXPECT_EQ(o.bNotSnmp, bGarbage);
    EXPECT_TRUE(log.Contains(bGarbage ? L"Failed to SNMP get/ Answered, but not in SNMP"
                                      : L"Failed to SNMP get/ No response from agent (time-out)"));
    EXPECT_TRUE(log.Contains(L"GetNetworkDeviceID / bRet / 0"));
    EXPECT_EQ(agent.WaitForReceived(2), 2);
    // What the capability check makes of it: busy or off.
    EXPECT_EQ(SupportedTypesOfLookup(o.nResult, false, o.strId), -1);
}

std::vector<uint8_t> Encode(const snmp_ber::Message& m) { return snmp_ber::EncodeMessage(m); }
}  // namespace

TEST(SnmpFaults, GarbageOnlyIsATimeOut)
{
    HostileAgent agent([](const snmp_ber::Message& request) {
        std::vector<Datagram> out;
        std::mt19937 random(static_cast<unsigned>(request.requestId));
        for (int i = 0; i < 30; ++i) {
            std::vector<uint8_t> junk(random() % 600);
            for (uint8_t& b : junk)
                b = static_cast<uint8_t>(random());
            if (!junk.empty() && i % 2 == 0)
                junk[0] = 0x30;  // looks like a message at first sight
            out.push_back({junk});
        }
        // Every cut of the true answer, and the true answer with lengths that lie.
        const std::vector<uint8_t> whole = Encode(AnswerOf(request, snmp_ber::kOctetString, kGoodId));
        for (size_t cut = 0; cut < whole.size(); cut += 3)
            out.push_back({std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut))});
        std::vector<uint8_t> longer = whole;
        longer[1] = static_cast<uint8_t>(longer[1] + 40);
        out.push_back({longer});
        std::vector<uint8_t> trailing = whole;
        trailing.push_back(0);
        out.push_back({trailing});
        return out;
    });
    LogCapture log;
    ExpectTimedOutTwice(Query(agent), log, agent, true);
}

TEST(SnmpFaults, AnswersToAnotherRequestAreNeverTaken)
{
    HostileAgent agent([](const snmp_ber::Message& request) {
        std::vector<Datagram> out;
        for (int32_t delta : {1, -1, 0x40000000}) {
            snmp_ber::Message other = AnswerOf(request, snmp_ber::kOctetString, "CMD:FOREIGN;");
            other.requestId = static_cast<int32_t>(static_cast<uint32_t>(request.requestId) + static_cast<uint32_t>(delta));
            out.push_back({Encode(other)});
        }
        snmp_ber::Message zero = AnswerOf(request, snmp_ber::kOctetString, "CMD:ZERO;");
        zero.requestId = 0;
        out.push_back({Encode(zero)});
        return out;
    });
    LogCapture log;
    Outcome o = Query(agent);
    ExpectTimedOutTwice(o, log, agent);
    for (const std::wstring& line : log.Lines())
        EXPECT_EQ(line.find(L"FOREIGN"), std::wstring::npos) << "taken: " << std::string(line.begin(), line.end());
}

TEST(SnmpFaults, EchoesAndAnswersFromAnotherPortAreNeverTaken)
{
    HostileAgent agent([](const snmp_ber::Message& request) {
        snmp_ber::Message echo = request;  // a GetRequest, not a response
        snmp_ber::Message set = AnswerOf(request, snmp_ber::kOctetString, "CMD:SET;");
        set.pduType = snmp_ber::kSetRequest;
        return std::vector<Datagram>{
            {Encode(echo)},
            {Encode(set)},
            {Encode(AnswerOf(request, snmp_ber::kOctetString, "CMD:SPOOFED;")), true},
        };
    });
    LogCapture log;
    ExpectTimedOutTwice(Query(agent), log, agent);
}

TEST(SnmpFaults, TheTrueAnswerStillCountsAfterAFloodOfWrongOnes)
{
    HostileAgent agent([](const snmp_ber::Message& request) {
        std::vector<Datagram> out;
        for (int i = 0; i < 60; ++i) {
            snmp_ber::Message other = AnswerOf(request, snmp_ber::kOctetString, "CMD:FOREIGN;");
            other.requestId ^= (i + 1);
            out.push_back({Encode(other)});
            out.push_back({{0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF}});
        }
        out.push_back({Encode(AnswerOf(request, snmp_ber::kOctetString, kGoodId))});
        return out;
    });
    Outcome o = Query(agent);
    EXPECT_EQ(o.nResult, 1);
    EXPECT_EQ(o.strId, L"MFG:Corvane;CMD:PDF,JPEG;");
    EXPECT_EQ(SupportedTypesOfLookup(o.nResult, false, o.strId), 3);
    EXPECT_EQ(agent.Received(), 1);
}

TEST(SnmpFaults, AnswerWithoutBindingsOrWithAnErrorIsNoDeviceID)
{
    HostileAgent empty([](const snmp_ber::Message& request) {
        snmp_ber::Message reply = AnswerOf(request, snmp_ber::kOctetString, kGoodId);
        reply.varbinds.clear();
        return std::vector<Datagram>{{Encode(reply)}};
    });
    LogCapture log;
    Outcome o = Query(empty);
    EXPECT_EQ(o.nResult, 1);  // it answered twice: on, without a device ID
    EXPECT_EQ(o.strId, L"");
    EXPECT_TRUE(log.Contains(L"Failed to MIB Value."));
    EXPECT_EQ(SupportedTypesOfLookup(o.nResult, false, o.strId), 0);

    // An error status with a value attached: the value is not taken.
    HostileAgent failing([](const snmp_ber::Message& request) {
        snmp_ber::Message reply = AnswerOf(request, snmp_ber::kOctetString, kGoodId);
        reply.errorStatus = 5;
        reply.errorIndex = 1;
        return std::vector<Datagram>{{Encode(reply)}};
    });
    LogCapture log2;
    o = Query(failing);
    EXPECT_EQ(o.nResult, 1);
    EXPECT_EQ(o.strId, L"");
    EXPECT_TRUE(log2.Contains(L"Failed to SNMP get/ General error"));
    EXPECT_EQ(AskedFor(failing, 2), (std::vector<std::string>{kPrivateOid, kStandardOid}));
}

// An error status the protocol does not have, even one equal to a status the layer
// uses for "no answer", is an answer: the standard object is asked, not the private
// one again.
TEST(SnmpFaults, UnknownErrorStatusesAreAnswersNotSilence)
{
    for (int32_t nStatus : {-5, -1, 19, 0x7FFFFFFF}) {
        SCOPED_TRACE(nStatus);
        HostileAgent agent([nStatus](const snmp_ber::Message& request) {
            return std::vector<Datagram>{{ErrorAnswerOf(request, nStatus, 0)}};
        });
        LogCapture log;
        Outcome o = Query(agent);
        EXPECT_EQ(o.nResult, 1);
        EXPECT_EQ(o.strId, L"");
        EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ Agent answered with an unknown error status"));
        EXPECT_FALSE(log.Contains(L"Failed to SNMP get/ No response from agent (time-out)"));
        EXPECT_EQ(AskedFor(agent, 2), (std::vector<std::string>{kPrivateOid, kStandardOid}));
    }
}

// Two requests at most, however answers and silence mix. When the agent answered but the
// standard object could not be asked or was not answered, nothing is known about it:
// result 0 (busy or off), as for silence.
TEST(SnmpFaults, AnswersAndSilenceMixedNeverMakeAThirdRequest)
{
    // The private object missing, then no answer for the standard one.
    HostileAgent thenSilent([](const snmp_ber::Message& request) {
        if (RequestedOid(request) != kPrivateOid)
            return std::vector<Datagram>{};
        return std::vector<Datagram>{{ErrorAnswerOf(request, 2, 1)}};  // noSuchName
    });
    LogCapture log;
    Outcome o = Query(thenSilent);
    EXPECT_EQ(o.nResult, 0);
    EXPECT_EQ(o.strId, L"");
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ No such name"));
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ No response from agent (time-out)"));
    EXPECT_EQ(SupportedTypesOfLookup(o.nResult, false, o.strId), -1);
    EXPECT_EQ(AskedFor(thenSilent, 2), (std::vector<std::string>{kPrivateOid, kStandardOid}));

    // The first request lost, the repeat answered with an error: no request is left.
    std::atomic<int> nSeen{0};
    HostileAgent lateError([&nSeen](const snmp_ber::Message& request) {
        if (nSeen++ == 0)
            return std::vector<Datagram>{};
        return std::vector<Datagram>{{ErrorAnswerOf(request, 2, 1)}};
    });
    LogCapture log2;
    o = Query(lateError);
    EXPECT_EQ(o.nResult, 0);
    EXPECT_EQ(o.strId, L"");
    EXPECT_TRUE(log2.Contains(L"[CPrtControl] GetNetworkDeviceID : Standard OID : no request left"));
    EXPECT_EQ(AskedFor(lateError, 2), (std::vector<std::string>{kPrivateOid, kPrivateOid}));
}

TEST(SnmpFaults, HugeOctetStringIsTakenWhole)
{
    // The largest value our decoder takes; the device ID is not cut at any buffer.
    const std::string big = "CMD:PDF;" + std::string(snmp_ber::kMaxValueBytes - 8, 'x');
    HostileAgent agent([&big](const snmp_ber::Message& request) {
        return std::vector<Datagram>{{Encode(AnswerOf(request, snmp_ber::kOctetString, big + "y"))},
                                     {Encode(AnswerOf(request, snmp_ber::kOctetString, big))}};
    });
    Outcome o = Query(agent);
    EXPECT_EQ(o.nResult, 1);
    EXPECT_EQ(o.strId.size(), big.size());
    EXPECT_EQ(SupportedTypesFromDeviceID(o.strId), 1);
}
