#include <gtest/gtest.h>

#include <functional>

#include "job/ipp/ipp_job_attributes.h"

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
    g.Add("media-col-supported", ipp::ValueTag::Keyword, std::vector<std::string>{"media-size", "media-type"});
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        JobSettings settings{.m_nCopies = 1, .m_nZoom = 100};
        c.fnSet(settings);
        const IppJobAttributes out = JobAttributesOverIpp(settings, c.bPdf, Printer(c.bScaling));
        EXPECT_EQ(out.refusal, c.refusal);
        EXPECT_EQ(Shown(out.job.attributes), c.strSent);
    }
    EXPECT_STREQ(PwgMediaName(0), "");
    EXPECT_STREQ(PwgMediaName(1), "na_letter_8.5x11in");
}
