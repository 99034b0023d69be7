#pragma once
// Registry values written byte for byte, terminator or not, in any hive;
// the keys are removed when the object goes.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class RawRegistry {
public:
    ~RawRegistry()
    {
        for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it)
            RegDeleteTreeW(it->first, it->second.c_str());
    }
    // A REG_SZ of exactly the characters given, with no terminator unless it is in `text`.
    bool SetUnterminated(HKEY hRoot, const std::wstring& key, const std::wstring& name, const std::wstring& text)
    {
        return Set(hRoot, key, name, REG_SZ, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    }
    bool Set(HKEY hRoot, const std::wstring& key, const std::wstring& name, DWORD dwType, const void* data, DWORD cb)
    {
        HKEY h = nullptr;
        if (RegCreateKeyExW(hRoot, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
            return false;
        m_keys.emplace_back(hRoot, key);
        const bool ok = RegSetValueExW(h, name.c_str(), 0, dwType, static_cast<const BYTE*>(data), cb) == ERROR_SUCCESS;
        RegCloseKey(h);
        return ok;
    }

private:
    std::vector<std::pair<HKEY, std::wstring>> m_keys;
};

// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process redirected to empty keys of
// its own, for values that other tests running at the same time must not see.
class PrivateHives {
public:
    PrivateHives()
    {
        m_strBase = L"Software\\LumeoTests\\faults_" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_strBase.c_str());
        m_hUser = Create(L"\\user");
        m_hMachine = Create(L"\\machine");
        RegOverridePredefKey(HKEY_CURRENT_USER, m_hUser);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_hMachine);
    }
    ~PrivateHives()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_hUser);
        RegCloseKey(m_hMachine);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_strBase.c_str());
    }
    PrivateHives(const PrivateHives&) = delete;
    PrivateHives& operator=(const PrivateHives&) = delete;

private:
    HKEY Create(const wchar_t* szSub)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, (m_strBase + szSub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        return key;
    }
    std::wstring m_strBase;
    HKEY m_hUser = nullptr;
    HKEY m_hMachine = nullptr;
};
