// LumeoSetup.exe under Wine: a silent install places the deliverables in one folder,
// registers Koretta, adds the shortcut and the Add/Remove Programs entry; installing
// again works, also while Koretta.dll is loaded; the silent uninstall, and a setup
// whose registration fails, leave nothing of Lumeo behind (files of others stay); a failed
// update leaves exactly the first installation; both installers speak the user's language.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/folder_rights.h"
#include "tests/koretta/koretta_test_support.h"
#include "tests/koretta/shell_selection.h"

using namespace koretta_test;

namespace {
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumeo";
const std::wstring kClassKey = std::wstring(L"CLSID\\") + kClsidText;
const std::wstring kLanguageKey = L"SOFTWARE\\KVQ\\Lumeora";

std::wstring CommonProgramsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// The files of bin/ that the setup carries.
std::vector<std::wstring> DeliveredFiles()
{
    std::vector<std::wstring> names = {L"Koretta.dll"};
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(BinDir()))) {
        std::wstring name = entry.path().filename().wstring();
        bool bLanguageFile = name.rfind(L"LOCAL_", 0) == 0 && entry.path().extension() == L".dat";
        bool bHelpFile = name.rfind(L"HELP_", 0) == 0 && entry.path().extension() == L".chm";
        if (name == L"Lumeo.exe" || name == L"LumeoCmd.exe" || name == L"vnMUIDLL.dll" || name == L"Lumeo.Ver" ||
            bLanguageFile || bHelpFile)
            names.push_back(name);
    }
    return names;
}

// The stand-in beside this program takes Lumeo.exe's place, so the test sees how Koretta starts it.
bool PutStandIn(const std::wstring& dir)
{
    wchar_t szOwn[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szOwn, MAX_PATH);
    const std::wstring standIn = std::filesystem::path(szOwn).replace_filename(L"lumeo_standin.exe").wstring();
    return CopyFileW(standIn.c_str(), (dir + L"\\Lumeo.exe").c_str(), FALSE);
}

void RemoveFolder(const std::wstring& dir)
{
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(dir), ec);
}

std::wstring SetupPath() { return BinDir() + L"LumeoSetup.exe"; }

// A folder for the installation; /D= must come last and unquoted.
std::wstring InstallFolder(const wchar_t* pszTag)
{
    return std::wstring(L"C:\\LumeoSetupTest_") + pszTag + L"_" + std::to_wstring(GetCurrentProcessId());
}
DWORD InstallSilently(const std::wstring& dir) { return RunAndWait(L"\"" + SetupPath() + L"\" /S /D=" + dir); }
// As a caller of the Add/Remove Programs entry runs it: the exit code is the uninstall's.
DWORD UninstallSilently(const std::wstring& dir) { return RunAndWait(L"\"" + dir + L"\\Uninstall.exe\" /S"); }

// Nothing of Lumeo in the folder, none of the registration's keys, no uninstall entry.
void ExpectNothingLeft(const std::wstring& dir)
{
    for (const std::wstring& name : DeliveredFiles())
        EXPECT_FALSE(FileExists(dir + L"\\" + name)) << std::string(name.begin(), name.end());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Koretta.ContextMenuExt"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Koretta.ContextMenuExt.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"TypeLib\\") + kLibidText));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), L"<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(FileExists(CommonProgramsFolder() + L"\\Lumeo\\Lumeo.lnk"));
    EXPECT_FALSE(FolderExists(CommonProgramsFolder() + L"\\Lumeo"));
}

// A host path as Wine names it; a link to a folder, made by the host (Wine makes none),
// which Wine shows as a reparse point, as Windows shows a junction.
std::wstring WinePath(std::string host)
{
    std::replace(host.begin(), host.end(), '/', '\\');
    return L"Z:" + std::wstring(host.begin(), host.end());
}
// Removes host paths as the host does: a link goes as a link, its target stays.
// (std::filesystem under Wine follows a link into its target and leaves the link.)
// rm works through its arguments in order, so a marker named last is gone only once
// rm has finished with every path: waiting for paths that may not exist is no wait.
void RemoveOnHost(const std::vector<std::string>& paths)
{
    const std::string marker = paths.front() + "_removed";
    std::ofstream(std::filesystem::path(WinePath(marker))) << "marker";
    std::string command = "Z:\\bin\\rm -rf";
    for (const std::string& path : paths)
        command += " " + path;
    command += " " + marker;
    ASSERT_TRUE(StartDetached(std::wstring(command.begin(), command.end())));
    for (int i = 0; i < 300 && GetFileAttributesW(WinePath(marker).c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    ASSERT_EQ(GetFileAttributesW(WinePath(marker).c_str()), INVALID_FILE_ATTRIBUTES) << "rm did not finish";
}
bool MakeFolderLink(const std::string& link, const std::string& target)
{
    const std::string command = "Z:\\bin\\ln -s " + target + " " + link;
    StartDetached(std::wstring(command.begin(), command.end()));
    for (int i = 0; i < 100 && !FolderExists(WinePath(link)); ++i)
        Sleep(100);
    return (GetFileAttributesW(WinePath(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
DWORD Msiexec(const std::wstring& arguments)
{
    return RunAndWait(L"\"" + SystemFolder() + L"\\msiexec.exe\" " + arguments + L" /qn", 300000);
}
std::vector<std::wstring> EntriesOf(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
        names.push_back(entry.path().filename().wstring());
    return names;
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

// msiexec with a verbose log: the exit code and the log, its text as ASCII.
std::pair<DWORD, std::string> MsiexecLogged(const std::wstring& arguments)
{
    const std::wstring log = ScratchFolder::TempDir() + L"lumeo_msiexec_" + std::to_wstring(GetCurrentProcessId()) + L".log";
    const DWORD exitCode = Msiexec(arguments + L" /l*v \"" + log + L"\"");
    std::ifstream in(std::filesystem::path(log), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::erase(text, '\0');  // a UTF-16 log read as bytes
    return {exitCode, text};
}
bool Contains(const std::string& text, const char* pszPart) { return text.find(pszPart) != std::string::npos; }

// Only administrators may change the folder. Wine keeps of a descriptor only the owner (the
// account running setup, an administrator) and the file mode: there the protected folder
// shows no entry for everyone, where a folder made without a descriptor lets everyone read.
void ExpectProtected(const std::wstring& folder)
{
    const std::wstring sddl = SecurityDescriptorText(folder);
    const bool bWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    EXPECT_TRUE(OnlyAdministratorsMayChange(sddl, bWine ? AdministratorAccountSid() : L"") &&
                (!bWine || sddl.find(L";WD)") == std::wstring::npos))
        << Utf8(folder) << ": " << Utf8(sddl);
}
// A folder everyone may change; Wine makes one only from the host's file mode.
bool MakeOpenFolder(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    StartDetached(L"Z:\\bin\\sh -c \"chmod 777 \\\"$WINEPREFIX/drive_c/" + folder.substr(3) + L"\\\"\"");
    for (int i = 0; i < 100 && OnlyAdministratorsMayChange(SecurityDescriptorText(folder), AdministratorAccountSid()); ++i)
        Sleep(100);
    return !OnlyAdministratorsMayChange(SecurityDescriptorText(folder), AdministratorAccountSid());
}

// The values of a registry key (or the one named), put back as they were when the
// object goes.
class SavedKey {
public:
    SavedKey(HKEY root, const std::wstring& path, const wchar_t* pszOnly = nullptr)
        : m_root(root), m_path(path), m_only(pszOnly ? pszOnly : L"")
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        m_bExisted = true;
        for (DWORD i = 0;; ++i) {
            wchar_t name[512] = {};
            DWORD nameChars = 512;
            DWORD type = 0;
            DWORD bytes = 0;
            if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
                break;
            Value value{name, type, std::vector<BYTE>(bytes)};
            nameChars = 512;
            RegEnumValueW(key, i, name, &nameChars, nullptr, &type, value.data.data(), &bytes);
            if (m_only.empty() || value.name == m_only)
                m_values.push_back(value);
        }
        RegCloseKey(key);
    }
    ~SavedKey()
    {
        if (!m_bExisted) {
            RegDeleteTreeW(m_root, m_path.c_str());
            return;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (!m_only.empty())
            RegDeleteValueW(key, m_only.c_str());
        for (const Value& value : m_values)
            RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    HKEY m_root;
    std::wstring m_path;
    std::wstring m_only;
    bool m_bExisted = false;
    std::vector<Value> m_values;
};

const std::wstring kSessionManagerKey = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

// Whether a file ending in `path` is to be deleted or moved at the next restart.
bool IsPendingAtRestart(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD bytes = 0;
    bool bPending = false;
    if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
        // Pairs of source and target; a deletion has an empty target.
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 2, L'\0');
        RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &bytes);
        for (size_t at = 0, n = 0; at < bytes / sizeof(wchar_t); at += n + 1) {
            n = wcslen(&data[at]);
            bPending |= n >= path.size() && _wcsicmp(&data[at] + n - path.size(), path.c_str()) == 0;
        }
    }
    RegCloseKey(key);
    return bPending;
}

// The processes running a program file of that name.
std::vector<DWORD> ProcessesOf(const wchar_t* pszExe)
{
    std::vector<DWORD> ids;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32FirstW(hSnapshot, &entry); bMore; bMore = Process32NextW(hSnapshot, &entry))
        if (_wcsicmp(entry.szExeFile, pszExe) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(hSnapshot);
    return ids;
}

// Starts a program (with one argument, or none) as a user whose language is that of a
// locale and returns the caption of its first window, blanks at the end dropped; the
// program is then ended. Wine takes the user's language from LC_ALL when a program
// starts from Linux, so a shell starts it through the tree's Wine launcher.
std::wstring FirstCaptionIn(const std::wstring& program, const std::wstring& argument, const std::string& locale,
                           bool bWithText = false)
{
    const std::wstring exe = program.substr(program.rfind(L'\\') + 1);
    const wchar_t* pszExe = exe.c_str();
    const std::string launcher = std::string(LUMEO_SOURCE_DIR) + "/tools/wine-run";
    std::string command = "LC_ALL=" + locale + ".UTF-8 exec '" + launcher + "' '" + Utf8(program) + "'";
    if (!argument.empty())
        command += " '" + Utf8(argument) + "'";
    command += " 2>/dev/null";  // the shell's complaints about locales it lacks
    std::wstring line = L"Z:\\bin\\sh -c \"" + std::wstring(command.begin(), command.end()) + L"\"";
    if (!StartDetached(line))
        return L"(not started)";

    struct Search {
        std::vector<DWORD> ids;
        std::wstring caption;
        HWND hWnd = nullptr;
    } search;
    for (int i = 0; i < 300 && search.caption.empty(); ++i) {
        search.ids = ProcessesOf(pszExe);
        EnumWindows(
            [](HWND hWnd, LPARAM lParam) -> BOOL {
                auto* pSearch = reinterpret_cast<Search*>(lParam);
                DWORD processId = 0;
                GetWindowThreadProcessId(hWnd, &processId);
                wchar_t caption[256] = {};
                if (std::ranges::count(pSearch->ids, processId) && IsWindowVisible(hWnd) &&
                    GetWindowTextW(hWnd, caption, 256))
                    pSearch->caption = caption, pSearch->hWnd = hWnd;
                return pSearch->caption.empty();
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.caption.empty())
            Sleep(100);
    }
    wchar_t szText[1024] = {};  // a message box's text, in its control 0xFFFF
    if (bWithText && search.hWnd && GetDlgItemTextW(search.hWnd, 0xFFFF, szText, 1024))
        search.caption += std::wstring(L" ") + szText;
    for (DWORD id : ProcessesOf(pszExe)) {
        if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(hProcess, 1);
            WaitForSingleObject(hProcess, 10000);
            CloseHandle(hProcess);
        }
    }
    search.caption.erase(search.caption.find_last_not_of(L' ') + 1);
    return search.caption;
}

// What Explorer does with the installed extension: create it from its registration, offer
// the item for a PDF selection and run it. Returns the command line the program recorded.
std::wstring RunInstalledMenu(const std::wstring& dir)
{
    using Microsoft::WRL::ComPtr;
    const CLSID kClsid = {0x5B7E21C4, 0x93A0, 0x4F6D, {0x8E, 0x12, 0x7C, 0x44, 0xD0, 0xA9, 0xB3, 0xF1}};
    std::wstring pdf = dir + L"\\Quarterly Report.pdf";
    std::ofstream(std::filesystem::path(pdf)) << "%PDF-1.4\n";
    std::wstring record = dir + L"\\lumeo_invocation.txt";
    std::wstring commandLine;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ComPtr<IShellExtInit> init;
        ComPtr<IContextMenu> menu;
        EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init)), S_OK);
        CSelection selection({pdf, dir + L"\\Uninstall.exe"});
        EXPECT_TRUE(init && init->Initialize(nullptr, &selection, nullptr) == S_OK && init.As(&menu) == S_OK);
        if (menu) {
            HMENU hMenu = CreatePopupMenu();
            EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 1, 100, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
            wchar_t szText[64] = {};
            GetMenuStringW(hMenu, 0, szText, 64, MF_BYPOSITION);
            EXPECT_STREQ(szText, L"Lumeo");
            DestroyMenu(hMenu);
            CMINVOKECOMMANDINFO invoke = {};
            invoke.cbSize = sizeof(invoke);
            EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
            for (int i = 0; i < 300 && !FileExists(record); ++i)
                Sleep(100);
            EXPECT_TRUE(FileExists(record)) << "Lumeo.exe was not started";
            std::ifstream in(std::filesystem::path(record), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            commandLine = text.substr(0, text.find(L'\n'));
        }
    }
    // Unloads Koretta.dll from this process, so the uninstaller can remove it.
    CoUninitialize();
    DeleteFileW(pdf.c_str());
    DeleteFileW(record.c_str());
    return commandLine;
}
}  // namespace

TEST(KorettaInstaller, SilentInstallAgainThenUninstallLeavesNothingBehind)
{
    ASSERT_TRUE(FileExists(SetupPath())) << "LumeoSetup.exe not built";
    const std::wstring dir = InstallFolder(L"again");
    const std::wstring shortcut = CommonProgramsFolder() + L"\\Lumeo\\Lumeo.lnk";

    // A folder a user made beforehand, with a DLL that Lumeo.exe would load, is refused,
    // and so is a link to such a folder.
    const std::string planted = "/tmp/lumeo_planted_" + std::to_string(GetCurrentProcessId());
    const std::vector<std::string> plantedPaths = {planted, planted + "_link", planted + "_temp", planted + "_templink"};
    // A run killed part-way leaves these; with a link left there, ln would make its link inside the target.
    ASSERT_NO_FATAL_FAILURE(RemoveOnHost(plantedPaths));
    ASSERT_TRUE(CreateDirectoryW(WinePath(planted).c_str(), nullptr));
    for (const wchar_t* pszName : {L"\\Lumeo.exe", L"\\VERSION.dll"})
        std::ofstream(std::filesystem::path(WinePath(planted) + pszName)) << "planted";
    ASSERT_TRUE(MakeFolderLink(planted + "_link", planted));
    for (const std::string& folder : {planted, planted + "_link"}) {
        EXPECT_EQ(InstallSilently(WinePath(folder)), 2u);
        EXPECT_EQ(EntriesOf(WinePath(planted)), (std::vector<std::wstring>{L"Lumeo.exe", L"VERSION.dll"}));
    }
    ASSERT_EQ(InstallSilently(dir), 0u);
    // Installing over an installation replaces it, unless someone else's file lies there.
    ASSERT_EQ(InstallSilently(dir), 0u);
    std::ofstream(std::filesystem::path(dir + L"\\VERSION.dll")) << "planted";
    EXPECT_EQ(InstallSilently(dir), 2u);
    ASSERT_TRUE(DeleteFileW((dir + L"\\VERSION.dll").c_str()));

    for (const std::wstring& name : DeliveredFiles())
        EXPECT_TRUE(FileExists(dir + L"\\" + name)) << std::string(name.begin(), name.end());
    EXPECT_TRUE(FileExists(dir + L"\\Uninstall.exe"));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", nullptr), dir + L"\\Koretta.dll");
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt", nullptr), kClsidText);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), L"Lumeo");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Lumeo");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"), L"\"" + dir + L"\\Uninstall.exe\"");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), dir);
    EXPECT_TRUE(FileExists(shortcut));

    ASSERT_TRUE(PutStandIn(dir));
    const std::wstring commandLine = RunInstalledMenu(dir), tail = L" \"" + dir + L"\\Quarterly Report.pdf\"";
    EXPECT_TRUE(commandLine.size() > tail.size() && commandLine.ends_with(tail)) << Utf8(commandLine);

    // Files others put there later stay, and so does the folder.
    for (const wchar_t* pszOther : {L"\\notes.txt", L"\\LOCAL_XX.dat"})
        std::ofstream(std::filesystem::path(dir + pszOther)) << "someone's";
    // The user's temporary folder is a link the user aimed at a folder of their choice:
    // the uninstaller's copy never goes there.
    ASSERT_TRUE(CreateDirectoryW(WinePath(planted + "_temp").c_str(), nullptr) &&
                MakeFolderLink(planted + "_templink", planted + "_temp"));
    wchar_t szTmp[MAX_PATH] = {};  // TMP comes first for GetTempPath
    GetEnvironmentVariableW(L"TMP", szTmp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", WinePath(planted + "_templink").c_str());
    EXPECT_EQ(UninstallSilently(dir), 0u);
    SetEnvironmentVariableW(L"TMP", szTmp[0] ? szTmp : nullptr);
    EXPECT_TRUE(EntriesOf(WinePath(planted + "_temp")).empty());
    ExpectNothingLeft(dir);
    EXPECT_TRUE(FileExists(dir + L"\\notes.txt") && FileExists(dir + L"\\LOCAL_XX.dat"));
    EXPECT_FALSE(FileExists(dir + L"\\Uninstall.exe") || FileExists(dir + L"\\Uninstall.dat"));
    RemoveFolder(dir);
    RemoveOnHost(plantedPaths);
}

TEST(KorettaInstaller, AFailedSetupLeavesNothingAndAFailedUpdateTheFirstInstallation)
{
    ASSERT_TRUE(FileExists(SetupPath())) << "LumeoSetup.exe not built";
    const std::wstring dir = InstallFolder(L"refused");
    {
        // Without the shell's approved list Koretta refuses to register.
        SavedKey approved(HKEY_LOCAL_MACHINE, kApprovedKey);
        ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApprovedKey), ERROR_SUCCESS);
        EXPECT_EQ(InstallSilently(dir), 2u);
    }
    ExpectNothingLeft(dir);
    EXPECT_FALSE(FolderExists(dir));

    // The first installation runs the stand-in as its Lumeo.exe; both updates fail.
    ASSERT_EQ(InstallSilently(dir), 0u);
    ASSERT_TRUE(PutStandIn(dir));
    // A Koretta.dll opened without leave to rename it.
    HANDLE hLocked = CreateFileW((dir + L"\\Koretta.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hLocked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(InstallSilently(dir), 2u);
    CloseHandle(hLocked);
    // An earlier version without HELP_KR.chm: the failed update takes away the one it placed.
    ASSERT_TRUE(DeleteFileW((dir + L"\\HELP_KR.chm").c_str()));
    {
        SavedKey approved(HKEY_LOCAL_MACHINE, kApprovedKey);
        ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApprovedKey), ERROR_SUCCESS);
        EXPECT_EQ(InstallSilently(dir), 2u);
    }
    for (const std::wstring& name : DeliveredFiles())
        EXPECT_EQ(FileExists(dir + L"\\" + name), name != L"HELP_KR.chm") << std::string(name.begin(), name.end());
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Lumeo");
    const std::wstring restoredCommand = RunInstalledMenu(dir);
    EXPECT_NE(restoredCommand.find(L"\\Quarterly Report.pdf\""), std::wstring::npos)
        << std::string(restoredCommand.begin(), restoredCommand.end());

    EXPECT_EQ(UninstallSilently(dir), 0u);
    ExpectNothingLeft(dir);
    EXPECT_FALSE(FolderExists(dir));
    RemoveFolder(dir);
}

TEST(KorettaInstaller, AKorettaHeldByExplorerIsMovedAsideAndTheRestartAnnounced)
{
    ASSERT_TRUE(FileExists(SetupPath())) << "LumeoSetup.exe not built";
    const std::wstring dir = InstallFolder(L"held");
    SavedKey pending(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations");
    ASSERT_EQ(InstallSilently(dir), 0u);
    // This process stands for Explorer, which keeps the extension loaded.
    HMODULE hHeld = LoadLibraryW((dir + L"\\Koretta.dll").c_str());
    ASSERT_NE(hHeld, nullptr);

    // 3010: installed, a restart finishes the update.
    EXPECT_EQ(InstallSilently(dir), 3010u);
    EXPECT_TRUE(FileExists(dir + L"\\Koretta.dll"));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", nullptr), dir + L"\\Koretta.dll");
    EXPECT_TRUE(FileExists(dir + L"\\Uninstall.exe"));
    std::vector<std::wstring> asideFiles;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(dir)))
        if (entry.path().extension() == L".tmp")
            asideFiles.push_back(entry.path().wstring());
    ASSERT_EQ(asideFiles.size(), 1u) << "the earlier files, moved aside";
    EXPECT_TRUE(IsPendingAtRestart(asideFiles[0] + L"\\Koretta.dll")) << "the moved copy goes at the next restart";
    FreeLibrary(hHeld);

    // Uninstalling while Explorer holds Koretta.dll: a restart finishes it, and the caller learns so.
    hHeld = LoadLibraryW((dir + L"\\Koretta.dll").c_str());
    ASSERT_NE(hHeld, nullptr);
    EXPECT_EQ(UninstallSilently(dir), 3010u);
    EXPECT_TRUE(IsPendingAtRestart(dir + L"\\Koretta.dll") && !FileExists(dir + L"\\Lumeo.exe"));
    FreeLibrary(hHeld);
    RemoveFolder(dir);
}

TEST(KorettaInstaller, SetupAndUninstallerSpeakTheUsersLanguage)
{
    ASSERT_TRUE(FileExists(SetupPath())) << "LumeoSetup.exe not built";
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "en_US"), L"Lumeo Setup");
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "de_DE"), L"Installation von Lumeo");
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "fr_FR"), L"Installation de Lumeo");
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "ja_JP"), L"Lumeo \u30BB\u30C3\u30C8\u30A2\u30C3\u30D7");
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "ko_KR"), L"Lumeo \uC124\uCE58");
    // A language the product does not speak: English.
    EXPECT_EQ(FirstCaptionIn(SetupPath(), L"", "es_ES"), L"Lumeo Setup");

    // /LANGUAGE sets the language of every user; a code Lumeo has no files for is refused.
    const std::wstring dir = InstallFolder(L"language");
    EXPECT_EQ(RunAndWait(L"\"" + SetupPath() + L"\" /S /LANGUAGE=XX /D=" + dir), 2u);
    ASSERT_EQ(RunAndWait(L"\"" + SetupPath() + L"\" /S /LANGUAGE=JP /D=" + dir), 0u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kLanguageKey, L"KVQLangCode"), L"JP");
    const auto [msiCode, msiLog] = MsiexecLogged(L"/i \"" + BinDir() + L"LumeoSetup.msi\"");
    EXPECT_EQ(msiCode, 1603u);  // the MSI refuses to install over it, and says why
    EXPECT_TRUE(Contains(msiLog, "Lumeo is installed on this computer by LumeoSetup.exe.")) << msiLog;
    const std::wstring uninstaller = dir + L"\\Uninstall.exe";
    EXPECT_EQ(FirstCaptionIn(uninstaller, L"_?=" + dir, "ja_JP"),
              L"Lumeo \u30A2\u30F3\u30A4\u30F3\u30B9\u30C8\u30FC\u30EB");
    EXPECT_EQ(FirstCaptionIn(uninstaller, L"_?=" + dir, "de_DE"), L"Deinstallation von Lumeo");
    EXPECT_EQ(UninstallSilently(dir), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLanguageKey));
    RemoveFolder(dir);
}

namespace {
// The Apps & features entries named Lumeo: their versions, or their key names.
std::vector<std::wstring> LumeoEntries(bool bKeyNames = false)
{
    std::vector<std::wstring> found;
    const std::wstring root = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    for (const std::wstring& line : TreeOf(HKEY_LOCAL_MACHINE, root))
        if (line.ends_with(L"|DisplayName=Lumeo") && line.find(L'\\') == std::wstring::npos) {
            const std::wstring key = line.substr(0, line.find(L'|'));
            found.push_back(bKeyNames ? key : ReadString(HKEY_LOCAL_MACHINE, root + key, L"DisplayVersion"));
        }
    return found;
}

// Koretta's keys as they stand, paths included.
std::vector<std::vector<std::wstring>> RegistrationKeys()
{
    std::vector<std::vector<std::wstring>> keys;
    for (const std::wstring& key : {kClassKey, std::wstring(L"Koretta.ContextMenuExt"),
                                    std::wstring(L"Koretta.ContextMenuExt.1"), std::wstring(L"TypeLib\\") + kLibidText,
                                    std::wstring(L"Interface\\") + kIidText, std::wstring(kHandlersKey)})
        keys.push_back(TreeOf(HKEY_CLASSES_ROOT, key));
    keys.push_back({ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText)});
    return keys;
}
}  // namespace

TEST(KorettaInstaller, BothInstallersTakeOnlyFoldersOnlyAdministratorsMayChange)
{
    const std::wstring msi = L"\"" + BinDir() + L"LumeoSetup.msi\"";
    SavedKey approved(HKEY_LOCAL_MACHINE, kApprovedKey);
    // The missing folders above the program folder are made, and protected as it is.
    const std::wstring top = InstallFolder(L"above");
    for (const wchar_t* pszBelow : {L"\\Tools\\Lumeo", L"\\Msi\\Lumeo"}) {
        const std::wstring dir = top + pszBelow;
        const bool bMsi = pszBelow[1] == L'M';
        ASSERT_EQ(bMsi ? Msiexec(L"/i " + msi + L" INSTALLFOLDER=\"" + dir + L"\"") : InstallSilently(dir), 0u);
        for (const std::wstring& folder : {top, dir.substr(0, dir.rfind(L'\\')), dir})
            ExpectProtected(folder);
        EXPECT_EQ(bMsi ? Msiexec(L"/x " + msi) : UninstallSilently(dir), 0u);
    }
    // A folder above that users may change, a path with "..", and for the MSI a folder that
    // exists without an installation of it: refused, nothing made.
    const std::wstring open = InstallFolder(L"open");
    ASSERT_TRUE(MakeOpenFolder(open)) << Utf8(SecurityDescriptorText(open));
    // One a user made where the program folder is to go, after setup looked, is not taken over.
    const HMODULE hHelper = LoadLibraryW((BinDir() + L"LumeoSetupHelper.dll").c_str());
    using PrepareFolder = int (*)(const wchar_t*, wchar_t*, int);
    const auto prepareFolder =
        reinterpret_cast<PrepareFolder>(reinterpret_cast<void*>(GetProcAddress(hHelper, "PrepareFolder")));
    ASSERT_NE(prepareFolder, nullptr);
    wchar_t problem[MAX_PATH] = {};
    EXPECT_EQ(prepareFolder(open.c_str(), problem, MAX_PATH), 2);
    EXPECT_EQ(problem, open);
    EXPECT_FALSE(OnlyAdministratorsMayChange(SecurityDescriptorText(open), AdministratorAccountSid()));
    FreeLibrary(hHelper);
    const std::pair<std::wstring, const char*> kRefused[] = {
        {open + L"\\Lumeo", "Users who are not administrators may change the folder"},
        {open + L"\\Sub\\Lumeo", "Users who are not administrators may change the folder"},
        {top + L"\\..\\LumeoDots", "INSTALLFOLDER must not have .. in it"},
        {top, "already exists and is not the folder of the Lumeo installed"},
    };
    for (const auto& [folder, pszMessage] : kRefused) {
        if (folder != top) {
            EXPECT_EQ(InstallSilently(folder), 2u) << Utf8(folder);
        }
        const auto [exitCode, log] = MsiexecLogged(L"/i " + msi + L" INSTALLFOLDER=\"" + folder + L"\"");
        EXPECT_EQ(exitCode, 1603u);
        EXPECT_TRUE(Contains(log, pszMessage)) << Utf8(folder) << "\n" << log.substr(0, 3000);
    }
    EXPECT_TRUE(EntriesOf(open).empty());
    EXPECT_FALSE(FolderExists(L"C:\\LumeoDots"));
    // A name no folder may have is refused before the folders above it are made. (LumeoSetup.exe
    // never sees one: its installer's framework takes such characters out of /D.)
    const auto [badCode, badLog] = MsiexecLogged(L"/i " + msi + L" INSTALLFOLDER=\"" + top + L"\\New\\Lu|meo\"");
    EXPECT_EQ(badCode, 1603u);
    EXPECT_TRUE(Contains(badLog, "INSTALLFOLDER must be a full path on a drive")) << badLog.substr(0, 3000);
    EXPECT_FALSE(FolderExists(top + L"\\New"));
    EXPECT_TRUE(LumeoEntries().empty());
    RemoveFolder(open);
    RemoveFolder(top);
}

// ---- LumeoSetup.msi ------------------------------------------------------------------


TEST(KorettaInstaller, TheMsiInstallsSilentlyUpdatesInPlaceAndLeavesNothing)
{
    const std::wstring msi = L"\"" + BinDir() + L"LumeoSetup.msi\"";
    const std::wstring lower = L"\"" + WinePath(KORETTA_LOWER_MSI) + L"\"";
    // Wine's msiexec removes a key it emptied, the shell's approved list included.
    SavedKey approved(HKEY_LOCAL_MACHINE, kApprovedKey);
    const std::wstring dir = _wgetenv(L"ProgramFiles") + std::wstring(L"\\Lumeo");
    auto verText = [](const std::wstring& folder) {
        std::ifstream in(std::filesystem::path(folder + L"\\Lumeo.Ver"));
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    auto expectNothingLeft = [&] {
        ExpectNothingLeft(dir);
        EXPECT_FALSE(FolderExists(dir) || KeyExists(HKEY_LOCAL_MACHINE, kLanguageKey));
        EXPECT_TRUE(LumeoEntries().empty());
    };

    // An older version without the menu, updated in place: the choice stays.
    ASSERT_EQ(Msiexec(L"/i " + lower + L" CONTEXTMENU=0"), 0u);
    EXPECT_NE(verText(dir), verText(BinDir()));
    ASSERT_EQ(Msiexec(L"/i " + msi), 0u);
    EXPECT_EQ(LumeoEntries(), std::vector<std::wstring>{L"1.0.0"});
    EXPECT_EQ(verText(dir), verText(BinDir()));
    EXPECT_TRUE(FileExists(dir + L"\\Koretta.dll") && !KeyExists(HKEY_CLASSES_ROOT, kClassKey) &&
                !KeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt"));
    const auto [downgradeCode, downgradeLog] = MsiexecLogged(L"/i " + lower);
    EXPECT_EQ(downgradeCode, 1603u);
    EXPECT_TRUE(Contains(downgradeLog, "A newer version of Lumeo is already installed.")) << downgradeLog;
    EXPECT_EQ(LumeoEntries(), std::vector<std::wstring>{L"1.0.0"});
    EXPECT_EQ(Msiexec(L"/x " + msi), 0u);
    expectNothingLeft();

    ASSERT_EQ(Msiexec(L"/i " + msi + L" LANGUAGE=GR CONTEXTMENU=1"), 0u);
    for (const std::wstring& name : DeliveredFiles())
        EXPECT_TRUE(FileExists(dir + L"\\" + name)) << Utf8(name);
    // Lumeo's console form starts in German: its usage begins "Aufruf:".
    EXPECT_EQ(RunAndWait(L"cmd /c \"\"" + dir + L"\\LumeoCmd.exe\" /? | find \"Aufruf:\"\""), 0u);
    // Wine's msiexec puts a per-machine package's shortcut in the user's Start menu.
    EXPECT_TRUE(FileExists(_wgetenv(L"APPDATA") +
                           std::wstring(L"\\Microsoft\\Windows\\Start Menu\\Programs\\Lumeo\\Lumeo.lnk")));
    EXPECT_EQ(InstallSilently(InstallFolder(L"besidemsi")), 2u);  // LumeoSetup.exe refuses, and says why
    EXPECT_NE(FirstCaptionIn(SetupPath(), L"", "en_US", true).find(L"installed on this computer from LumeoSetup.msi"),
              std::wstring::npos);
    ExpectProtected(dir);
    // Repair puts back a missing file. Wine's msiexec has no /f (a product code is not
    // handled, a package is taken for one): the properties /f stands for.
    ASSERT_TRUE(DeleteFileW((dir + L"\\LOCAL_GR.dat").c_str()));
    EXPECT_EQ(Msiexec(L"/i " + LumeoEntries(true).at(0) + L" REINSTALL=ALL REINSTALLMODE=pecmus"), 0u);
    EXPECT_TRUE(FileExists(dir + L"\\LOCAL_GR.dat"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kLanguageKey, L"KVQLangCode"), L"GR");
    // The package's keys are those of the installed file: DllUnregisterServer takes every
    // one away, DllRegisterServer writes them back, no more, no fewer.
    const auto msiKeys = RegistrationKeys();
    ASSERT_FALSE(msiKeys.at(0).empty());
    EXPECT_EQ(RunRegsvr32(L"/u /s", dir + L"\\Koretta.dll"), 0u);
    const auto emptied = RegistrationKeys();
    for (size_t i = 0; i + 2 < emptied.size(); ++i)
        EXPECT_TRUE(emptied[i].empty()) << i << ": " << Utf8(emptied[i].front());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt"));
    EXPECT_EQ(emptied.back(), std::vector<std::wstring>{L"<missing>"});
    EXPECT_EQ(RunRegsvr32(L"/s", dir + L"\\Koretta.dll"), 0u);
    EXPECT_EQ(RegistrationKeys(), msiKeys);
    ASSERT_TRUE(PutStandIn(dir));
    EXPECT_NE(RunInstalledMenu(dir).find(L" \"" + dir + L"\\Quarterly Report.pdf\""), std::wstring::npos);
    // The menu switched off and on again on the installed machine; an uninstall after either
    // leaves none of its keys.
    for (const wchar_t* pszMenu : {L"0", L"1"}) {
        EXPECT_EQ(Msiexec(L"/i " + msi + L" CONTEXTMENU=" + pszMenu), 0u);
        EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", nullptr),
                  pszMenu[0] == L'1' ? dir + L"\\Koretta.dll" : L"<missing>");
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt"), pszMenu[0] == L'1');
    }
    EXPECT_EQ(Msiexec(L"/x " + msi), 0u);
    expectNothingLeft();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + kIidText));
}
