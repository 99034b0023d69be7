#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "job/ipp/ipp_job_attributes.h"
#include "job/ipp/ipp_poll_schedule.h"

namespace {
// "name=value" of each attribute, a collection as {members}.
std::string Shown(const std::vector<ipp::Attribute>& attributes)
{
    std::string text;
    for (const ipp::Attribute& a : attributes) {
        const ipp::Value& v = a.values.at(0);
        const std::string value = v.tag == ipp::ValueTag::BegCollection ? "{" + Shown(v.members) + "}"
                                  : v.tag == ipp::ValueTag::RangeOfInteger
                                      ? std::to_string(v.range.lower) + "-" + std::to_string(v.range.upper)
                                  : v.text.empty() ? std::to_string(v.integer) : v.text;
        text += (text.empty() ? "" : " ") + a.name + "=" + value;
    }
    return text;
}

ipp::Message Printer(bool bScaling)
{
    ipp::Message m;
    ipp::AttributeGroup& g = m.AddGroup(ipp::GroupTag::Printer);
    g.AddInteger("copies-supported", ipp::ValueTag::RangeOfInteger, 0).values[0].range = {1, 99};
    g.Add("sides-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"one-sided", "two-sided-long-edge"});
    g.Add("print-color-mode-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"auto", "monochrome"});
    g.Add("media-supported", ipp::ValueTag::Keyword,
          std::vector<std::string>{"na_letter_8.5x11in", "iso_a4_210x297mm"});
    g.Add("media-type-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"stationery", "cardstock"});
    g.Add("media-col-supported", ipp::ValueTag::Keyword,
          std::vector<std::string>{"media-size", "media-type", "media-source"});
    g.Add("media-source-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"tray-1", "tray-2"});
    g.Add("output-bin-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"face-up"});
    g.AddInteger("finishings-supported", ipp::ValueTag::Enum, 4);
    g.attributes.back().values.push_back({ipp::ValueTag::Enum, {}, {}, 74});
    g.AddInteger("job-password-supported", ipp::ValueTag::Integer, 8);
    g.AddBoolean("page-ranges-supported", true);
    g.AddInteger("orientation-requested-supported", ipp::ValueTag::Enum, 3);
    if (bScaling)
        g.Add("print-scaling-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"none"});
    return m;
}
}  // namespace

// Each option as the printer is told it, or the option that refuses the file, named.
TEST(IppJobAttributes, EachOptionBecomesItsAttributeOrRefusesTheFileNamingIt)
{
    const struct {
        const char* pszCase;
        std::function<void(JobSettings&)> fnSet;
        bool bPdf, bScaling;
        std::string strSent;
        FileReason refusal;
    } cases[] = {
        {"defaults", [](JobSettings&) {}, true, false, "sides=one-sided", {}},
        {"copies", [](JobSettings& s) { s.m_nCopies = 3; }, true, false, "copies=3 sides=one-sided", {}},
        {"too many copies", [](JobSettings& s) { s.m_nCopies = 100; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"copies=100"}},
        {"long edge, black and white, A4, pages",
         [](JobSettings& s) { s.m_nDuplex = 1, s.m_nColorMode = 1, s.m_nPaperSize = 4, s.m_nPrintRange = 1,
                              s.m_nFromPage = 2, s.m_nToPage = 5; },
         true, false,
         "sides=two-sided-long-edge print-color-mode=monochrome media=iso_a4_210x297mm page-ranges=2-5", {}},
        {"pages of an image", [](JobSettings& s) { s.m_nPrintRange = 1, s.m_nFromPage = 2, s.m_nToPage = 5; }, false,
         false, "sides=one-sided", {}},
        {"short edge", [](JobSettings& s) { s.m_nDuplex = 2; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"sides=two-sided-short-edge"}},
        {"landscape", [](JobSettings& s) { s.m_nOrientation = 1; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"orientation-requested=landscape"}},
        {"B4", [](JobSettings& s) { s.m_nPaperSize = 16; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"media=jis_b4_257x364mm"}},
        {"A4 card", [](JobSettings& s) { s.m_nPaperSize = 4, s.m_nPaperType = 6; }, true, false,
         "sides=one-sided media-col={media-size={x-dimension=21000 y-dimension=29700} media-type=cardstock}", {}},
        {"bond", [](JobSettings& s) { s.m_nPaperType = 4; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"media-type=stationery-fine"}},
        {"fit", [](JobSettings& s) { s.m_bFitToPage = 1; }, true, true, "",
         {FileOutcome::OptionNotTaken, L"print-scaling=fit"}},
        {"100 % where scaling is known", [](JobSettings&) {}, true, true, "sides=one-sided print-scaling=none", {}},
        {"zoom, to a printer that does not fit", [](JobSettings& s) { s.m_nZoom = 150; }, true, true, "", [] {
             FileReason reason{FileOutcome::ZoomNotCarried, L"150"};
             reason.bFitTaken = false;
             return reason;
         }()},
        {"a tray alone", [](JobSettings& s) { s.m_Ticket.strTray = "tray-2"; }, true, false,
         "sides=one-sided media-col={media-source=tray-2}", {}},
        {"A4 card from a tray", [](JobSettings& s) { s.m_nPaperSize = 4, s.m_nPaperType = 6, s.m_Ticket.strTray = "tray-1"; },
         true, false,
         "sides=one-sided media-col={media-size={x-dimension=21000 y-dimension=29700} media-source=tray-1 "
         "media-type=cardstock}", {}},
        {"a tray not listed", [](JobSettings& s) { s.m_Ticket.strTray = "tray-9"; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"media-source=tray-9"}},
        {"bin and finishings",
         [](JobSettings& s) { s.m_Ticket.strOutputBin = "face-up", s.m_Ticket.arrFinishings = {4, 74}; }, true, false,
         "sides=one-sided output-bin=face-up finishings=4", {}},
        {"a fold not listed", [](JobSettings& s) { s.m_Ticket.arrFinishings = {4, 93}; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"finishings=fold-half"}},
        {"a PIN too long", [](JobSettings& s) { s.m_Ticket.strPin = "123456789"; }, true, false, "",
         {FileOutcome::OptionNotTaken, L"job-password=9 digits"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        JobSettings settings{.m_nCopies = 1, .m_nZoom = 100};
        c.fnSet(settings);
        const IppJobAttributes out = JobAttributesOverIpp(settings, c.bPdf, Printer(c.bScaling));
        EXPECT_EQ(out.refusal, c.refusal);
        EXPECT_EQ(Shown(out.job.attributes), c.strSent);
        // The options read nothing the printer is not asked for.
        ipp::Message asked = Printer(c.bScaling);
        std::erase_if(asked.groups[0].attributes, [](const ipp::Attribute& a) {
            return std::ranges::find(IppRunPrinterAttributes(), a.name) == IppRunPrinterAttributes().end();
        });
        EXPECT_EQ(Shown(JobAttributesOverIpp(settings, c.bPdf, asked).job.attributes), c.strSent);
    }
    // The PIN: hashed where the printer takes SHA-256; as typed over TLS alone.
    JobSettings pin{.m_nCopies = 1, .m_nZoom = 100};
    pin.m_Ticket.strPin = "1234";
    const std::vector<std::string> kBoth{"none", "sha2-256"}, kAsTyped{"none"};
    for (const auto& [encryptions, bTls, strSent] :
         {std::tuple(kBoth, false, std::string("sha2-256")), std::tuple(kAsTyped, true, std::string("none")),
          std::tuple(kAsTyped, false, std::string())}) {
        SCOPED_TRACE(strSent);
        ipp::Message printer = Printer(false);
        printer.groups[0].Add("job-password-encryption-supported", ipp::ValueTag::Keyword, encryptions);
        const IppJobAttributes out = JobAttributesOverIpp(pin, true, printer, bTls);
        if (strSent.empty()) {
            EXPECT_EQ(out.refusal, FileReason(FileOutcome::OptionNotTaken, L"job-password-encryption=sha2-256"));
            EXPECT_TRUE(out.operation.empty());
            continue;
        }
        ASSERT_EQ(out.operation.size(), 2u);
        EXPECT_EQ(out.operation[1].values.at(0).text, strSent);
        std::string strHex;
        for (const unsigned char ch : out.operation[0].values.at(0).text)
            strHex += "0123456789abcdef"[ch >> 4], strHex += "0123456789abcdef"[ch & 15];
        EXPECT_EQ(strHex, strSent == "none" ? "31323334" : "03ac674216f3e15c761ee1a5e255f067953623c8b388b4459e13f978d7c846f4");
    }
    EXPECT_STREQ(PwgMediaName(0), "");
    EXPECT_STREQ(PwgMediaName(1), "na_letter_8.5x11in");
}

TEST(IppPollSchedule, EachWaitDoublesUpToTheMostAndAChangeStartsAgainFromTheFirst)
{
    using Ms = std::chrono::milliseconds;
    for (const auto& [first, most, waits] :
         {std::tuple(10, 1000, std::vector<long long>{10, 20, 40, 80, 160, 320, 640, 1000, 1000}),
          std::tuple(50, 1000, std::vector<long long>{50, 100, 200, 400, 800, 1000}),
          std::tuple(0, 0, std::vector<long long>{1, 1})}) {  // never a wait of nothing, which would spin
        CPollSchedule schedule{Ms(first), Ms(most)};
        for (int round = 0; round < 2; ++round, schedule.Reset())
            for (const long long wait : waits)
                EXPECT_EQ(schedule.Next().count(), wait) << first << " to " << most;
    }
}
