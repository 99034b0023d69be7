#pragma once
// Helpers of the Koretta tests under Wine: the build's bin folder, scratch folders,
// child processes and registry snapshots.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace koretta_test {

constexpr wchar_t kClsidText[] = L"{5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}";
constexpr wchar_t kLibidText[] = L"{A1F0C3D2-6E5B-4B47-9C8D-2E3F4A5B6C7D}";
constexpr wchar_t kIidText[] = L"{3C1D8E5A-7B2F-4E90-A6C4-5D8B9F0E1A23}";
constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kHandlersKey[] = L"*\\ShellEx\\ContextMenuHandlers";

// The build's bin folder (KORETTA_BIN_DIR is a host path; Wine shows the host's root as Z:).
inline std::wstring BinDir()
{
    std::string host = KORETTA_BIN_DIR;
    std::wstring path = L"Z:" + std::wstring(host.begin(), host.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\";
}

inline bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A fresh folder, removed with its contents when the object goes. Path() ends in a backslash.
class ScratchFolder {
public:
    ScratchFolder(const std::wstring& parent, const std::wstring& tag)
    {
        m_path = parent + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
        std::filesystem::create_directories(m_path);
    }
    explicit ScratchFolder(const std::wstring& tag) : ScratchFolder(TempDir(), tag) {}
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::wstring& Path() const { return m_path; }

    static std::wstring TempDir()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        return temp;
    }

private:
    std::wstring m_path;
};

inline std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

inline DWORD RunRegsvr32(const std::wstring& options, const std::wstring& dll)
{
    return RunAndWait(L"\"" + SystemFolder() + L"\\regsvr32.exe\" " + options + L" \"" + dll + L"\"");
}

inline bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The string data of a value; "<missing>" when absent, "<type n>" for other types.
inline std::wstring ReadString(HKEY root, const std::wstring& path, const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"<missing>";
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    LONG error = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS)
        return L"<missing>";
    if (type != REG_SZ)
        return L"<type " + std::to_wstring(type) + L">";
    return data;
}

// Every key below path (relative names, "" for path itself) and every value as
// "key|name=data", sorted, so two snapshots compare as wholes.
inline void CollectTree(HKEY key, const std::wstring& relative, std::vector<std::wstring>& lines)
{
    lines.push_back(relative);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameChars = 256;
        wchar_t data[1024] = {};
        DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes) !=
            ERROR_SUCCESS)
            break;
        std::wstring text = type == REG_SZ ? std::wstring(data) : L"<type " + std::to_wstring(type) + L">";
        lines.push_back(relative + L"|" + name + L"=" + text);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameChars = 256;
        if (RegEnumKeyExW(key, i, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY subkey = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            CollectTree(subkey, relative.empty() ? name : relative + L"\\" + name, lines);
            RegCloseKey(subkey);
        }
    }
}

inline std::vector<std::wstring> TreeOf(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> lines;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return lines;
    CollectTree(key, L"", lines);
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    return lines;
}

inline std::vector<std::wstring> Sorted(std::vector<std::wstring> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

// What registration must leave under HKCR for a module at modulePath.
inline std::vector<std::wstring> ExpectedClassTree(const std::wstring& modulePath)
{
    return Sorted({L"", L"|=ContextMenuExt Class", L"InprocServer32", L"InprocServer32|=" + modulePath,
                   L"InprocServer32|ThreadingModel=Apartment", L"ProgID", L"ProgID|=Koretta.ContextMenuExt.1",
                   L"Programmable", L"TypeLib", std::wstring(L"TypeLib|=") + kLibidText, L"VersionIndependentProgID",
                   L"VersionIndependentProgID|=Koretta.ContextMenuExt"});
}

}  // namespace koretta_test
