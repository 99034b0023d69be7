// Replies as an agent, or anyone on the network, may send them, and messages built from
// fuzz bytes: the decoder stays inside its bounds, and what one side encodes the other
// decodes to the same message. An answer to the printer's state read makes a state whose
// texts are bounded and free of control characters.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "printer/snmp/printer_state_read.h"
#include "printer/state/printer_state_text.h"
#include "snmp/ber_codec.h"

using namespace snmp_ber;

namespace {
bool SameMessage(const Message& a, const Message& b)
{
    if (a.version != b.version || a.community != b.community || a.pduType != b.pduType ||
        a.requestId != b.requestId || a.errorStatus != b.errorStatus || a.errorIndex != b.errorIndex ||
        a.varbinds.size() != b.varbinds.size())
        return false;
    for (size_t i = 0; i < a.varbinds.size(); ++i)
        if (a.varbinds[i].oid != b.varbinds[i].oid || a.varbinds[i].valueTag != b.varbinds[i].valueTag ||
            a.varbinds[i].value != b.varbinds[i].value)
            return false;
    return true;
}

// A request carries NULL values whatever the bindings hold.
Message AsSent(Message m)
{
    if (m.pduType == kGetRequest || m.pduType == kGetNextRequest || m.pduType == kGetBulkRequest)
        for (DecodedVarBind& vb : m.varbinds) {
            vb.valueTag = kNull;
            vb.value.clear();
        }
    return m;
}

void CheckBounds(const Message& m)
{
    if (m.community.size() > kMaxValueBytes || m.varbinds.size() > kMaxVarBinds)
        std::abort();
    for (const DecodedVarBind& vb : m.varbinds)
        if (vb.oid.size() < 2 || vb.oid.size() > kMaxOidArcs || vb.oid[0] > 2 || vb.value.size() > kMaxValueBytes)
            std::abort();
}

// Any datagram: a message that decodes re-encodes to one that decodes to the same.
void DecodeRaw(const uint8_t* data, size_t size)
{
    Message first;
    if (DecodeMessage(std::span<const uint8_t>(data, size), first) != DecodeError::None)
        return;
    CheckBounds(first);
    const std::vector<uint8_t> again = EncodeMessage(first);
    if (again.empty() || again.size() > size)
        std::abort();  // minimal forms are never longer than what came
    Message second;
    if (DecodeMessage(again, second) != DecodeError::None || !SameMessage(second, AsSent(first)))
        std::abort();
}

std::vector<uint32_t> OidFrom(FuzzedDataProvider& in)
{
    std::vector<uint32_t> arcs;
    arcs.push_back(in.ConsumeIntegralInRange<uint32_t>(0, 2));
    arcs.push_back(arcs[0] == 2 ? in.ConsumeIntegral<uint32_t>() : in.ConsumeIntegralInRange<uint32_t>(0, 39));
    const size_t more = in.ConsumeIntegralInRange<size_t>(0, 20);
    for (size_t i = 0; i < more; ++i)
        arcs.push_back(in.ConsumeBool() ? in.ConsumeIntegral<uint32_t>() : in.ConsumeIntegralInRange<uint32_t>(0, 200));
    return arcs;
}

// A well-formed message made of fuzz bytes must survive the trip through the wire.
void RoundTrip(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    static const uint8_t kPduTypes[] = {kGetRequest,     kGetNextRequest, kGetResponse, kSetRequest,
                                        kGetBulkRequest, 0xA6,            0xA7,         0xA8};
    static const uint8_t kValueTags[] = {kInteger, kOctetString, kNull, kObjectId, kSequence,
                                         0x40, 0x41, 0x42, 0x43, 0x44, 0x46, 0x80, 0x81, 0x82};
    Message m;
    m.version = in.ConsumeIntegral<int32_t>();
    m.community = in.ConsumeRandomLengthString(64);
    m.pduType = in.PickValueInArray(kPduTypes);
    m.requestId = in.ConsumeIntegral<int32_t>();
    m.errorStatus = in.ConsumeIntegral<int32_t>();
    m.errorIndex = in.ConsumeIntegral<int32_t>();
    const size_t binds = in.ConsumeIntegralInRange<size_t>(0, 8);
    for (size_t i = 0; i < binds; ++i) {
        DecodedVarBind vb;
        vb.oid = OidFrom(in);
        vb.valueTag = in.PickValueInArray(kValueTags);
        const std::string value = in.ConsumeRandomLengthString(300);
        vb.value.assign(value.begin(), value.end());
        m.varbinds.push_back(std::move(vb));
    }
    const std::vector<uint8_t> wire = EncodeMessage(m);
    if (wire.empty())
        std::abort();  // every OID above is encodable and the message fits a datagram
    Message back;
    if (DecodeMessage(wire, back) != DecodeError::None || !SameMessage(back, AsSent(m)))
        std::abort();
    // Any cut of a message is refused, never read past.
    const size_t cut = in.ConsumeIntegralInRange<size_t>(0, wire.size() - 1);
    std::vector<uint8_t> shorter(wire.begin(), wire.begin() + static_cast<long>(cut));
    if (DecodeMessage(shorter, back) == DecodeError::None)
        std::abort();
}
bool Clean(const std::wstring& text)
{
    for (wchar_t ch : text)
        if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F))
            return false;
    return text.size() <= 2 * kMaxPrinterTextChars;  // surrogate pairs where wchar_t is 16 bits
}

// Any datagram as the answer to the state read, and its texts as /probe shows them.
void PrinterStateOf(const uint8_t* data, size_t size)
{
    Message m;
    if (DecodeMessage(std::span<const uint8_t>(data, size), m) != DecodeError::None)
        return;
    std::vector<VarBind> binds;
    for (const DecodedVarBind& d : m.varbinds) {
        binds.emplace_back().setOID(OID(d.oid));
        binds.back().setValue(SNMPDataType(d.valueTag, std::vector<unsigned char>(d.value.begin(), d.value.end())));
    }
    ReqRespPDU answer;
    answer.setResponse(binds, 0, 0);
    PrinterMibValues values;
    TakeStateAnswer(answer, values);
    const PrinterState state = StateOfPrinterMib(values);
    for (const PrinterCondition& condition : state.conditions)
        if (!Clean(condition.strWords))
            std::abort();
    for (const std::wstring& line : ProbeStateLines(PortKind::Network, state))
        if (line.empty())
            std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the mode, so one corpus feeds all.
    if (size > 0 && data[0] == 'R')
        RoundTrip(data + 1, size - 1);
    else if (size > 0 && data[0] == 'P')
        PrinterStateOf(data + 1, size - 1);
    else
        DecodeRaw(data, size);
    return 0;
}
