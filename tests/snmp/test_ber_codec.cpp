// BER codec: what we send, and replies that are wrong in every way a datagram can be.
#include <gtest/gtest.h>

#include <random>

#include "snmp/ber_codec.h"

using namespace snmp_ber;

namespace {
const std::vector<uint32_t> kDeviceIdArcs = {1, 3, 6, 1, 4, 1, 48751, 11, 5, 1, 1, 1, 26, 0};

Message Response(const std::string& text, int32_t requestId = 0x1234)
{
    Message m;
    m.version = 0;
    m.community = "public";
    m.pduType = kGetResponse;
    m.requestId = requestId;
    DecodedVarBind vb;
    vb.oid = kDeviceIdArcs;
    vb.valueTag = kOctetString;
    vb.value.assign(text.begin(), text.end());
    m.varbinds.push_back(vb);
    return m;
}

DecodeError Decode(const std::vector<uint8_t>& bytes)
{
    Message out;
    return DecodeMessage(bytes, out);
}
}  // namespace

TEST(BerEncode, GetRequestMatchesTheWireFormat)
{
    Message m;
    m.community = "public";
    m.requestId = 1;
    DecodedVarBind vb;
    vb.oid = {1, 3, 6, 1, 2, 1, 1, 1, 0};
    m.varbinds.push_back(vb);
    // snmpget -v1 -c public <agent> sysDescr.0 with request id 1, as seen on the wire.
    const std::vector<uint8_t> expected = {0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i',
                                           'c', 0xA0, 0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01,
                                           0x00, 0x30, 0x0E, 0x30, 0x0C, 0x06, 0x08, 0x2B, 0x06, 0x01, 0x02,
                                           0x01, 0x01, 0x01, 0x00, 0x05, 0x00};
    std::vector<uint8_t> bulk = expected;
    EXPECT_EQ(EncodeMessage(m), expected);
    // snmpbulkget -v2c -Cn0 -Cr10: the repetitions ride in the error index, values stay NULL.
    m.version = 1;
    m.pduType = kGetBulkRequest;
    m.errorIndex = 10;
    m.varbinds[0].valueTag = kInteger;
    m.varbinds[0].value = {5};
    bulk[4] = 0x01;
    bulk[13] = 0xA5;
    bulk[23] = 0x0A;
    EXPECT_EQ(EncodeMessage(m), bulk);
}

TEST(BerEncode, LargeArcsIntegersAndLongStringsRoundTrip)
{
    Message m = Response(std::string(300, 'x'), -2);  // long length form, negative integer
    m.version = 1;
    m.errorStatus = 128;  // needs a leading zero byte
    m.varbinds[0].oid = {2, 999, 4294967295u, 0};
    std::vector<uint8_t> bytes = EncodeMessage(m);
    Message back;
    ASSERT_EQ(DecodeMessage(bytes, back), DecodeError::None);
    EXPECT_EQ(back.version, 1);
    EXPECT_EQ(back.requestId, -2);
    EXPECT_EQ(back.errorStatus, 128);
    ASSERT_EQ(back.varbinds.size(), 1u);
    EXPECT_EQ(back.varbinds[0].oid, m.varbinds[0].oid);
    EXPECT_EQ(back.varbinds[0].value.size(), 300u);
}

TEST(BerEncode, UnencodableOidsGiveNothing)
{
    Message m = Response("x");
    for (std::vector<uint32_t> arcs : {std::vector<uint32_t>{1}, {3, 1}, {1, 40}, {}}) {
        m.varbinds[0].oid = arcs;
        EXPECT_TRUE(EncodeMessage(m).empty());
    }
}

TEST(BerDecode, AValidResponseKeepsItsValueBytesUnchanged)
{
    std::string text("MFG:X;CMD:PDF,JPEG;\0tail", 24);
    Message back;
    ASSERT_EQ(DecodeMessage(EncodeMessage(Response(text)), back), DecodeError::None);
    EXPECT_EQ(back.pduType, kGetResponse);
    EXPECT_EQ(back.community, "public");
    EXPECT_EQ(back.varbinds[0].oid, kDeviceIdArcs);
    EXPECT_EQ(back.varbinds[0].valueTag, kOctetString);
    EXPECT_EQ(std::string(back.varbinds[0].value.begin(), back.varbinds[0].value.end()), text);
}

TEST(BerDecode, EveryTruncationIsRefused)
{
    std::vector<uint8_t> bytes = EncodeMessage(Response("MFG:X;CMD:PDF;"));
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_NE(Decode(cut), DecodeError::None) << "prefix of " << n << " bytes";
    }
}

TEST(BerDecode, LengthsThatLieAreRefused)
{
    std::vector<uint8_t> good = EncodeMessage(Response("CMD:PDF;"));
    // Outer length one more / one less than what follows.
    std::vector<uint8_t> longer = good;
    longer[1]++;
    EXPECT_EQ(Decode(longer), DecodeError::Truncated);
    std::vector<uint8_t> shorter = good;
    shorter[1]--;
    EXPECT_NE(Decode(shorter), DecodeError::None);
    // The octet string claims more than its binding holds: find its length byte.
    std::vector<uint8_t> inner = good;
    size_t value = inner.size() - 8 - 2;  // tag and length of the 8-byte string
    ASSERT_EQ(inner[value], kOctetString);
    inner[value + 1] = 0x7F;
    EXPECT_EQ(Decode(inner), DecodeError::Truncated);
    // Indefinite length and a length of more than three bytes.
    std::vector<uint8_t> indefinite = good;
    indefinite[1] = 0x80;
    EXPECT_EQ(Decode(indefinite), DecodeError::BadLength);
    std::vector<uint8_t> huge = {0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x00};
    EXPECT_EQ(Decode(huge), DecodeError::BadLength);
}

TEST(BerDecode, OversizedValuesAndListsAreRefused)
{
    EXPECT_EQ(Decode(EncodeMessage(Response(std::string(kMaxValueBytes + 1, 'x')))), DecodeError::TooLarge);
    EXPECT_EQ(Decode(EncodeMessage(Response(std::string(kMaxValueBytes, 'x')))), DecodeError::None);
    Message many = Response("x");
    many.varbinds.assign(kMaxVarBinds + 1, many.varbinds[0]);
    EXPECT_EQ(Decode(EncodeMessage(many)), DecodeError::TooLarge);
    std::vector<uint8_t> datagram(kMaxMessageBytes + 1, 0);
    EXPECT_EQ(Decode(datagram), DecodeError::TooLarge);
}

TEST(BerDecode, WrongElementTypesAreRefused)
{
    std::vector<uint8_t> good = EncodeMessage(Response("CMD:PDF;"));
    std::vector<uint8_t> notSequence = good;
    notSequence[0] = 0x31;
    EXPECT_EQ(Decode(notSequence), DecodeError::BadTag);
    std::vector<uint8_t> multiByteTag = good;
    multiByteTag[0] = 0x3F;
    EXPECT_EQ(Decode(multiByteTag), DecodeError::BadTag);
    Message trap = Response("x");
    trap.pduType = kTrapV1;
    EXPECT_EQ(Decode(EncodeMessage(trap)), DecodeError::BadTag);
    Message constructed = Response("x");
    constructed.varbinds[0].valueTag = 0xA2;
    EXPECT_EQ(Decode(EncodeMessage(constructed)), DecodeError::BadTag);
}

TEST(BerDecode, MalformedIntegersOidsAndTrailingBytesAreRefused)
{
    // version as an empty integer, then as a six-byte one
    std::vector<uint8_t> empty = {0x30, 0x0D, 0x02, 0x00, 0x04, 0x00, 0xA2, 0x07,
                                  0x02, 0x01, 0x01, 0x02, 0x00, 0x02, 0x00};
    EXPECT_EQ(Decode(empty), DecodeError::BadInteger);
    std::vector<uint8_t> wide = {0x30, 0x0A, 0x02, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00};
    EXPECT_EQ(Decode(wide), DecodeError::BadInteger);

    std::vector<uint8_t> good = EncodeMessage(Response("x"));
    size_t oid = 0;
    for (size_t i = 0; i + 1 < good.size(); ++i)
        if (good[i] == kObjectId && good[i + 1] == 15) { oid = i; break; }
    ASSERT_NE(oid, 0u);
    std::vector<uint8_t> padded = good;
    padded[oid + 3] = 0x80;  // an arc starting with a 0x80 group is not minimal
    EXPECT_EQ(Decode(padded), DecodeError::BadOid);
    std::vector<uint8_t> unfinished = good;
    unfinished[oid + 2 + 14] |= 0x80;  // last arc never ends
    EXPECT_EQ(Decode(unfinished), DecodeError::BadOid);

    std::vector<uint8_t> trailing = good;
    trailing.push_back(0x00);
    EXPECT_EQ(Decode(trailing), DecodeError::TrailingBytes);
}

TEST(BerDecode, RandomCorruptionNeverReadsOutsideTheDatagram)
{
    // Run under the sanitizers, this shows that no mutation makes the decoder overrun.
    std::vector<uint8_t> good = EncodeMessage(Response("MFG:X;CMD:PDF,JPEG;MDL:Y;"));
    std::mt19937 rng(7);
    int decoded = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes = good;
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        bytes.resize(rng() % (bytes.size() + 1));
        // Heap copy of the exact size, so an overrun is caught by the sanitizer.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size() + 1]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        Message out;
        if (DecodeMessage(std::span<const uint8_t>(exact.get(), bytes.size()), out) == DecodeError::None) {
            ++decoded;
            for (const DecodedVarBind& vb : out.varbinds)
                EXPECT_LE(vb.value.size(), bytes.size());
        }
    }
    EXPECT_LT(decoded, 20000);
}
