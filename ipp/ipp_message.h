#pragma once
// An IPP message as a tree of groups, attributes and values, with the accessors that
// read an answer. Built by requests, filled by the decoder; holds no bytes of the wire.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ipp {

// Delimiter tags that open an attribute group.
enum class GroupTag : uint8_t {
    Operation = 0x01,
    Job = 0x02,
    Printer = 0x04,
    Unsupported = 0x05,
    Subscription = 0x06,
    EventNotification = 0x07,
    Resource = 0x08,
    Document = 0x09,
    System = 0x0A,
};
constexpr uint8_t kEndOfAttributes = 0x03;

enum class ValueTag : uint8_t {
    // Out-of-band: no value, only the tag.
    Unsupported = 0x10,
    Unknown = 0x12,
    NoValue = 0x13,
    Integer = 0x21,
    Boolean = 0x22,
    Enum = 0x23,
    OctetString = 0x30,
    DateTime = 0x31,
    Resolution = 0x32,
    RangeOfInteger = 0x33,
    BegCollection = 0x34,
    TextWithLanguage = 0x35,
    NameWithLanguage = 0x36,
    EndCollection = 0x37,
    Text = 0x41,
    Name = 0x42,
    Keyword = 0x44,
    Uri = 0x45,
    UriScheme = 0x46,
    Charset = 0x47,
    NaturalLanguage = 0x48,
    MimeMediaType = 0x49,
    MemberAttrName = 0x4A,
};

bool IsOutOfBand(ValueTag tag);
// The tags whose value is octets kept in Value::text (strings, octetString, dateTime and
// any tag this client does not know).
bool IsOctetsTag(ValueTag tag);

struct Attribute;

struct Resolution {
    int32_t x = 0;
    int32_t y = 0;
    int8_t units = 3;  // 3 dots per inch, 4 dots per centimetre
};

struct Range {
    int32_t lower = 0;
    int32_t upper = 0;
};

struct Value {
    ValueTag tag = ValueTag::NoValue;
    std::string text;             // octets as sent: strings, octetString, dateTime, unknown tags
    std::string language;         // textWithLanguage, nameWithLanguage
    int32_t integer = 0;          // integer, enum, boolean (0 or 1)
    Resolution resolution;
    Range range;
    std::vector<Attribute> members;  // a collection's member attributes, in order

    // The member named `name` of a collection value, or null.
    const Attribute* Member(std::string_view name) const;
};

// One attribute: its first value carries the name, further values (1setOf) follow it.
struct Attribute {
    std::string name;
    std::vector<Value> values;

    // The first value as text when it is a string of any kind, else null.
    const std::string* Text() const;
    // Every string value, in order (others are passed over).
    std::vector<std::string> Texts() const;
    // The first value when it is an integer or enum.
    std::optional<int32_t> Integer() const;
    std::optional<bool> Boolean() const;
    // True when the first value is out-of-band (unsupported, unknown, no-value).
    bool OutOfBand() const;
    // The member `name` of the first value when it is a collection.
    const Attribute* Member(std::string_view name) const;
};

struct AttributeGroup {
    GroupTag tag = GroupTag::Operation;
    std::vector<Attribute> attributes;

    const Attribute* Find(std::string_view name) const;
    // Appends an attribute of one or more values of the same tag.
    Attribute& Add(std::string_view name, ValueTag tag, const std::vector<std::string>& texts);
    Attribute& Add(std::string_view name, ValueTag tag, std::string_view text);
    Attribute& AddInteger(std::string_view name, ValueTag tag, int32_t number);  // integer or enum
    Attribute& AddBoolean(std::string_view name, bool yes);
    // A collection value whose members the caller adds to the returned list.
    std::vector<Attribute>& AddCollection(std::string_view name);
};

struct Message {
    uint8_t versionMajor = 2;
    uint8_t versionMinor = 0;
    uint16_t code = 0;  // operation-id of a request, status-code of a response
    int32_t requestId = 1;
    std::vector<AttributeGroup> groups;

    // The first attribute `name` in a group of kind `tag`, or null.
    const Attribute* Find(GroupTag tag, std::string_view name) const;
    AttributeGroup& AddGroup(GroupTag tag);
};

}  // namespace ipp
