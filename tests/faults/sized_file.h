#pragma once
// Files of a chosen path length and size for fault tests, made in the temporary folder and
// removed again. Sizes are set by extending the file (sparse where the file system allows),
// so a file of more than 2 GiB costs no disk space and no time. Long paths are made with the
// "\\?\" form on Windows, which has no 260-character limit.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#endif

class SizedFile {
public:
    // A file whose full path is exactly `nPathChars` characters long, ending in `ext`.
    SizedFile(size_t nPathChars, int64_t nSize, const std::wstring& ext = L".pdf")
    {
        std::wstring folder = TempFolder() + L"lumeo_sized_" + std::to_wstring(Pid()) + L"_" +
                              std::to_wstring(++Counter());
        if (!MakeFolder(folder))
            return;
        m_folders.push_back(folder);
        // Folders of at most 200 characters until the rest fits one file name.
        size_t left = 0;
        for (;;) {
            left = nPathChars - std::min(nPathChars, folder.size());  // separator included
            if (left < 2 + ext.size())
                return;
            if (left - 1 <= 200)
                break;
            folder += Sep() + std::wstring(std::min<size_t>(200, left - 3 - ext.size()), L'd');
            if (!MakeFolder(folder))
                return;
            m_folders.push_back(folder);
        }
        m_path = folder + Sep() + std::wstring(left - 1 - ext.size(), L'f') + ext;
        m_bMade = Extend(m_path, nSize);
    }
    ~SizedFile()
    {
        Remove(m_path);
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            RemoveFolder(*it);
    }
    SizedFile(const SizedFile&) = delete;
    SizedFile& operator=(const SizedFile&) = delete;

    bool Made() const { return m_bMade; }
    const std::wstring& Path() const { return m_path; }

    static std::wstring TempFolder()
    {
#ifdef _WIN32
        wchar_t sz[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, sz);
        return sz;
#else
        std::string t = std::filesystem::temp_directory_path().string();
        if (t.empty() || t.back() != '/')
            t += '/';
        return std::wstring(t.begin(), t.end());
#endif
    }

private:
#ifdef _WIN32
    static std::wstring Long(const std::wstring& path) { return L"\\\\?\\" + path; }
    static std::wstring Sep() { return L"\\"; }
    static unsigned long Pid() { return GetCurrentProcessId(); }
    static bool MakeFolder(const std::wstring& p) { return CreateDirectoryW(Long(p).c_str(), nullptr) != 0; }
    static void RemoveFolder(const std::wstring& p) { RemoveDirectoryW(Long(p).c_str()); }
    static void Remove(const std::wstring& p)
    {
        if (!p.empty())
            DeleteFileW(Long(p).c_str());
    }
    static bool Extend(const std::wstring& p, int64_t nSize)
    {
        HANDLE h = CreateFileW(Long(p).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER at;
        at.QuadPart = nSize;
        const bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
        CloseHandle(h);
        return ok;
    }
#else
    static std::string Narrow(const std::wstring& p) { return std::string(p.begin(), p.end()); }
    static std::wstring Sep() { return L"/"; }
    static long Pid() { return static_cast<long>(getpid()); }
    static bool MakeFolder(const std::wstring& p) { return mkdir(Narrow(p).c_str(), 0700) == 0; }
    static void RemoveFolder(const std::wstring& p) { rmdir(Narrow(p).c_str()); }
    static void Remove(const std::wstring& p)
    {
        if (!p.empty())
            unlink(Narrow(p).c_str());
    }
    static bool Extend(const std::wstring& p, int64_t nSize)
    {
        FILE* f = fopen(Narrow(p).c_str(), "wb");
        if (!f)
            return false;
        fclose(f);
        return truncate(Narrow(p).c_str(), static_cast<off_t>(nSize)) == 0;
    }
#endif
    static int& Counter()
    {
        static int n = 0;
        return n;
    }

    std::wstring m_path;
    std::vector<std::wstring> m_folders;
    bool m_bMade = false;
};
