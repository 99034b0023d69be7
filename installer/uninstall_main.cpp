// Uninstall.exe: runs the uninstaller proper (Uninstall.dat beside this program) from a
// copy in a folder of its own, so that it can remove this folder, waits for it and
// returns its exit code: 0 removed, 2 not removed, 3010 a restart finishes the removal.
// NSIS's own uninstaller returns as soon as it has started such a copy, so its caller (a
// management tool running "Uninstall.exe /S") could not learn how the removal ended.
//
// This program runs elevated, so no user may aim it: the folder is new, randomly named,
// under the Windows temporary folder and only SYSTEM and Administrators may change it
// from its creation on. The copy started is the file written (same file identity), held
// open against replacement until the uninstaller has started. Afterwards exactly the two
// names placed there are removed, opened without following links: the copy, and this
// program, which the uninstaller moves there under kMovedName. This program is still
// running, so it and the folder go at the next restart.
#include <windows.h>
#include <bcrypt.h>
#include <sddl.h>
#include <shellapi.h>

#include <string>

namespace {
constexpr DWORD kNotRemoved = 2;
constexpr wchar_t kCopyName[] = L"Uninstall.exe";
constexpr wchar_t kMovedName[] = L"Lumeo Uninstall.exe";  // the name lumeo.nsi moves this program to
// Owner Administrators; SYSTEM and Administrators full control, nothing inherited from above.
constexpr wchar_t kProtectedFolder[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

std::wstring FolderOf(const wchar_t* pszPath, DWORD nLength)
{
    const std::wstring path(pszPath, nLength);
    const size_t nSlash = path.rfind(L'\\');
    return nSlash == std::wstring::npos ? std::wstring() : path.substr(0, nSlash);
}

std::wstring OwnFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    const DWORD nLength = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    return nLength == 0 || nLength >= MAX_PATH ? std::wstring() : FolderOf(szPath, nLength);
}

// The Windows folder's Temp, which users cannot list; never the user's %TEMP%.
std::wstring RandomFolderName()
{
    wchar_t szWindows[MAX_PATH] = {};
    const UINT nWindows = GetSystemWindowsDirectoryW(szWindows, MAX_PATH);
    unsigned char random[16] = {};
    if (nWindows == 0 || nWindows >= MAX_PATH ||
        !BCRYPT_SUCCESS(BCryptGenRandom(nullptr, random, sizeof(random), BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return std::wstring();
    std::wstring name = std::wstring(szWindows, nWindows) + L"\\Temp\\Lumeo-";
    for (unsigned char byte : random)
        name += L"0123456789abcdef"[byte >> 4], name += L"0123456789abcdef"[byte & 15];
    return name;
}

// Creates the folder with its protected DACL in one step; fails when the name exists.
bool CreateProtectedFolder(const std::wstring& folder)
{
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolder, SDDL_REVISION_1,
                                                              &security.lpSecurityDescriptor, nullptr))
        return false;
    const bool bCreated = CreateDirectoryW(folder.c_str(), &security) != FALSE;
    LocalFree(security.lpSecurityDescriptor);
    return bCreated;
}

// Opens a name without following a link at its end: a link is opened, not its target.
HANDLE OpenNoFollow(const std::wstring& path, DWORD dwAccess, DWORD dwShare, DWORD dwCreation)
{
    return CreateFileW(path.c_str(), dwAccess, dwShare, nullptr, dwCreation,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

struct FileIdentity {
    DWORD dwVolume = 0;
    DWORD dwHigh = 0;
    DWORD dwLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

bool IdentityOf(HANDLE hFile, FileIdentity& identity)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(hFile, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

// Writes the uninstaller into a new file of the folder; its identity on success.
bool WriteCopy(const std::wstring& source, const std::wstring& copy, FileIdentity& identity)
{
    HANDLE hSource = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hSource == INVALID_HANDLE_VALUE)
        return false;
    HANDLE hCopy = OpenNoFollow(copy, GENERIC_WRITE, 0, CREATE_NEW);
    bool bWritten = hCopy != INVALID_HANDLE_VALUE && IdentityOf(hCopy, identity);
    char buffer[65536];
    DWORD nRead = 0;
    while (bWritten && ReadFile(hSource, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0) {
        DWORD nWritten = 0;
        bWritten = WriteFile(hCopy, buffer, nRead, &nWritten, nullptr) && nWritten == nRead;
    }
    CloseHandle(hSource);
    if (hCopy != INVALID_HANDLE_VALUE)
        CloseHandle(hCopy);
    return bWritten;
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

DWORD RunAndWait(const std::wstring& program, std::wstring commandLine)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return kNotRemoved;
    DWORD dwExit = kNotRemoved;
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &dwExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dwExit;
}

// Deletes one name of the folder, a link itself rather than what it points to. What
// cannot go now (this running program) goes at the next restart: the folder is ours alone,
// so the name still means the same file then.
void RemoveName(const std::wstring& path)
{
    HANDLE hFile = OpenNoFollow(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool bDeleted = SetFileInformationByHandle(hFile, FileDispositionInfo, &disposition, sizeof(disposition));
    CloseHandle(hFile);
    if (!bDeleted)
        MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring installation = OwnFolder();
    const std::wstring folder = RandomFolderName();
    if (installation.empty() || folder.empty() || !CreateProtectedFolder(folder))
        return kNotRemoved;
    const std::wstring copy = folder + L"\\" + kCopyName;
    DWORD dwExit = kNotRemoved;
    FileIdentity written;
    FileIdentity opened;
    if (WriteCopy(installation + L"\\Uninstall.dat", copy, written)) {
        // Held without leave to write, rename or delete until the uninstaller has ended.
        HANDLE hHeld = OpenNoFollow(copy, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        // _?= names the installation and keeps the copy from copying itself once more; it comes last, unquoted.
        const std::wstring arguments = (SilentRequested() ? L" /S" : L"") + std::wstring(L" _?=") + installation;
        if (hHeld != INVALID_HANDLE_VALUE && IdentityOf(hHeld, opened) && opened == written)
            dwExit = RunAndWait(copy, L"\"" + copy + L"\"" + arguments);
        if (hHeld != INVALID_HANDLE_VALUE)
            CloseHandle(hHeld);
    }
    RemoveName(copy);
    RemoveName(folder + L"\\" + kMovedName);
    if (!RemoveDirectoryW(folder.c_str()))
        MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return static_cast<int>(dwExit);
}
