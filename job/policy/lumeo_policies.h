#pragma once
// The policies an administrator sets for Lumeo: one table of every value it reads, and
// the check that applies a value whole or not at all. Values are hostile input: a wrong
// type, a size, number or keyword out of the table's bounds leaves the policy unset.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "job/settings/job_policy.h"

struct LumeoPolicies {
    JobPolicy job;
    std::wstring strPrinter;   // made current instead of the Windows default printer
    std::wstring strLanguage;  // code of the string file ("GR"), before the display language
    // IPP printers over TLS: only certificates Windows trusts, none trusted on first use.
    bool bSystemCertificatesOnly = false;
};

enum class PolicyKind { Text, Keyword, Number, Switch };

struct PolicyRow {
    const wchar_t* pszName;
    PolicyKind kind;
    int nLow, nHigh;             // Number, Switch: the range; Text: the length in characters
    const wchar_t* pszKeywords;  // Keyword: blank-separated, or @PaperSizes / @PaperTypes
    void (*pfnSet)(LumeoPolicies& policies, int value, const std::wstring& text);
};

std::span<const PolicyRow> PolicyTable();
// The row of a value name, in any letter case as the registry compares them; nullptr when none.
const PolicyRow* FindPolicy(std::wstring_view name);
std::vector<std::wstring> PolicyKeywords(const PolicyRow& row);

// Registry value types the table takes.
constexpr uint32_t kPolicyRegSz = 1;
constexpr uint32_t kPolicyRegDword = 4;
// No value longer than this is read.
constexpr size_t kPolicyMaxBytes = 1024;

enum class PolicyCheck { Applied, WrongType, TooLong, NotInRange, UnknownKeyword, BadText };

// Checks the value's registry type and bytes against the row and, when they pass, sets
// what the row sets.
PolicyCheck ApplyPolicyValue(LumeoPolicies& policies, const PolicyRow& row, uint32_t nType,
                             std::span<const uint8_t> bytes);
// The log's words for an outcome: "applied", "ignored: not a REG_DWORD", ...
std::wstring DescribePolicyCheck(const PolicyRow& row, PolicyCheck check);
