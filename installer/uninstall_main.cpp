// Uninstall.exe: runs the uninstaller proper (Uninstall.dat beside this program) from a
// copy in a temporary folder of its own, so that it can remove this folder, waits for it
// and returns its exit code: 0 removed, 2 not removed, 3010 a restart finishes the removal.
// NSIS's own uninstaller returns as soon as it has started such a copy, so its caller (a
// management tool running "Uninstall.exe /S") could not learn how the removal ended.
// The uninstaller moves this running program into that temporary folder; what is still in
// use there when it ends goes at the next restart.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
constexpr DWORD kNotRemoved = 2;

std::wstring OwnFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    DWORD nLength = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::wstring();
    std::wstring path(szPath, nLength);
    return path.substr(0, path.rfind(L'\\'));
}

// A new, empty folder under the user's temporary folder; empty when none could be made.
std::wstring NewTemporaryFolder()
{
    wchar_t szTemp[MAX_PATH] = {};
    wchar_t szName[MAX_PATH] = {};
    // A temporary folder too long for the buffer is not written: the name would then be
    // made in the current folder, which may be the one being removed.
    const DWORD nTemp = GetTempPathW(MAX_PATH, szTemp);
    if (nTemp == 0 || nTemp >= MAX_PATH || !GetTempFileNameW(szTemp, L"lum", 0, szName))
        return std::wstring();
    DeleteFileW(szName);
    return CreateDirectoryW(szName, nullptr) ? std::wstring(szName) : std::wstring();
}

bool SilentRequested()
{
    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    bool bSilent = false;
    for (int i = 1; ppArgs && i < nArgs; ++i)
        bSilent |= lstrcmpW(ppArgs[i], L"/S") == 0;
    LocalFree(ppArgs);
    return bSilent;
}

DWORD RunAndWait(std::wstring commandLine)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return kNotRemoved;
    DWORD dwExit = kNotRemoved;
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &dwExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dwExit;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data = {};
    HANDLE hFind = FindFirstFileW((folder + L"\\*").c_str(), &data);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = FindNextFileW(hFind, &data)) {
        std::wstring path = folder + L"\\" + data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !DeleteFileW(path.c_str()))
            MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
    if (!RemoveDirectoryW(folder.c_str()))
        MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring folder = OwnFolder();
    const std::wstring temporary = NewTemporaryFolder();
    if (folder.empty() || temporary.empty())
        return kNotRemoved;
    const std::wstring copy = temporary + L"\\Uninstall.exe";
    DWORD dwExit = kNotRemoved;
    // _?= names the installation and keeps the copy from copying itself once more; it comes last, unquoted.
    if (CopyFileW((folder + L"\\Uninstall.dat").c_str(), copy.c_str(), TRUE))
        dwExit = RunAndWait(L"\"" + copy + L"\"" + (SilentRequested() ? L" /S" : L"") + L" _?=" + folder);
    RemoveFolder(temporary);
    return static_cast<int>(dwExit);
}
