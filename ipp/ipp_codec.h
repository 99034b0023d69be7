#pragma once
// The binary form of IPP messages (application/ipp): encoding of a request's attribute
// part and decoding of a whole answer. Pure functions over bytes, so a fuzzer can drive
// them. The decoder trusts nothing: every length is checked against what is left and
// against the bounds below, which a printer cannot raise.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ipp/ipp_message.h"

namespace ipp {

constexpr size_t kMaxMessageBytes = 4u << 20;  // a printer's whole answer
constexpr size_t kMaxValueBytes = 32767;
constexpr size_t kMaxNameBytes = 255;          // attribute and member names are keywords
constexpr size_t kMaxValues = 32768;           // every value, collection members included
constexpr size_t kMaxCollectionDepth = 8;

enum class DecodeError {
    None,
    Truncated,          // the message ends inside a field, or before its end-of-attributes tag
    BadVersion,         // not IPP 1.x or 2.x
    BadTag,             // a reserved or extension tag, or a value before any group
    MisplacedValue,     // an additional value or a member with nothing to belong to
    BadValue,           // a value whose length or content its tag does not allow
    BadCollection,      // a collection left open, or a collection end or member name out of place
    NameTooLong,
    ValueTooLong,
    TooManyValues,
    TooDeep,            // collections nested beyond our bound
    TooLarge,           // the message exceeds our bound
};

const char* DecodeErrorText(DecodeError error);

// The attribute part of a message, up to and including its end-of-attributes tag; a
// document, if any, follows it on the wire. False when a name or value cannot be written
// (empty attribute, over 65535 bytes, a collection value outside its place).
bool EncodeMessage(const Message& message, std::vector<uint8_t>& out);

struct Decoded {
    DecodeError error = DecodeError::None;
    size_t dataOffset = 0;  // where the data after the attributes begins
};

// Decodes an answer. `out` is only meaningful when the error is None.
Decoded DecodeMessage(std::span<const uint8_t> bytes, Message& out);

}  // namespace ipp
