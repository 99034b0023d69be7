#include "context_menu/registrar_win.h"

#include "context_menu/koretta_log.h"

namespace {

HKEY HiveKey(RegHive hive)
{
    switch (hive) {
    case RegHive::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegHive::kCurrentUser: return HKEY_CURRENT_USER;
    case RegHive::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegHive::kUsers: return HKEY_USERS;
    }
    return HKEY_CLASSES_ROOT;
}

bool IsMissing(LONG nError) { return nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND; }

LONG WriteValue(HKEY hKey, const RegValue& value)
{
    const wchar_t* pszName = value.name.empty() ? nullptr : value.name.c_str();
    switch (value.type) {
    case RegValueType::kString:
        return RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                              static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
    case RegValueType::kDword: {
        DWORD dwNumber = value.number;
        return RegSetValueExW(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber), sizeof(dwNumber));
    }
    case RegValueType::kBinary:
        return RegSetValueExW(hKey, pszName, 0, REG_BINARY, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
    }
    return ERROR_INVALID_DATA;
}

LONG RegisterKey(HKEY hParent, const RegKey& key)
{
    if (key.flag == RegKeyFlag::kForceRemove || key.flag == RegKeyFlag::kDelete) {
        LONG nError = RegDeleteTreeW(hParent, key.name.c_str());
        if (nError != ERROR_SUCCESS && !IsMissing(nError))
            return nError;
        if (key.flag == RegKeyFlag::kDelete)
            return ERROR_SUCCESS;
    }
    HKEY hKey = nullptr;
    LONG nError = RegCreateKeyExW(hParent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &hKey,
                                  nullptr);
    if (nError != ERROR_SUCCESS)
        return nError;
    for (const RegValue& value : key.values) {
        nError = WriteValue(hKey, value);
        if (nError != ERROR_SUCCESS)
            break;
    }
    for (size_t i = 0; nError == ERROR_SUCCESS && i < key.subkeys.size(); ++i)
        nError = RegisterKey(hKey, key.subkeys[i]);
    RegCloseKey(hKey);
    return nError;
}

// Best effort: goes on after a failure and reports the first one.
LONG UnregisterKey(HKEY hParent, const RegKey& key)
{
    if (key.flag == RegKeyFlag::kForceRemove || key.flag == RegKeyFlag::kDelete) {
        LONG nError = RegDeleteTreeW(hParent, key.name.c_str());
        return IsMissing(nError) ? ERROR_SUCCESS : nError;
    }
    HKEY hKey = nullptr;
    LONG nError = RegOpenKeyExW(hParent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &hKey);
    if (IsMissing(nError))
        return ERROR_SUCCESS;
    if (nError != ERROR_SUCCESS)
        return nError;
    LONG nFirstError = ERROR_SUCCESS;
    for (const RegKey& subkey : key.subkeys) {
        nError = UnregisterKey(hKey, subkey);
        if (nError != ERROR_SUCCESS && nFirstError == ERROR_SUCCESS)
            nFirstError = nError;
    }
    if (key.flag == RegKeyFlag::kNoRemove) {
        RegCloseKey(hKey);
        return nFirstError;
    }
    for (const RegValue& value : key.values)
        if (!value.name.empty())
            RegDeleteValueW(hKey, value.name.c_str());
    DWORD nSubkeys = 0;
    RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &nSubkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(hKey);
    // A key that still holds someone else's subkeys stays.
    if (nSubkeys == 0) {
        nError = RegDeleteKeyW(hParent, key.name.c_str());
        if (nError != ERROR_SUCCESS && !IsMissing(nError) && nFirstError == ERROR_SUCCESS)
            nFirstError = nError;
    }
    return nFirstError;
}

}  // namespace

HRESULT LoadRegistrarScript(HMODULE hModule, UINT nResourceId, std::wstring& strScript)
{
    HRSRC hInfo = FindResourceW(hModule, MAKEINTRESOURCEW(nResourceId), L"REGISTRY");
    if (!hInfo)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    HGLOBAL hData = LoadResource(hModule, hInfo);
    const char* pBytes = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;
    DWORD nBytes = SizeofResource(hModule, hInfo);
    if (!pBytes)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    if (nBytes >= 2 && static_cast<unsigned char>(pBytes[0]) == 0xFF && static_cast<unsigned char>(pBytes[1]) == 0xFE) {
        strScript.assign(reinterpret_cast<const wchar_t*>(pBytes + 2), (nBytes - 2) / sizeof(wchar_t));
        return S_OK;
    }
    int nChars = MultiByteToWideChar(CP_UTF8, 0, pBytes, static_cast<int>(nBytes), nullptr, 0);
    strScript.assign(static_cast<size_t>(nChars), L'\0');
    if (nChars > 0)
        MultiByteToWideChar(CP_UTF8, 0, pBytes, static_cast<int>(nBytes), strScript.data(), nChars);
    return S_OK;
}

HRESULT ApplyRegistrarScript(const RegistrarScript& script, bool bRegister)
{
    LONG nFirstError = ERROR_SUCCESS;
    for (const RegRoot& root : script.roots) {
        for (const RegKey& key : root.keys) {
            LONG nError = bRegister ? RegisterKey(HiveKey(root.hive), key) : UnregisterKey(HiveKey(root.hive), key);
            if (nError == ERROR_SUCCESS)
                continue;
            if (bRegister)
                return HRESULT_FROM_WIN32(nError);
            if (nFirstError == ERROR_SUCCESS)
                nFirstError = nError;
        }
    }
    return HRESULT_FROM_WIN32(nFirstError);
}

HRESULT ApplyRegistrarText(const std::wstring& strScript, const RegistrarReplacements& replacements, bool bRegister)
{
    RegistrarScript script;
    std::wstring strError;
    if (!ParseRegistrarScript(strScript, replacements, script, strError)) {
        KorettaLog(L"Registrar script refused: %s", strError.c_str());
        return E_INVALIDARG;
    }
    return ApplyRegistrarScript(script, bRegister);
}
