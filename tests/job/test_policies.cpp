// The policy table: hostile values applied whole or not at all, and the administrative
// templates and the command line naming exactly what the table reads.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "job/paper_tables.h"
#include "policy/lumeo_policies.h"

namespace {
std::vector<uint8_t> Sz(const std::wstring& text)
{
    std::vector<uint8_t> bytes;
    for (wchar_t ch : text) {
        bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
        bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
    }
    return bytes;
}

std::vector<uint8_t> Dword(uint32_t n) { return {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}; }

// Everything a policy can set, in one line.
std::wstring Describe(const LumeoPolicies& p)
{
    const JobOptions& d = p.job.defaults;
    auto n = [](const std::optional<int>& v) { return v ? std::to_wstring(*v) : L"-"; };
    return p.strPrinter + L"|" + p.strLanguage + L"|" + n(d.nCopies) + n(d.nDuplex) + n(d.nColorMode) +
           n(d.nPaperSize) + L"," + n(d.nPaperType) + (d.bFitToPage ? (*d.bFitToPage ? L"F" : L"f") : L"-") +
           (p.job.bLockColor ? L"C" : L"") + (p.job.bLockDuplex ? L"D" : L"") + (p.job.bLockPaper ? L"P" : L"");
}
}  // namespace

TEST(Policies, AValueIsAppliedWholeOrNotAtAll)
{
    const std::wstring kNothing = Describe(LumeoPolicies{});
    const struct {
        const wchar_t* pszName;
        uint32_t nType;
        std::vector<uint8_t> bytes;
        PolicyCheck check;
        std::wstring strSet;  // empty: nothing is set
    } cases[] = {
        {L"copies", kPolicyRegDword, Dword(99), PolicyCheck::Applied, L"||99---,--"},
        {L"Copies", kPolicyRegDword, Dword(0), PolicyCheck::NotInRange, L""},
        {L"Copies", kPolicyRegDword, Dword(100), PolicyCheck::NotInRange, L""},
        {L"Copies", kPolicyRegDword, Dword(0xFFFFFFFF), PolicyCheck::NotInRange, L""},
        {L"Copies", kPolicyRegSz, Sz(std::wstring(L"2\0", 2)), PolicyCheck::WrongType, L""},
        {L"Copies", 11 /* REG_QWORD */, Dword(2), PolicyCheck::WrongType, L""},
        {L"Copies", kPolicyRegDword, {2, 0, 0, 0, 0, 0, 0, 0}, PolicyCheck::WrongType, L""},
        {L"Color", kPolicyRegSz, Sz(std::wstring(L"BW\0", 3)), PolicyCheck::Applied, L"||--1-,--"},
        {L"Color", kPolicyRegSz, Sz(std::wstring(L"bw\0junk", 7)), PolicyCheck::BadText, L""},
        {L"Color", kPolicyRegSz, Sz(L" bw"), PolicyCheck::UnknownKeyword, L""},
        {L"Color", kPolicyRegSz, Sz(L"mono"), PolicyCheck::UnknownKeyword, L""},
        {L"Color", kPolicyRegDword, Dword(1), PolicyCheck::WrongType, L""},
        {L"Color", kPolicyRegSz, {'b', 0, 'w'}, PolicyCheck::BadText, L""},
        {L"Duplex", kPolicyRegSz, Sz(L"Short"), PolicyCheck::Applied, L"||-2--,--"},
        {L"Paper", kPolicyRegSz, Sz(L"jisb4"), PolicyCheck::Applied, L"||---16,--"},
        {L"PaperType", kPolicyRegSz, Sz(L"AUTO"), PolicyCheck::UnknownKeyword, L""},  // a PJL word, not a keyword
        {L"FitToPage", kPolicyRegDword, Dword(0), PolicyCheck::Applied, L"||----,-f"},
        {L"Language", kPolicyRegSz, Sz(L"gr"), PolicyCheck::Applied, L"|GR|----,--"},
        {L"Language", kPolicyRegSz, Sz(L"de"), PolicyCheck::UnknownKeyword, L""},
        {L"DefaultPrinter", kPolicyRegSz, Sz(L"Office \u00dc"), PolicyCheck::Applied, L"Office \u00dc||----,--"},
        {L"DefaultPrinter", kPolicyRegSz, Sz(std::wstring(250, L'p')), PolicyCheck::TooLong, L""},
        {L"DefaultPrinter", kPolicyRegSz, Sz(L"Off\nice"), PolicyCheck::BadText, L""},
        {L"DefaultPrinter", kPolicyRegSz, Sz(std::wstring(L"\0", 1)), PolicyCheck::BadText, L""},
        {L"DefaultPrinter", kPolicyRegSz, std::vector<uint8_t>(kPolicyMaxBytes + 2, 'a'), PolicyCheck::TooLong, L""},
        {L"LockColor", kPolicyRegDword, Dword(1), PolicyCheck::Applied, L"||----,--C"},
        {L"LockPaper", kPolicyRegDword, Dword(2), PolicyCheck::NotInRange, L""},
    };
    for (const auto& c : cases) {
        const PolicyRow* pRow = FindPolicy(c.pszName);
        ASSERT_NE(pRow, nullptr) << c.pszName;
        LumeoPolicies policies;
        EXPECT_EQ(ApplyPolicyValue(policies, *pRow, c.nType, c.bytes), c.check) << c.pszName << " " << c.bytes.size();
        EXPECT_EQ(Describe(policies), c.strSet.empty() ? kNothing : c.strSet) << c.pszName;
    }
    EXPECT_EQ(FindPolicy(L"Colour"), nullptr);
}

TEST(Policies, TheTemplatesAndTheCommandLineNameWhatTheTableReads)
{
    std::ifstream in(std::string(LUMEO_SOURCE_DIR) + "/resources/policy/Lumeo.admx", std::ios::binary);
    const std::string admx((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t nPolicies = 0;
    for (size_t at = admx.find("<policy "); at != std::string::npos; at = admx.find("<policy ", at + 1))
        ++nPolicies;
    EXPECT_EQ(nPolicies, PolicyTable().size());
    const auto narrow = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
    for (const PolicyRow& row : PolicyTable()) {
        const std::string name = narrow(row.pszName);
        const size_t nStart = admx.find("<policy name=\"" + name + "\"");
        ASSERT_NE(nStart, std::string::npos) << name;
        const std::string block = admx.substr(nStart, admx.find("</policy>", nStart) - nStart);
        const std::string low = std::to_string(row.nLow), high = std::to_string(row.nHigh);
        std::vector<std::string> expected;
        if (row.kind == PolicyKind::Switch)
            expected = {"valueName=\"" + name + "\">", "<enabledValue><decimal value=\"" + high + "\" />",
                        "<disabledValue><decimal value=\"" + low + "\" />"};
        else if (row.kind == PolicyKind::Number)
            expected = {"valueName=\"" + name + "\" minValue=\"" + low + "\" maxValue=\"" + high + "\""};
        else if (row.kind == PolicyKind::Text)
            expected = {"<text id=\"" + name + "\" valueName=\"" + name + "\" maxLength=\"" + high + "\""};
        else {
            expected = {"<enum id=\"" + name + "\" valueName=\"" + name + "\""};
            std::vector<std::wstring> values;  // its items' values, in order
            for (size_t at = block.find("<string>"); at != std::string::npos; at = block.find("<string>", at + 1))
                values.emplace_back(block.begin() + at + 8, block.begin() + block.find("</string>", at));
            EXPECT_EQ(values, PolicyKeywords(row)) << name;
        }
        for (const std::string& part : expected)
            EXPECT_NE(block.find(part), std::string::npos) << name << ": " << part;
    }

    // The keywords of a policy are those its command-line option takes, at the same place.
    const auto sizes = PaperSizeKeywords();
    const auto types = PaperTypeKeywords();
    const OptionKeywords paper{sizes, types};
    const struct {
        const wchar_t* pszPolicy;
        const wchar_t* pszOption;
        std::optional<int> JobOptions::*pField;
    } options[] = {{L"Duplex", L"/duplex", &JobOptions::nDuplex},     {L"Color", L"/color", &JobOptions::nColorMode},
                   {L"Paper", L"/paper", &JobOptions::nPaperSize},    {L"PaperType", L"/type", &JobOptions::nPaperType}};
    for (const auto& o : options) {
        const std::vector<std::wstring> keywords = PolicyKeywords(*FindPolicy(o.pszPolicy));
        for (size_t i = 0; i < keywords.size(); ++i)
            EXPECT_EQ(ReadCommandLine(std::wstring(L"/print ") + o.pszOption + L" " + keywords[i] + L" a.pdf", paper)
                          .options.*o.pField,
                      static_cast<int>(i))
                << narrow(keywords[i]);
    }
}
