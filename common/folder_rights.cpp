#include "common/folder_rights.h"

#include <array>
#include <cstdint>
#include <optional>

namespace {
constexpr uint32_t kDelete = 0x10000, kWriteDac = 0x40000, kWriteOwner = 0x80000, kWriteData = 0x2,
                   kDeleteChild = 0x40, kGenericAll = 0x10000000, kGenericWrite = 0x40000000,
                   kMaximumAllowed = 0x02000000;
constexpr uint32_t kChangingRights =
    kDelete | kWriteDac | kWriteOwner | kWriteData | kDeleteChild | kGenericAll | kGenericWrite | kMaximumAllowed;
constexpr uint32_t kAddSubfolder = 0x4;
constexpr uint32_t kInheritOnly = 0x8;

bool IsTrusted(std::wstring_view sid, std::wstring_view administrator)
{
    static constexpr std::array<std::wstring_view, 5> kTrusted = {
        L"SY", L"BA", L"S-1-5-18", L"S-1-5-32-544",
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};  // TrustedInstaller
    for (std::wstring_view trusted : kTrusted)
        if (sid == trusted)
            return true;
    return !administrator.empty() && sid == administrator;
}

// The access mask of an entry: a number, or two-letter rights one after the other.
std::optional<uint32_t> ParseRights(std::wstring_view text)
{
    if (text.starts_with(L"0x") || text.starts_with(L"0X")) {
        if (text.size() < 3 || text.size() > 10)
            return std::nullopt;
        uint32_t mask = 0;
        for (wchar_t c : text.substr(2)) {
            int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
            if (digit < 0)
                return std::nullopt;
            mask = mask << 4 | static_cast<uint32_t>(digit);
        }
        return mask;
    }
    struct Right {
        std::wstring_view code;
        uint32_t mask;
    };
    static constexpr std::array<Right, 25> kRights = {{
        {L"GA", kGenericAll}, {L"GR", 0x80000000}, {L"GW", kGenericWrite}, {L"GX", 0x20000000},
        {L"RC", 0x20000}, {L"SD", kDelete}, {L"WD", kWriteDac}, {L"WO", kWriteOwner},
        {L"RP", 0x10}, {L"WP", 0x20}, {L"CC", 0x1}, {L"DC", kWriteData}, {L"LC", 0x4},
        {L"SW", 0x8}, {L"LO", 0x80}, {L"DT", kDeleteChild}, {L"CR", 0x100},
        {L"FA", 0x1f01ff}, {L"FR", 0x120089}, {L"FW", 0x120116}, {L"FX", 0x1200a0},
        {L"KA", 0xf003f}, {L"KR", 0x20019}, {L"KW", 0x20006}, {L"KX", 0x20019},
    }};
    if (text.empty() || text.size() % 2)
        return std::nullopt;
    uint32_t mask = 0;
    for (size_t at = 0; at < text.size(); at += 2) {
        const Right* found = nullptr;
        for (const Right& right : kRights)
            if (text.substr(at, 2) == right.code)
                found = &right;
        if (!found)
            return std::nullopt;
        mask |= found->mask;
    }
    return mask;
}

std::optional<uint32_t> ParseAceFlags(std::wstring_view text)
{
    if (text.size() % 2)
        return std::nullopt;
    uint32_t flags = 0;
    for (size_t at = 0; at < text.size(); at += 2) {
        std::wstring_view flag = text.substr(at, 2);
        if (flag == L"IO")
            flags |= kInheritOnly;
        else if (flag != L"OI" && flag != L"CI" && flag != L"NP" && flag != L"ID" && flag != L"SA" && flag != L"FA")
            return std::nullopt;
    }
    return flags;
}

// One "(type;flags;rights;object;inherited object;sid[;condition])": whether it lets
// someone untrusted change the folder.
bool AceOpensFolder(std::wstring_view ace, std::wstring_view administrator, uint32_t nChanging)
{
    std::array<std::wstring_view, 6> fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        size_t end = ace.find(L';');
        if (end == std::wstring_view::npos && i + 1 < fields.size())
            return true;
        fields[i] = ace.substr(0, end);
        ace = end == std::wstring_view::npos ? std::wstring_view() : ace.substr(end + 1);
    }
    const std::wstring_view type = fields[0];
    // Denials and audits never grant; every kind of allowing entry may.
    if (type == L"D" || type == L"OD" || type == L"XD" || type == L"ZD" || type == L"AU" || type == L"OU" ||
        type == L"ML")
        return false;
    if (type != L"A" && type != L"OA" && type != L"XA" && type != L"ZA")
        return true;
    const std::optional<uint32_t> flags = ParseAceFlags(fields[1]);
    const std::optional<uint32_t> rights = ParseRights(fields[2]);
    if (!flags || !rights)
        return true;
    if (*flags & kInheritOnly || !(*rights & nChanging))
        return false;
    return !IsTrusted(fields[5], administrator);
}
}  // namespace

bool OnlyAdministratorsMayChange(std::wstring_view sddl, std::wstring_view administrator, bool bProgramFolder)
{
    const uint32_t nChanging = kChangingRights | (bProgramFolder ? kAddSubfolder : 0);
    if (!sddl.starts_with(L"O:"))
        return false;
    const size_t ownerEnd = sddl.find(L':', 2);
    // The owner runs to the next part ("G:", "D:" or "S:").
    if (ownerEnd == std::wstring_view::npos || ownerEnd < 3)
        return false;
    if (!IsTrusted(sddl.substr(2, ownerEnd - 3), administrator))
        return false;
    const size_t dacl = sddl.find(L"D:", ownerEnd - 1);
    if (dacl == std::wstring_view::npos)
        return false;
    std::wstring_view rest = sddl.substr(dacl + 2);
    // DACL flags (P, AI, AR) come before the first entry; "NO_ACCESS_CONTROL" is a null DACL.
    const size_t firstAce = rest.find(L'(');
    const std::wstring_view daclFlags = rest.substr(0, firstAce == std::wstring_view::npos ? rest.size() : firstAce);
    if (daclFlags.find(L"NO_ACCESS_CONTROL") != std::wstring_view::npos || daclFlags.find(L':') != std::wstring_view::npos)
        return false;
    rest = firstAce == std::wstring_view::npos ? std::wstring_view() : rest.substr(firstAce);
    while (rest.starts_with(L'(')) {
        const size_t end = rest.find(L')');
        if (end == std::wstring_view::npos || AceOpensFolder(rest.substr(1, end - 1), administrator, nChanging))
            return false;
        rest = rest.substr(end + 1);
    }
    // Only a SACL may follow the DACL.
    return rest.empty() || rest.starts_with(L"S:");
}
