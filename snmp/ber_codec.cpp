#include "snmp/ber_codec.h"

namespace snmp_ber {
namespace {

// ---- encoding ----

void AppendLength(std::vector<uint8_t>& out, size_t length)
{
    if (length < 0x80) {
        out.push_back(static_cast<uint8_t>(length));
        return;
    }
    uint8_t bytes[sizeof(size_t)];
    int count = 0;
    for (size_t n = length; n != 0; n >>= 8)
        bytes[count++] = static_cast<uint8_t>(n & 0xFF);
    out.push_back(static_cast<uint8_t>(0x80 | count));
    while (count > 0)
        out.push_back(bytes[--count]);
}

void AppendTLV(std::vector<uint8_t>& out, uint8_t tag, const std::vector<uint8_t>& content)
{
    out.push_back(tag);
    AppendLength(out, content.size());
    out.insert(out.end(), content.begin(), content.end());
}

std::vector<uint8_t> IntegerContent(int32_t value)
{
    // Minimal two's complement, big-endian.
    std::vector<uint8_t> bytes;
    int64_t v = value;
    for (int i = 3; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
    size_t skip = 0;
    while (skip < 3 && ((bytes[skip] == 0x00 && !(bytes[skip + 1] & 0x80)) ||
                        (bytes[skip] == 0xFF && (bytes[skip + 1] & 0x80))))
        ++skip;
    return std::vector<uint8_t>(bytes.begin() + static_cast<long>(skip), bytes.end());
}

void AppendBase128(std::vector<uint8_t>& out, uint64_t arc)
{
    uint8_t groups[10];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(arc & 0x7F);
        arc >>= 7;
    } while (arc != 0);
    while (count > 1)
        out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

bool OidContent(const std::vector<uint32_t>& arcs, std::vector<uint8_t>& out)
{
    if (arcs.size() < 2 || arcs.size() > kMaxOidArcs || arcs[0] > 2 || (arcs[0] < 2 && arcs[1] >= 40))
        return false;
    AppendBase128(out, uint64_t{arcs[0]} * 40 + arcs[1]);
    for (size_t i = 2; i < arcs.size(); ++i)
        AppendBase128(out, arcs[i]);
    return true;
}

// ---- decoding ----

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool AtEnd() const { return m_pos == m_bytes.size(); }

    // Reads one element with a single-byte tag; its content stays inside this reader's bytes.
    DecodeError Next(uint8_t& tag, std::span<const uint8_t>& content)
    {
        if (m_bytes.size() - m_pos < 2)
            return DecodeError::Truncated;
        tag = m_bytes[m_pos++];
        if ((tag & 0x1F) == 0x1F)
            return DecodeError::BadTag;  // multi-byte tags never occur in SNMP
        size_t length = m_bytes[m_pos++];
        if (length & 0x80) {
            size_t count = length & 0x7F;
            if (count == 0 || count > 3)
                return DecodeError::BadLength;  // indefinite form, or more than any datagram holds
            if (m_bytes.size() - m_pos < count)
                return DecodeError::Truncated;
            length = 0;
            for (size_t i = 0; i < count; ++i)
                length = (length << 8) | m_bytes[m_pos++];
        }
        if (m_bytes.size() - m_pos < length)
            return DecodeError::Truncated;
        content = m_bytes.subspan(m_pos, length);
        m_pos += length;
        return DecodeError::None;
    }

    DecodeError Expect(uint8_t wanted, std::span<const uint8_t>& content)
    {
        uint8_t tag = 0;
        DecodeError e = Next(tag, content);
        if (e != DecodeError::None)
            return e;
        return tag == wanted ? DecodeError::None : DecodeError::BadTag;
    }

    DecodeError Integer(int32_t& value)
    {
        std::span<const uint8_t> c;
        DecodeError e = Expect(kInteger, c);
        if (e != DecodeError::None)
            return e;
        if (c.empty() || c.size() > 5)
            return DecodeError::BadInteger;
        int64_t v = (c[0] & 0x80) ? -1 : 0;
        for (uint8_t b : c)
            v = static_cast<int64_t>((static_cast<uint64_t>(v) << 8) | b);
        if (v < INT32_MIN || v > INT32_MAX)
            return DecodeError::BadInteger;
        value = static_cast<int32_t>(v);
        return DecodeError::None;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

DecodeError DecodeOid(std::span<const uint8_t> c, std::vector<uint32_t>& arcs)
{
    arcs.clear();
    if (c.empty())
        return DecodeError::BadOid;
    uint64_t value = 0;
    size_t groupBytes = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        if (groupBytes == 0 && c[i] == 0x80)
            return DecodeError::BadOid;  // non-minimal arc
        value = (value << 7) | (c[i] & 0x7F);
        if (++groupBytes > 5 || value > UINT32_MAX + uint64_t{80})
            return DecodeError::BadOid;
        if (c[i] & 0x80)
            continue;
        if (arcs.empty()) {
            uint32_t first = value < 40 ? 0 : value < 80 ? 1 : 2;
            arcs.push_back(first);
            arcs.push_back(static_cast<uint32_t>(value - uint64_t{first} * 40));
        } else {
            if (value > UINT32_MAX)
                return DecodeError::BadOid;
            arcs.push_back(static_cast<uint32_t>(value));
        }
        if (arcs.size() > kMaxOidArcs)
            return DecodeError::BadOid;
        value = 0;
        groupBytes = 0;
    }
    return groupBytes == 0 ? DecodeError::None : DecodeError::BadOid;  // last arc unfinished
}

DecodeError DecodeVarBinds(std::span<const uint8_t> list, std::vector<DecodedVarBind>& out)
{
    Reader reader(list);
    while (!reader.AtEnd()) {
        if (out.size() == kMaxVarBinds)
            return DecodeError::TooLarge;
        std::span<const uint8_t> bind;
        DecodeError e = reader.Expect(kSequence, bind);
        if (e != DecodeError::None)
            return e;
        Reader inner(bind);
        DecodedVarBind vb;
        std::span<const uint8_t> name;
        if ((e = inner.Expect(kObjectId, name)) != DecodeError::None)
            return e;
        if ((e = DecodeOid(name, vb.oid)) != DecodeError::None)
            return e;
        std::span<const uint8_t> value;
        if ((e = inner.Next(vb.valueTag, value)) != DecodeError::None)
            return e;
        if ((vb.valueTag & 0x20) && vb.valueTag != kSequence)
            return DecodeError::BadTag;  // constructed values have no place in a binding
        if (value.size() > kMaxValueBytes)
            return DecodeError::TooLarge;
        if (!inner.AtEnd())
            return DecodeError::TrailingBytes;
        vb.value.assign(value.begin(), value.end());
        out.push_back(std::move(vb));
    }
    return DecodeError::None;
}

}  // namespace

const char* DecodeErrorText(DecodeError error)
{
    switch (error) {
    case DecodeError::None: return "no error";
    case DecodeError::Truncated: return "truncated element";
    case DecodeError::BadTag: return "unexpected element type";
    case DecodeError::BadLength: return "unsupported length form";
    case DecodeError::BadInteger: return "malformed integer";
    case DecodeError::BadOid: return "malformed object identifier";
    case DecodeError::TooLarge: return "value too large";
    case DecodeError::TrailingBytes: return "trailing bytes";
    }
    return "unknown decode error";
}

std::vector<uint8_t> EncodeMessage(const Message& message)
{
    std::vector<uint8_t> list;
    for (const DecodedVarBind& vb : message.varbinds) {
        std::vector<uint8_t> oid;
        if (!OidContent(vb.oid, oid))
            return {};
        std::vector<uint8_t> bind;
        AppendTLV(bind, kObjectId, oid);
        if (message.pduType == kGetRequest || message.pduType == kGetNextRequest ||
            message.pduType == kGetBulkRequest)
            AppendTLV(bind, kNull, {});
        else
            AppendTLV(bind, vb.valueTag, vb.value);
        AppendTLV(list, kSequence, bind);
    }
    std::vector<uint8_t> pdu;
    AppendTLV(pdu, kInteger, IntegerContent(message.requestId));
    AppendTLV(pdu, kInteger, IntegerContent(message.errorStatus));
    AppendTLV(pdu, kInteger, IntegerContent(message.errorIndex));
    AppendTLV(pdu, kSequence, list);

    std::vector<uint8_t> body;
    AppendTLV(body, kInteger, IntegerContent(message.version));
    AppendTLV(body, kOctetString, std::vector<uint8_t>(message.community.begin(), message.community.end()));
    AppendTLV(body, message.pduType, pdu);

    std::vector<uint8_t> out;
    AppendTLV(out, kSequence, body);
    if (out.size() > kMaxMessageBytes)
        return {};
    return out;
}

DecodeError DecodeMessage(std::span<const uint8_t> datagram, Message& out)
{
    out = Message{};
    if (datagram.size() > kMaxMessageBytes)
        return DecodeError::TooLarge;
    Reader outer(datagram);
    std::span<const uint8_t> body;
    DecodeError e = outer.Expect(kSequence, body);
    if (e != DecodeError::None)
        return e;
    if (!outer.AtEnd())
        return DecodeError::TrailingBytes;

    Reader message(body);
    if ((e = message.Integer(out.version)) != DecodeError::None)
        return e;
    std::span<const uint8_t> community;
    if ((e = message.Expect(kOctetString, community)) != DecodeError::None)
        return e;
    if (community.size() > kMaxValueBytes)
        return DecodeError::TooLarge;
    out.community.assign(community.begin(), community.end());

    std::span<const uint8_t> pdu;
    if ((e = message.Next(out.pduType, pdu)) != DecodeError::None)
        return e;
    // Every PDU but the SNMPv1 trap has the request-id/error/bindings layout.
    if (out.pduType < kGetRequest || out.pduType > 0xA8 || out.pduType == kTrapV1)
        return DecodeError::BadTag;
    if (!message.AtEnd())
        return DecodeError::TrailingBytes;

    Reader fields(pdu);
    if ((e = fields.Integer(out.requestId)) != DecodeError::None)
        return e;
    if ((e = fields.Integer(out.errorStatus)) != DecodeError::None)
        return e;
    if ((e = fields.Integer(out.errorIndex)) != DecodeError::None)
        return e;
    std::span<const uint8_t> list;
    if ((e = fields.Expect(kSequence, list)) != DecodeError::None)
        return e;
    if (!fields.AtEnd())
        return DecodeError::TrailingBytes;
    return DecodeVarBinds(list, out.varbinds);
}

}  // namespace snmp_ber
