#pragma once
// BER encoding of one SNMP request and decoding of one reply datagram.
// Pure functions over bytes: no sockets, no state, so they can be driven by a fuzzer.
// The decoder trusts nothing in the reply: every length is checked against what is left.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace snmp_ber {

// ASN.1 and SMI tags that the codec knows by name.
enum Tag : uint8_t {
    kInteger = 0x02,
    kOctetString = 0x04,
    kNull = 0x05,
    kObjectId = 0x06,
    kSequence = 0x30,
    kGetRequest = 0xA0,
    kGetNextRequest = 0xA1,
    kGetResponse = 0xA2,
    kSetRequest = 0xA3,
    kTrapV1 = 0xA4,
    kGetBulkRequest = 0xA5,  // SNMPv2c: error status and index carry non-repeaters and max-repetitions
};

// Bounds on what a reply may claim; anything beyond is refused, never allocated.
constexpr size_t kMaxValueBytes = 16384;
constexpr size_t kMaxVarBinds = 64;
constexpr size_t kMaxOidArcs = 128;
constexpr size_t kMaxMessageBytes = 65507;  // the largest UDP payload

struct DecodedVarBind {
    std::vector<uint32_t> oid;
    uint8_t valueTag = kNull;
    std::vector<uint8_t> value;  // the content octets of the value, as sent
};

struct Message {
    int32_t version = 0;  // 0 = SNMPv1, 1 = SNMPv2c
    std::string community;
    uint8_t pduType = kGetRequest;
    int32_t requestId = 0;
    int32_t errorStatus = 0;
    int32_t errorIndex = 0;
    std::vector<DecodedVarBind> varbinds;
};

enum class DecodeError {
    None,
    Truncated,      // a length runs past the end of its enclosing element
    BadTag,         // an element is not of the type its place requires
    BadLength,      // indefinite or over-long length form
    BadInteger,     // empty or out of range for 32 bits
    BadOid,         // malformed or too many arcs
    TooLarge,       // a value or the binding list exceeds our bounds
    TrailingBytes,  // something follows the message or an element inside it
};

const char* DecodeErrorText(DecodeError error);

// Encodes a message: a GetRequest, GetNextRequest or GetBulkRequest carries NULL values;
// the value fields of other PDUs are sent as they stand, so tests can build replies with
// the same code. Empty result when an OID cannot be encoded (fewer than two arcs, first
// arc > 2, second arc >= 40 under 0 or 1) or the message would not fit in one datagram.
std::vector<uint8_t> EncodeMessage(const Message& message);

// Decodes one datagram. `out` is only meaningful when the result is DecodeError::None.
DecodeError DecodeMessage(std::span<const uint8_t> datagram, Message& out);

}  // namespace snmp_ber
