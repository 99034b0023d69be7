#include "ipp/ipp_message.h"

namespace ipp {

bool IsOutOfBand(ValueTag tag)
{
    const auto t = static_cast<uint8_t>(tag);
    return t >= 0x10 && t <= 0x1F;
}

bool IsOctetsTag(ValueTag tag)
{
    switch (tag) {
    case ValueTag::Integer:
    case ValueTag::Boolean:
    case ValueTag::Enum:
    case ValueTag::Resolution:
    case ValueTag::RangeOfInteger:
    case ValueTag::BegCollection:
    case ValueTag::EndCollection:
    case ValueTag::TextWithLanguage:
    case ValueTag::NameWithLanguage:
        return false;
    default:
        return true;
    }
}

namespace {
bool IsStringTag(ValueTag tag)
{
    const auto t = static_cast<uint8_t>(tag);
    return tag == ValueTag::TextWithLanguage || tag == ValueTag::NameWithLanguage ||
           tag == ValueTag::OctetString || (t >= 0x40 && t <= 0x5F);
}

const Attribute* FindIn(const std::vector<Attribute>& list, std::string_view name)
{
    for (const Attribute& a : list)
        if (a.name == name)
            return &a;
    return nullptr;
}
}  // namespace

const Attribute* Value::Member(std::string_view name) const
{
    return tag == ValueTag::BegCollection ? FindIn(members, name) : nullptr;
}

const std::string* Attribute::Text() const
{
    return !values.empty() && IsStringTag(values[0].tag) ? &values[0].text : nullptr;
}

std::vector<std::string> Attribute::Texts() const
{
    std::vector<std::string> texts;
    for (const Value& v : values)
        if (IsStringTag(v.tag))
            texts.push_back(v.text);
    return texts;
}

std::optional<int32_t> Attribute::Integer() const
{
    if (values.empty() || (values[0].tag != ValueTag::Integer && values[0].tag != ValueTag::Enum))
        return std::nullopt;
    return values[0].integer;
}

std::optional<bool> Attribute::Boolean() const
{
    if (values.empty() || values[0].tag != ValueTag::Boolean)
        return std::nullopt;
    return values[0].integer != 0;
}

bool Attribute::OutOfBand() const
{
    return !values.empty() && IsOutOfBand(values[0].tag);
}

const Attribute* Attribute::Member(std::string_view name) const
{
    return values.empty() ? nullptr : values[0].Member(name);
}

const Attribute* AttributeGroup::Find(std::string_view name) const
{
    return FindIn(attributes, name);
}

Attribute& AttributeGroup::Add(std::string_view name, ValueTag tag, const std::vector<std::string>& texts)
{
    Attribute& a = attributes.emplace_back();
    a.name = name;
    for (const std::string& text : texts) {
        Value& v = a.values.emplace_back();
        v.tag = tag;
        v.text = text;
    }
    return a;
}

Attribute& AttributeGroup::Add(std::string_view name, ValueTag tag, std::string_view text)
{
    return Add(name, tag, std::vector<std::string>{std::string(text)});
}

Attribute& AttributeGroup::AddInteger(std::string_view name, ValueTag tag, int32_t number)
{
    Attribute& a = attributes.emplace_back();
    a.name = name;
    Value& v = a.values.emplace_back();
    v.tag = tag;
    v.integer = number;
    return a;
}

Attribute& AttributeGroup::AddBoolean(std::string_view name, bool yes)
{
    return AddInteger(name, ValueTag::Boolean, yes ? 1 : 0);
}

std::vector<Attribute>& AttributeGroup::AddCollection(std::string_view name)
{
    Attribute& a = attributes.emplace_back();
    a.name = name;
    Value& v = a.values.emplace_back();
    v.tag = ValueTag::BegCollection;
    return v.members;
}

const Attribute* Message::Find(GroupTag tag, std::string_view name) const
{
    for (const AttributeGroup& g : groups)
        if (g.tag == tag)
            if (const Attribute* a = g.Find(name))
                return a;
    return nullptr;
}

AttributeGroup& Message::AddGroup(GroupTag tag)
{
    AttributeGroup& g = groups.emplace_back();
    g.tag = tag;
    return g;
}

}  // namespace ipp
