#pragma once
// Registry keys under HKEY_LOCAL_MACHINE that a test writes and removes again.
#include <windows.h>

#include <string>
#include <vector>

class RegistryFixture {
public:
    ~RegistryFixture()
    {
        for (const std::wstring& key : m_keys)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    }
    // Creates the key and sets its REG_SZ values (name, value pairs).
    bool Write(const std::wstring& key, const std::vector<std::pair<std::wstring, std::wstring>>& values)
    {
        HKEY h = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
            ERROR_SUCCESS)
            return false;
        m_keys.push_back(key);
        bool ok = true;
        for (const auto& [name, value] : values)
            ok &= RegSetValueExW(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(h);
        return ok;
    }

private:
    std::vector<std::wstring> m_keys;
};
