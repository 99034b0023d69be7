// The policy table: hostile values applied whole or not at all, and the administrative
// templates and the command line naming exactly what the table reads.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "job/policy/lumeo_policies.h"

namespace {
std::vector<uint8_t> Sz(const std::wstring& text)
{
    std::vector<uint8_t> bytes;
    for (wchar_t ch : text)
        bytes.insert(bytes.end(), {uint8_t(ch & 0xFF), uint8_t(ch >> 8)});
    return bytes;
}

std::vector<uint8_t> Dword(uint32_t n) { return {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}; }

// Everything a policy can set, in one line.
std::wstring Describe(const LumeoPolicies& p)
{
    const JobOptions& d = p.job.defaults;
    std::wstring text = p.strPrinter + L"|" + p.strLanguage + L"|";
    for (const auto& value : {d.nCopies, d.nDuplex, d.nColorMode, d.nPaperSize, d.nPaperType})
        text += value ? std::to_wstring(*value) + L"," : L"-,";
    for (const auto& [pszKey, value] : {std::pair{L"T=", d.strTray}, {L"B=", d.strOutputBin}, {L"S=", d.strFinishings}})
        text += value ? pszKey + *value : L"";
    return text + (d.bFitToPage ? L"F" : L"") + (p.job.bLockColor ? L"C" : L"") + (p.job.bLockPaper ? L"P" : L"") +
           (p.job.bRequirePin ? L"R" : L"");
}
}  // namespace

TEST(Policies, AValueIsAppliedWholeOrNotAtAll)
{
    const struct {
        const wchar_t* pszName;
        uint32_t nType;
        std::vector<uint8_t> bytes;
        PolicyCheck check;
        std::wstring strSet;
    } cases[] = {
        {L"copies", kPolicyRegDword, Dword(99), PolicyCheck::Applied, L"||99,-,-,-,-,"},
        {L"Copies", kPolicyRegDword, Dword(100), PolicyCheck::NotInRange, L"||-,-,-,-,-,"},
        {L"Copies", kPolicyRegDword, Dword(0xFFFFFFFF), PolicyCheck::NotInRange, L"||-,-,-,-,-,"},
        {L"Copies", kPolicyRegSz, Sz(std::wstring(L"2\0", 2)), PolicyCheck::WrongType, L"||-,-,-,-,-,"},
        {L"Color", kPolicyRegSz, Sz(std::wstring(L"BW\0", 3)), PolicyCheck::Applied, L"||-,-,1,-,-,"},
        {L"Color", kPolicyRegSz, Sz(std::wstring(L"bw\0junk", 7)), PolicyCheck::BadText, L"||-,-,-,-,-,"},
        {L"Paper", kPolicyRegSz, Sz(L"jisb4"), PolicyCheck::Applied, L"||-,-,-,16,-,"},
        {L"PaperType", kPolicyRegSz, Sz(L"AUTO"), PolicyCheck::UnknownKeyword, L"||-,-,-,-,-,"},
        {L"FitToPage", kPolicyRegDword, Dword(1), PolicyCheck::Applied, L"||-,-,-,-,-,F"},
        {L"Language", kPolicyRegSz, Sz(L"gr"), PolicyCheck::Applied, L"|GR|-,-,-,-,-,"},
        {L"DefaultPrinter", kPolicyRegSz, Sz(L"Office \u00dc"), PolicyCheck::Applied, L"Office \u00dc||-,-,-,-,-,"},
        {L"DefaultPrinter", kPolicyRegSz, Sz(std::wstring(250, L'p')), PolicyCheck::TooLong, L"||-,-,-,-,-,"},
        {L"DefaultPrinter", kPolicyRegSz, Sz(L"Off\nice"), PolicyCheck::BadText, L"||-,-,-,-,-,"},
        {L"LockPaper", kPolicyRegDword, Dword(1), PolicyCheck::Applied, L"||-,-,-,-,-,P"},
        {L"Tray", kPolicyRegSz, Sz(L"tray-2"), PolicyCheck::Applied, L"||-,-,-,-,-,T=tray-2"},
        {L"OutputBin", kPolicyRegSz, Sz(L"Face\r\nup"), PolicyCheck::BadText, L"||-,-,-,-,-,"},
        {L"Finishing", kPolicyRegSz, Sz(L"staple,punch"), PolicyCheck::Applied, L"||-,-,-,-,-,S=staple,punch"},
        {L"Finishing", kPolicyRegSz, Sz(std::wstring(128, L's')), PolicyCheck::TooLong, L"||-,-,-,-,-,"},
        {L"RequirePin", kPolicyRegDword, Dword(1), PolicyCheck::Applied, L"||-,-,-,-,-,R"},
    };
    for (const auto& c : cases) {
        LumeoPolicies policies;
        EXPECT_EQ(ApplyPolicyValue(policies, *FindPolicy(c.pszName), c.nType, c.bytes), c.check) << c.pszName;
        EXPECT_EQ(Describe(policies), c.strSet) << c.pszName;
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
    for (const PolicyRow& row : PolicyTable()) {
        const std::string name(row.pszName, row.pszName + wcslen(row.pszName));
        const std::string low = std::to_string(row.nLow), high = std::to_string(row.nHigh);
        const size_t nStart = admx.find("<policy name=\"" + name + "\"");
        ASSERT_NE(nStart, std::string::npos) << name;
        const std::string block = admx.substr(nStart, admx.find("</policy>", nStart) - nStart);
        const std::string kind = row.kind == PolicyKind::Switch   ? "<enabledValue><decimal value=\"" + high + "\" />"
                                 : row.kind == PolicyKind::Number ? "minValue=\"" + low + "\" maxValue=\"" + high + "\""
                                 : row.kind == PolicyKind::Text   ? "maxLength=\"" + high + "\""
                                                                  : "<enum id=\"" + name + "\"";
        for (const std::string& part : {kind, "valueName=\"" + name + "\""})
            EXPECT_NE(block.find(part), std::string::npos) << name << ": " << part;
        std::vector<std::wstring> values;  // an enum's items, in order
        for (size_t at = block.find("<string>"); at != std::string::npos; at = block.find("<string>", at + 1))
            values.emplace_back(block.begin() + at + 8, block.begin() + block.find("</string>", at));
        EXPECT_EQ(values, row.kind == PolicyKind::Keyword ? PolicyKeywords(row) : std::vector<std::wstring>()) << name;
    }

    // The double-sided and colour keywords are the command line's, in the same order.
    for (const auto& [pszPolicy, pszOption] : {std::pair{L"Duplex", L"/duplex "}, std::pair{L"Color", L"/color "}}) {
        const std::vector<std::wstring> keywords = PolicyKeywords(*FindPolicy(pszPolicy));
        for (size_t i = 0; i < keywords.size(); ++i) {
            const JobOptions o = ReadCommandLine(L"/print " + (pszOption + keywords[i]) + L" a.pdf", {}).options;
            EXPECT_EQ(o.nDuplex.value_or(0) + o.nColorMode.value_or(0), static_cast<int>(i));
        }
    }
}
