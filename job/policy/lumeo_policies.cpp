#include "job/policy/lumeo_policies.h"

#include "common/ascii_case.h"
#include "job/settings/paper_tables.h"

namespace {
#define LUMEO_WIDE_(text) L##text
#define LUMEO_WIDE(text) LUMEO_WIDE_(text)
#define LUMEO_POLICY(name, kind, low, high, keywords, sets)                 \
    {LUMEO_WIDE(#name), PolicyKind::kind, low, high, LUMEO_WIDE(keywords), \
     [](LumeoPolicies& p, int value, const std::wstring& text) { p.sets; }},
constexpr PolicyRow kPolicies[] = {
#include "job/policy/policy_table.h"
};
#undef LUMEO_POLICY
#undef LUMEO_WIDE
#undef LUMEO_WIDE_

// UTF-16LE units of a REG_SZ; trailing terminators dropped. False for an odd size or a
// terminator with text after it, which a reader that stops there would take for less.
bool DecodeText(std::span<const uint8_t> bytes, std::wstring& text)
{
    if (bytes.size() % 2 != 0)
        return false;
    text.clear();
    for (size_t i = 0; i < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text.find(L'\0') == std::wstring::npos;
}

bool HasControlCharacter(const std::wstring& text)
{
    for (wchar_t ch : text)
        if (ch < 0x20 || ch == 0x7F)
            return true;
    return false;
}
}  // namespace

std::span<const PolicyRow> PolicyTable() { return kPolicies; }

const PolicyRow* FindPolicy(std::wstring_view name)
{
    for (const PolicyRow& row : kPolicies)
        if (SameIgnoringAsciiCase(name, row.pszName))
            return &row;
    return nullptr;
}

std::vector<std::wstring> PolicyKeywords(const PolicyRow& row)
{
    const std::wstring_view list = row.pszKeywords;
    std::vector<std::wstring> keywords;
    if (list == L"@PaperSizes") {
        for (const wchar_t* psz : PaperSizeKeywords())
            keywords.emplace_back(psz);
        return keywords;
    }
    if (list == L"@PaperTypes") {
        for (const wchar_t* psz : PaperTypeKeywords())
            keywords.emplace_back(psz);
        return keywords;
    }
    size_t nStart = 0;
    while (nStart < list.size()) {
        size_t nEnd = list.find(L' ', nStart);
        if (nEnd == std::wstring_view::npos)
            nEnd = list.size();
        if (nEnd > nStart)
            keywords.emplace_back(list.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return keywords;
}

PolicyCheck ApplyPolicyValue(LumeoPolicies& policies, const PolicyRow& row, uint32_t nType,
                             std::span<const uint8_t> bytes)
{
    if (bytes.size() > kPolicyMaxBytes)
        return PolicyCheck::TooLong;
    if (row.kind == PolicyKind::Number || row.kind == PolicyKind::Switch) {
        if (nType != kPolicyRegDword || bytes.size() != 4)
            return PolicyCheck::WrongType;
        const uint32_t nRaw = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
        if (nRaw > static_cast<uint32_t>(row.nHigh) || nRaw < static_cast<uint32_t>(row.nLow))
            return PolicyCheck::NotInRange;
        row.pfnSet(policies, static_cast<int>(nRaw), std::wstring());
        return PolicyCheck::Applied;
    }
    if (nType != kPolicyRegSz)
        return PolicyCheck::WrongType;
    std::wstring text;
    if (!DecodeText(bytes, text) || HasControlCharacter(text))
        return PolicyCheck::BadText;
    if (row.kind == PolicyKind::Text) {
        if (text.size() < static_cast<size_t>(row.nLow))
            return PolicyCheck::BadText;
        if (text.size() > static_cast<size_t>(row.nHigh))
            return PolicyCheck::TooLong;
        row.pfnSet(policies, 0, text);
        return PolicyCheck::Applied;
    }
    const std::vector<std::wstring> keywords = PolicyKeywords(row);
    for (size_t i = 0; i < keywords.size(); ++i) {
        if (SameIgnoringAsciiCase(text, keywords[i])) {
            row.pfnSet(policies, static_cast<int>(i), keywords[i]);
            return PolicyCheck::Applied;
        }
    }
    return PolicyCheck::UnknownKeyword;
}

std::wstring DescribePolicyCheck(const PolicyRow& row, PolicyCheck check)
{
    const bool bNumber = row.kind == PolicyKind::Number || row.kind == PolicyKind::Switch;
    switch (check) {
    case PolicyCheck::Applied:
        return L"applied";
    case PolicyCheck::WrongType:
        return bNumber ? L"ignored: not a REG_DWORD" : L"ignored: not a REG_SZ";
    case PolicyCheck::TooLong:
        return L"ignored: too long";
    case PolicyCheck::NotInRange:
        return L"ignored: not from " + std::to_wstring(row.nLow) + L" to " + std::to_wstring(row.nHigh);
    case PolicyCheck::UnknownKeyword:
        return L"ignored: not one of its keywords";
    case PolicyCheck::BadText:
        return L"ignored: not a text it takes";
    }
    return L"ignored";
}
