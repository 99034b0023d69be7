#include "ipp/ipp_codec.h"

#include <string>

namespace ipp {

const char* DecodeErrorText(DecodeError error)
{
    switch (error) {
    case DecodeError::None: return "no error";
    case DecodeError::Truncated: return "the answer is cut short";
    case DecodeError::BadVersion: return "the answer is not of a known IPP version";
    case DecodeError::BadTag: return "the answer holds an unknown or misplaced tag";
    case DecodeError::MisplacedValue: return "the answer holds a value that belongs to no attribute";
    case DecodeError::BadValue: return "the answer holds a value its type does not allow";
    case DecodeError::BadCollection: return "the answer holds a malformed collection";
    case DecodeError::NameTooLong: return "the answer holds an over-long attribute name";
    case DecodeError::ValueTooLong: return "the answer holds an over-long value";
    case DecodeError::TooManyValues: return "the answer holds too many values";
    case DecodeError::TooDeep: return "the answer nests collections too deeply";
    case DecodeError::TooLarge: return "the answer is too large";
    }
    return "unknown error";
}

namespace {

// ---- encoding ----

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& out) : m_out(out) {}
    void Byte(uint8_t b) { m_out.push_back(b); }
    void Short(uint16_t v)
    {
        Byte(static_cast<uint8_t>(v >> 8));
        Byte(static_cast<uint8_t>(v));
    }
    void Int(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        Short(static_cast<uint16_t>(u >> 16));
        Short(static_cast<uint16_t>(u));
    }
    bool Octets(const std::string& s)
    {
        if (s.size() > 0xFFFF)
            return false;
        Short(static_cast<uint16_t>(s.size()));
        m_out.insert(m_out.end(), s.begin(), s.end());
        return true;
    }

private:
    std::vector<uint8_t>& m_out;
};

bool EncodeValue(Writer& w, const std::string& name, const Value& v);

bool EncodeMembers(Writer& w, const std::vector<Attribute>& members)
{
    for (const Attribute& m : members) {
        if (m.name.empty() || m.values.empty())
            return false;
        w.Byte(static_cast<uint8_t>(ValueTag::MemberAttrName));
        w.Short(0);
        if (!w.Octets(m.name))
            return false;
        for (const Value& v : m.values)
            if (!EncodeValue(w, std::string(), v))
                return false;
    }
    w.Byte(static_cast<uint8_t>(ValueTag::EndCollection));
    w.Short(0);
    w.Short(0);
    return true;
}

bool EncodeValue(Writer& w, const std::string& name, const Value& v)
{
    const auto tag = static_cast<uint8_t>(v.tag);
    if (tag < 0x10 || tag == 0x7F || v.tag == ValueTag::EndCollection || v.tag == ValueTag::MemberAttrName)
        return false;
    w.Byte(tag);
    if (!w.Octets(name))
        return false;
    switch (v.tag) {
    case ValueTag::Integer:
    case ValueTag::Enum:
        w.Short(4);
        w.Int(v.integer);
        return true;
    case ValueTag::Boolean:
        w.Short(1);
        w.Byte(v.integer ? 1 : 0);
        return true;
    case ValueTag::Resolution:
        w.Short(9);
        w.Int(v.resolution.x);
        w.Int(v.resolution.y);
        w.Byte(static_cast<uint8_t>(v.resolution.units));
        return true;
    case ValueTag::RangeOfInteger:
        w.Short(8);
        w.Int(v.range.lower);
        w.Int(v.range.upper);
        return true;
    case ValueTag::TextWithLanguage:
    case ValueTag::NameWithLanguage:
        if (v.language.size() + v.text.size() + 4 > 0xFFFF)
            return false;
        w.Short(static_cast<uint16_t>(v.language.size() + v.text.size() + 4));
        return w.Octets(v.language) && w.Octets(v.text);
    case ValueTag::BegCollection:
        w.Short(0);
        return EncodeMembers(w, v.members);
    default:
        return w.Octets(v.text);
    }
}

// ---- decoding ----

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t Left() const { return m_bytes.size() - m_pos; }
    size_t Pos() const { return m_pos; }
    uint8_t Peek() const { return m_bytes[m_pos]; }
    uint8_t Byte() { return m_bytes[m_pos++]; }
    uint16_t Short()
    {
        const uint16_t v = static_cast<uint16_t>(m_bytes[m_pos] << 8 | m_bytes[m_pos + 1]);
        m_pos += 2;
        return v;
    }
    std::span<const uint8_t> Take(size_t n)
    {
        auto s = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return s;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

int32_t IntAt(std::span<const uint8_t> b, size_t at)
{
    return static_cast<int32_t>(static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
                                static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3]);
}

// One wire entry: tag, name and value octets, not yet read by its type.
struct Entry {
    uint8_t tag = 0;
    std::span<const uint8_t> name;
    std::span<const uint8_t> value;
};

class Decoder {
public:
    explicit Decoder(std::span<const uint8_t> bytes) : m_in(bytes) {}

    Decoded Run(Message& out)
    {
        Decoded result;
        result.error = Body(out);
        result.dataOffset = m_in.Pos();
        return result;
    }

private:
    DecodeError Body(Message& out)
    {
        if (m_in.Left() > kMaxMessageBytes)
            return DecodeError::TooLarge;
        if (m_in.Left() < 8)
            return DecodeError::Truncated;
        out.versionMajor = m_in.Byte();
        out.versionMinor = m_in.Byte();
        if (out.versionMajor != 1 && out.versionMajor != 2)
            return DecodeError::BadVersion;
        out.code = m_in.Short();
        const uint16_t high = m_in.Short();
        out.requestId = static_cast<int32_t>(static_cast<uint32_t>(high) << 16 | m_in.Short());
        AttributeGroup* group = nullptr;
        while (true) {
            if (m_in.Left() < 1)
                return DecodeError::Truncated;
            const uint8_t tag = m_in.Peek();
            if (tag == kEndOfAttributes) {
                m_in.Byte();
                return DecodeError::None;
            }
            if (tag < 0x10) {
                m_in.Byte();
                if (tag == 0x00)
                    return DecodeError::BadTag;
                // An empty group costs as much to keep as a value: a message of nothing but
                // group tags may not grow past the same bound.
                if (++m_values > kMaxValues)
                    return DecodeError::TooManyValues;
                group = &out.AddGroup(static_cast<GroupTag>(tag));
                continue;
            }
            if (!group)
                return DecodeError::BadTag;
            Entry e;
            if (DecodeError error = NextEntry(e); error != DecodeError::None)
                return error;
            if (e.tag == static_cast<uint8_t>(ValueTag::EndCollection) ||
                e.tag == static_cast<uint8_t>(ValueTag::MemberAttrName))
                return DecodeError::BadCollection;
            Attribute* attribute = nullptr;
            if (!e.name.empty()) {
                attribute = &group->attributes.emplace_back();
                attribute->name.assign(e.name.begin(), e.name.end());
            } else if (!group->attributes.empty()) {
                attribute = &group->attributes.back();
            } else {
                return DecodeError::MisplacedValue;
            }
            if (DecodeError error = ReadValue(e, attribute->values.emplace_back(), 0); error != DecodeError::None)
                return error;
        }
    }

    DecodeError NextEntry(Entry& e)
    {
        if (m_in.Left() < 1)
            return DecodeError::Truncated;
        e.tag = m_in.Byte();
        if (e.tag < 0x10)
            return DecodeError::BadCollection;  // a group may not begin inside a collection
        if (e.tag == 0x7F)
            return DecodeError::BadTag;
        if (m_in.Left() < 2)
            return DecodeError::Truncated;
        const size_t nameLength = m_in.Short();
        if (nameLength > kMaxNameBytes)
            return DecodeError::NameTooLong;
        if (m_in.Left() < nameLength + 2)
            return DecodeError::Truncated;
        e.name = m_in.Take(nameLength);
        const size_t valueLength = m_in.Short();
        if (valueLength > kMaxValueBytes)
            return DecodeError::ValueTooLong;
        if (m_in.Left() < valueLength)
            return DecodeError::Truncated;
        e.value = m_in.Take(valueLength);
        if (++m_values > kMaxValues)
            return DecodeError::TooManyValues;
        return DecodeError::None;
    }

    DecodeError ReadValue(const Entry& e, Value& v, size_t depth)
    {
        v.tag = static_cast<ValueTag>(e.tag);
        const auto b = e.value;
        switch (v.tag) {
        case ValueTag::Integer:
        case ValueTag::Enum:
            if (b.size() != 4)
                return DecodeError::BadValue;
            v.integer = IntAt(b, 0);
            return DecodeError::None;
        case ValueTag::Boolean:
            if (b.size() != 1 || b[0] > 1)
                return DecodeError::BadValue;
            v.integer = b[0];
            return DecodeError::None;
        case ValueTag::DateTime:
            if (b.size() != 11)
                return DecodeError::BadValue;
            break;
        case ValueTag::Resolution:
            if (b.size() != 9)
                return DecodeError::BadValue;
            v.resolution = {IntAt(b, 0), IntAt(b, 4), static_cast<int8_t>(b[8])};
            return DecodeError::None;
        case ValueTag::RangeOfInteger:
            if (b.size() != 8)
                return DecodeError::BadValue;
            v.range = {IntAt(b, 0), IntAt(b, 4)};
            return DecodeError::None;
        case ValueTag::TextWithLanguage:
        case ValueTag::NameWithLanguage: {
            if (b.size() < 4)
                return DecodeError::BadValue;
            const size_t languageLength = static_cast<size_t>(b[0] << 8 | b[1]);
            if (languageLength + 4 > b.size())
                return DecodeError::BadValue;
            const size_t textLength = static_cast<size_t>(b[2 + languageLength] << 8 | b[3 + languageLength]);
            if (languageLength + textLength + 4 != b.size())
                return DecodeError::BadValue;
            v.language.assign(b.begin() + 2, b.begin() + 2 + static_cast<long>(languageLength));
            v.text.assign(b.begin() + 4 + static_cast<long>(languageLength), b.end());
            return DecodeError::None;
        }
        case ValueTag::BegCollection:
            if (!b.empty())
                return DecodeError::BadValue;
            if (depth + 1 > kMaxCollectionDepth)
                return DecodeError::TooDeep;
            return ReadMembers(v.members, depth + 1);
        default:
            break;
        }
        v.text.assign(b.begin(), b.end());
        return DecodeError::None;
    }

    // Member name entries, each followed by its values, up to the collection's end.
    DecodeError ReadMembers(std::vector<Attribute>& members, size_t depth)
    {
        Attribute* member = nullptr;
        while (true) {
            Entry e;
            if (DecodeError error = NextEntry(e); error != DecodeError::None)
                return error;
            if (!e.name.empty())
                return DecodeError::BadCollection;
            if (e.tag == static_cast<uint8_t>(ValueTag::EndCollection)) {
                if (!e.value.empty() || (member && member->values.empty()))
                    return DecodeError::BadCollection;
                return DecodeError::None;
            }
            if (e.tag == static_cast<uint8_t>(ValueTag::MemberAttrName)) {
                if (e.value.empty() || e.value.size() > kMaxNameBytes || (member && member->values.empty()))
                    return DecodeError::BadCollection;
                member = &members.emplace_back();
                member->name.assign(e.value.begin(), e.value.end());
                continue;
            }
            if (!member)
                return DecodeError::MisplacedValue;
            if (DecodeError error = ReadValue(e, member->values.emplace_back(), depth); error != DecodeError::None)
                return error;
        }
    }

    Reader m_in;
    size_t m_values = 0;
};

}  // namespace

bool EncodeMessage(const Message& message, std::vector<uint8_t>& out)
{
    out.clear();
    Writer w(out);
    w.Byte(message.versionMajor);
    w.Byte(message.versionMinor);
    w.Short(message.code);
    w.Int(message.requestId);
    for (const AttributeGroup& g : message.groups) {
        const auto tag = static_cast<uint8_t>(g.tag);
        if (tag == 0x00 || tag == kEndOfAttributes || tag >= 0x10)
            return false;
        w.Byte(tag);
        for (const Attribute& a : g.attributes) {
            if (a.name.empty() || a.values.empty())
                return false;
            for (size_t i = 0; i < a.values.size(); ++i)
                if (!EncodeValue(w, i == 0 ? a.name : std::string(), a.values[i]))
                    return false;
        }
    }
    w.Byte(kEndOfAttributes);
    return true;
}

Decoded DecodeMessage(std::span<const uint8_t> bytes, Message& out)
{
    out = Message();
    return Decoder(bytes).Run(out);
}

}  // namespace ipp
