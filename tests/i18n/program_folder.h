#pragma once
// Test scaffolding under Wine: a program folder of its own (a module with a string table,
// language files, optionally vnMUIDLL.dll), and private registry roots.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>

// A path of the build tree (a Unix path) as Wine names it.
inline std::wstring WinePath(const char* szUnixPath)
{
    std::wstring path;
    if (szUnixPath[0] == '/')
        path = L"Z:";
    for (const char* p = szUnixPath; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return path;
}

inline std::wstring WineEnv(const wchar_t* szName)
{
    wchar_t value[256] = {};
    return GetEnvironmentVariableW(szName, value, 256) ? std::wstring(value) : std::wstring();
}

class ProgramFolder {
public:
    ProgramFolder()
    {
        static std::atomic<int> s_nCount{0};
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_strFolder = std::wstring(temp) + L"lumeo_i18n_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                      std::to_wstring(++s_nCount) + L"\\";
        CreateDirectoryW(m_strFolder.c_str(), nullptr);
        CopyFileW(WinePath(LUMEO_TEST_MODULE_PATH).c_str(), Path(L"program.dll").c_str(), FALSE);
    }
    ~ProgramFolder()
    {
        if (m_hModule)
            FreeLibrary(m_hModule);
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((m_strFolder + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW(Path(data.cFileName).c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(m_strFolder.c_str());
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::wstring& Folder() const { return m_strFolder; }
    std::wstring Path(const std::wstring& name) const { return m_strFolder + name; }

    // The program module of the folder (loaded on first use).
    HMODULE Module()
    {
        if (!m_hModule)
            m_hModule = LoadLibraryW(Path(L"program.dll").c_str());
        return m_hModule;
    }

    void AddFile(const std::wstring& name, const std::string& content = "x")
    {
        std::ofstream(Path(name).c_str(), std::ios::binary) << content;
    }
    void AddCopy(const std::wstring& source, const std::wstring& name)
    {
        CopyFileW(source.c_str(), Path(name).c_str(), FALSE);
    }
    void AddMUILibrary() { AddCopy(WinePath(LUMEO_VNMUIDLL_PATH), L"vnMUIDLL.dll"); }
    // A library of that name without the export.
    void AddMUILibraryWithoutExport() { AddCopy(WinePath(LUMEO_TEST_MODULE_PATH), L"vnMUIDLL.dll"); }

private:
    std::wstring m_strFolder;
    HMODULE m_hModule = nullptr;
};

// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process redirected to empty keys of
// its own, so that parallel tests never see each other's language codes.
class PrivateRegistryRoots {
public:
    PrivateRegistryRoots()
    {
        m_strBase = L"Software\\LumeoTests\\i18n_" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_strBase.c_str());
        m_hUser = CreateKey((m_strBase + L"\\user").c_str());
        m_hMachine = CreateKey((m_strBase + L"\\machine").c_str());
        RegOverridePredefKey(HKEY_CURRENT_USER, m_hUser);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_hMachine);
    }
    ~PrivateRegistryRoots()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_hUser);
        RegCloseKey(m_hMachine);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_strBase.c_str());
    }
    PrivateRegistryRoots(const PrivateRegistryRoots&) = delete;
    PrivateRegistryRoots& operator=(const PrivateRegistryRoots&) = delete;

    // Writes "KVQLangCode" under SOFTWARE\<abbrev>\Lumeora of the hive; nBytes -1: the text with its terminator.
    static bool SetCode(HKEY hRoot, const std::wstring& code, int nBytes = -1, const wchar_t* szAbbrev = L"KVQ")
    {
        HKEY key = nullptr;
        const std::wstring path = std::wstring(L"SOFTWARE\\") + szAbbrev + L"\\Lumeora";
        if (RegCreateKeyExW(hRoot, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        const DWORD size = nBytes < 0 ? static_cast<DWORD>((code.size() + 1) * sizeof(wchar_t)) : nBytes;
        const bool ok = RegSetValueExW(key, L"KVQLangCode", 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                                       size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }

private:
    static HKEY CreateKey(const wchar_t* szPath)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, szPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    std::wstring m_strBase;
    HKEY m_hUser = nullptr;
    HKEY m_hMachine = nullptr;
};
