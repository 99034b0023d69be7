// The IPP message format both ways, hostile answers refused with their reason, and printer URLs.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ipp/ipp_codec.h"
#include "ipp/ipp_request.h"
#include "ipp/ipp_url.h"

using namespace ipp;

namespace {
using Bytes = std::vector<uint8_t>;

// One wire entry: tag, name, value.
void Put(Bytes& b, uint8_t tag, const std::string& name, const std::string& value)
{
    b.push_back(tag);
    for (const std::string* s : {&name, &value}) {
        b.push_back(static_cast<uint8_t>(s->size() >> 8));
        b.push_back(static_cast<uint8_t>(s->size()));
        b.insert(b.end(), s->begin(), s->end());
    }
}

Bytes Head(uint8_t major = 2)
{
    return {major, 0, 0, 0, 0, 0, 0, 7, 0x04};  // successful-ok, request 7, printer group
}

Bytes Repeat(const Bytes& entry, size_t times)
{
    Bytes b;
    for (size_t i = 0; i < times; ++i)
        b.insert(b.end(), entry.begin(), entry.end());
    return b;
}
}  // namespace

TEST(IppCodec, RequestBytesAreTheStandardForm)
{
    Message m = GetPrinterAttributesRequest(7, "ipp://h/ipp/print", "ann", {"printer-state", "printer-device-id"});
    Bytes want = {2, 0, 0, 0x0B, 0, 0, 0, 7, 0x01};
    Put(want, 0x47, "attributes-charset", "utf-8");
    Put(want, 0x48, "attributes-natural-language", "en");
    Put(want, 0x45, "printer-uri", "ipp://h/ipp/print");
    Put(want, 0x42, "requesting-user-name", "ann");
    Put(want, 0x44, "requested-attributes", "printer-state");
    Put(want, 0x44, "", "printer-device-id");
    want.push_back(0x03);
    Bytes got;
    ASSERT_TRUE(EncodeMessage(m, got));
    EXPECT_EQ(got, want);
}

TEST(IppCodec, EveryValueKindSurvivesTheWire)
{
    Message m;
    m.versionMajor = 1;
    m.versionMinor = 1;
    m.code = status::kOkIgnoredOrSubstituted;
    m.requestId = -5;
    AttributeGroup& p = m.AddGroup(GroupTag::Printer);
    p.AddInteger("queued-job-count", ValueTag::Integer, -3);
    p.AddInteger("printer-state", ValueTag::Enum, 5);
    p.AddBoolean("color-supported", true);
    p.Add("document-format-supported", ValueTag::MimeMediaType, std::vector<std::string>{"application/pdf", "image/jpeg"});
    for (ValueTag t : {ValueTag::OctetString, ValueTag::Text, ValueTag::Name, ValueTag::Keyword, ValueTag::Uri,
                       ValueTag::UriScheme, ValueTag::Charset, ValueTag::NaturalLanguage, ValueTag::DateTime,
                       ValueTag::Unsupported, ValueTag::Unknown, ValueTag::NoValue})
        p.Add("a" + std::to_string(static_cast<int>(t)), t, t == ValueTag::DateTime ? std::string(11, '\x07') :
                                                           IsOutOfBand(t)           ? std::string() : "x\0y");
    Value& r = p.attributes.emplace_back(Attribute{"printer-resolution-default", {}}).values.emplace_back();
    r.tag = ValueTag::Resolution;
    r.resolution = {600, 1200, 4};
    Value& range = p.attributes.emplace_back(Attribute{"copies-supported", {}}).values.emplace_back();
    range.tag = ValueTag::RangeOfInteger;
    range.range = {1, 999};
    Value& lang = p.attributes.emplace_back(Attribute{"printer-info", {}}).values.emplace_back();
    lang.tag = ValueTag::TextWithLanguage;
    lang.language = "de";
    lang.text = "Drucker";
    // media-col-ready: two collections, each with a nested media-size collection.
    std::vector<Attribute>& col = p.AddCollection("media-col-ready");
    AttributeGroup inner;
    std::vector<Attribute>& size = inner.AddCollection("media-size");
    inner.AddInteger("x-dimension", ValueTag::Integer, 21000);
    size.push_back(inner.attributes.back());
    col.push_back(inner.attributes.front());
    inner.Add("media-type", ValueTag::Keyword, std::vector<std::string>{"stationery", "labels"});
    col.push_back(inner.attributes.back());
    p.attributes.back().values.push_back(p.attributes.back().values.front());
    m.AddGroup(GroupTag::Job);  // an empty group is kept

    Bytes wire;
    ASSERT_TRUE(EncodeMessage(m, wire));
    wire.insert(wire.end(), {'%', 'P', 'D', 'F'});
    Message back;
    const Decoded d = DecodeMessage(wire, back);
    ASSERT_EQ(d.error, DecodeError::None);
    EXPECT_EQ(d.dataOffset, wire.size() - 4);
    Bytes again;
    ASSERT_TRUE(EncodeMessage(back, again));
    EXPECT_EQ(again, Bytes(wire.begin(), wire.end() - 4));
    EXPECT_EQ(back.versionMajor, 1);
    EXPECT_EQ(back.requestId, -5);
    ASSERT_EQ(back.groups.size(), 2u);
    EXPECT_EQ(back.Find(GroupTag::Printer, "queued-job-count")->Integer(), -3);
    EXPECT_EQ(back.Find(GroupTag::Printer, "printer-state")->Integer(), 5);
    EXPECT_EQ(back.Find(GroupTag::Printer, "color-supported")->Boolean(), true);
    EXPECT_EQ(back.Find(GroupTag::Printer, "document-format-supported")->Texts(),
              (std::vector<std::string>{"application/pdf", "image/jpeg"}));
    EXPECT_TRUE(back.Find(GroupTag::Printer, "a16")->OutOfBand());
    EXPECT_EQ(back.Find(GroupTag::Printer, "printer-resolution-default")->values[0].resolution.y, 1200);
    EXPECT_EQ(back.Find(GroupTag::Printer, "copies-supported")->values[0].range.upper, 999);
    EXPECT_EQ(*back.Find(GroupTag::Printer, "printer-info")->Text(), "Drucker");
    EXPECT_EQ(back.Find(GroupTag::Printer, "printer-info")->values[0].language, "de");
    const Attribute* ready = back.Find(GroupTag::Printer, "media-col-ready");
    ASSERT_TRUE(ready && ready->values.size() == 2);
    EXPECT_EQ(ready->values[1].Member("media-size")->Member("x-dimension")->Integer(), 21000);
    EXPECT_EQ(ready->Member("media-type")->Texts(), (std::vector<std::string>{"stationery", "labels"}));
    EXPECT_EQ(back.Find(GroupTag::Job, "printer-state"), nullptr);
}

TEST(IppCodec, HostileAnswersAreRefusedWithTheirReason)
{
    const auto with = [](Bytes b, const Bytes& tail) {
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    Bytes ok = Head();
    Put(ok, 0x23, "printer-state", std::string("\0\0\0\3", 4));
    Bytes nested;
    for (int i = 0; i < 9; ++i) {
        Put(nested, 0x34, i == 0 ? "c" : "", "");
        Put(nested, 0x4A, "", "m");
    }
    Bytes member;
    Put(member, 0x4A, "", "m");
    Bytes value;
    Put(value, 0x21, "", "1234");
    Bytes endCol;
    Put(endCol, 0x37, "", "");
    Bytes begin;
    Put(begin, 0x34, "c", "");
    const struct {
        const char* what;
        Bytes bytes;
        DecodeError error;
    } cases[] = {
        {"header cut", Bytes{2, 0, 0}, DecodeError::Truncated},
        {"no end tag", ok, DecodeError::Truncated},
        {"value cut", Bytes(ok.begin(), ok.end() - 2), DecodeError::Truncated},
        {"version 3", with({3, 0, 0, 0, 0, 0, 0, 1}, {3}), DecodeError::BadVersion},
        {"value before a group", with({2, 0, 0, 0, 0, 0, 0, 1}, value), DecodeError::BadTag},
        {"tag 0", with(Head(), {0}), DecodeError::BadTag},
        {"extension tag", with(Head(), {0x7F, 0, 0, 0, 0, 3}), DecodeError::BadTag},
        {"additional value first", with(with(Head(), value), {3}), DecodeError::MisplacedValue},
        {"integer of 3 bytes", with(Head(), {0x21, 0, 1, 'a', 0, 3, 1, 2, 3, 3}), DecodeError::BadValue},
        {"boolean 2", with(Head(), {0x22, 0, 1, 'a', 0, 1, 2, 3}), DecodeError::BadValue},
        {"language past its value", with(Head(), {0x35, 0, 1, 'a', 0, 4, 0, 9, 0, 0, 3}), DecodeError::BadValue},
        {"collection left open", with(with(with(Head(), begin), member), with(value, {3})), DecodeError::BadCollection},
        {"group inside a collection", with(with(with(Head(), begin), member), with(value, {0x04, 3})),
         DecodeError::BadCollection},
        {"collection end outside", with(with(Head(), endCol), {3}), DecodeError::BadCollection},
        {"member with no value", with(with(with(Head(), begin), member), with(endCol, {3})), DecodeError::BadCollection},
        {"value before a member", with(with(with(Head(), begin), value), {3}), DecodeError::MisplacedValue},
        {"name too long", with(with(Head(), {0x44, 1, 0}), Bytes(300, 'n')), DecodeError::NameTooLong},
        {"value too long", with(with(Head(), {0x41, 0, 1, 'a', 0xFF, 0xFF}), Bytes(70000, 'v')),
         DecodeError::ValueTooLong},
        {"too deep", with(Head(), nested), DecodeError::TooDeep},
        {"too many values", with(with(ok, Repeat(value, kMaxValues)), {3}), DecodeError::TooManyValues},
        {"nothing but group tags", with(with(Head(), Bytes(kMaxValues, 4)), {3}), DecodeError::TooManyValues},
        {"too large", with(Head(), Bytes(kMaxMessageBytes, 3)), DecodeError::TooLarge},
    };
    for (const auto& c : cases) {
        Message m;
        EXPECT_EQ(DecodeMessage(c.bytes, m).error, c.error) << c.what;
    }
    Message m;
    ASSERT_EQ(DecodeMessage(with(ok, {3}), m).error, DecodeError::None);
    EXPECT_EQ(m.Find(GroupTag::Printer, "printer-state")->Integer(), 3);
}

TEST(IppUrl, PrinterUrlsAreParsedOrRefused)
{
    const struct {
        const char* text;
        const char* written;  // Text() of the parsed URL, null when refused
        bool secure;
    } cases[] = {
        {"ipp://printer.local/ipp/print", "ipp://printer.local:631/ipp/print", false},
        {"IPPS://10.0.0.5", "ipps://10.0.0.5:631/", true},
        {"http://host/printers/p/.printer", "http://host:80/printers/p/.printer", false},
        {"https://host:8443/a?b=c#frag", "https://host:8443/a?b=c", true},
        {"ipp://[fe80::1%25eth0]:8631/ipp", "ipp://[fe80::1%25eth0]:8631/ipp", false},
        {"ipp://[fe80::1%eth0]:8631/ipp", "ipp://[fe80::1%eth0]:8631/ipp", false},
        {"ipp://[::1]/x", "ipp://[::1]:631/x", false},
        {"ipp://host?x", "ipp://host:631/?x", false},
        {"ipp://user:pw@host/ipp", nullptr, false},
        {"ftp://host/", nullptr, false},
        {"ipp://host:0/", nullptr, false},
        {"ipp://host:65536/", nullptr, false},
        {"ipp://host:/", nullptr, false},
        {"ipp:///ipp", nullptr, false},
        {"ipp://[::1/ipp", nullptr, false},
        {"ipp://[::1]x/ipp", nullptr, false},
        {"ipp://ho st/", nullptr, false},
        {"ipp://host/a b", nullptr, false},
        {"ipp://host/\x01", nullptr, false},
    };
    for (const auto& c : cases) {
        const auto url = ParsePrinterUrl(c.text);
        ASSERT_EQ(url.has_value(), c.written != nullptr) << c.text;
        if (url) {
            EXPECT_EQ(url->Text(), c.written) << c.text;
            EXPECT_EQ(url->Secure(), c.secure) << c.text;
        }
    }
    EXPECT_FALSE(ParsePrinterUrl("ipp://h/" + std::string(kMaxUrlBytes, 'a')));
    EXPECT_TRUE(SameHost(*ParsePrinterUrl("ipp://Printer/a"), *ParsePrinterUrl("https://printer:8443/b")));
    EXPECT_FALSE(SameHost(*ParsePrinterUrl("ipp://printer/a"), *ParsePrinterUrl("ipp://printer.evil/a")));
    for (const auto& [from, to, bSame] :
         {std::tuple("ipp://p/a", "ipps://P:443/b", true), {"ipp://p:8631/", "ipp://p:8631/x", true},
          {"ipp://p/", "ipp://p:8631/", false}, {"https://p/", "ipp://p:632/", false}})
        EXPECT_EQ(SamePrinterService(*ParsePrinterUrl(from), *ParsePrinterUrl(to)), bSame) << from << " " << to;
}
