#include "job/policy/policy_reader.h"

#include <windows.h>

#include <vector>

#include "common/debug_log.h"

namespace {
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Lumeo";
constexpr DWORD kMaxValues = 256;     // a key with more is not read further
constexpr DWORD kNameChars = 64 + 1;  // no policy has a longer name

struct Hive {
    HKEY hRoot;
    const wchar_t* pszName;
};

// Reads one value of at most kPolicyMaxBytes; false (and a log line) when it has more.
bool ReadValue(HKEY hKey, const wchar_t* pszName, DWORD& nType, std::vector<uint8_t>& bytes)
{
    bytes.assign(kPolicyMaxBytes, 0);
    DWORD nSize = static_cast<DWORD>(bytes.size());
    const LSTATUS status = RegQueryValueExW(hKey, pszName, nullptr, &nType, bytes.data(), &nSize);
    if (status != ERROR_SUCCESS)
        return false;
    bytes.resize(nSize);
    return true;
}

// The values of one hive's key over `policies`; rows that `bTaken` marks (set by the
// machine's key) are left alone.
void ReadHive(const Hive& hive, LumeoPolicies& policies, std::vector<bool>& bTaken)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hive.hRoot, kPolicyKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    const std::span<const PolicyRow> table = PolicyTable();
    for (DWORD nIndex = 0; nIndex < kMaxValues; ++nIndex) {
        wchar_t szName[kNameChars] = {};
        DWORD nNameChars = kNameChars;
        DWORD nType = 0;
        DWORD nSize = 0;
        const LSTATUS status = RegEnumValueW(hKey, nIndex, szName, &nNameChars, nullptr, &nType, nullptr, &nSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS) {
            DebugLog(L"Policy %s : a value with a name too long for any policy: ignored", hive.pszName);
            continue;
        }
        const PolicyRow* pRow = FindPolicy(szName);
        if (!pRow) {
            DebugLog(L"Policy %s %s : unknown: ignored", hive.pszName, szName);
            continue;
        }
        const size_t nRow = static_cast<size_t>(pRow - table.data());
        if (bTaken[nRow]) {
            DebugLog(L"Policy %s %s : ignored: the machine's value counts", hive.pszName, pRow->pszName);
            continue;
        }
        std::vector<uint8_t> bytes;
        PolicyCheck check = PolicyCheck::TooLong;
        if (nSize <= kPolicyMaxBytes && ReadValue(hKey, szName, nType, bytes))
            check = ApplyPolicyValue(policies, *pRow, nType, bytes);
        DebugLog(L"Policy %s %s : %s", hive.pszName, pRow->pszName, DescribePolicyCheck(*pRow, check).c_str());
        if (check == PolicyCheck::Applied)
            bTaken[nRow] = true;  // names are unique in a key: only the user's key comes after
    }
    RegCloseKey(hKey);
}
}  // namespace

LumeoPolicies ReadLumeoPolicies()
{
    LumeoPolicies policies;
    std::vector<bool> bTaken(PolicyTable().size(), false);
    ReadHive({HKEY_LOCAL_MACHINE, L"HKLM"}, policies, bTaken);
    ReadHive({HKEY_CURRENT_USER, L"HKCU"}, policies, bTaken);
    return policies;
}
