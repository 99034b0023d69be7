// LumeoSetup.exe under Wine: a silent install places the deliverables in one folder,
// registers Koretta, adds the shortcut and the Add/Remove Programs entry; the silent
// uninstall takes all of it away again.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <wrl/client.h>

#include <filesystem>
#include <fstream>

#include "tests/koretta/koretta_test_support.h"
#include "tests/koretta/shell_selection.h"

using namespace koretta_test;

namespace {
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumeo";
const std::wstring kClassKey = std::wstring(L"CLSID\\") + kClsidText;

std::wstring CommonProgramsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// The files of bin/ that the setup must carry: Koretta always, the others when they were built.
std::vector<std::wstring> DeliveredFiles()
{
    std::vector<std::wstring> names = {L"Koretta.dll"};
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(BinDir()))) {
        std::wstring name = entry.path().filename().wstring();
        bool bLanguageFile = name.rfind(L"LOCAL_", 0) == 0 && entry.path().extension() == L".dat";
        bool bHelpFile = name.rfind(L"HELP_", 0) == 0 && entry.path().extension() == L".chm";
        if (name == L"Lumeo.exe" || name == L"vnMUIDLL.dll" || name == L"Lumeo.Ver" || bLanguageFile || bHelpFile)
            names.push_back(name);
    }
    return names;
}

std::wstring OwnFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    return path.substr(0, path.rfind(L'\\') + 1);
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
        if (init && init->Initialize(nullptr, &selection, nullptr) == S_OK && init.As(&menu) == S_OK) {
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

TEST(KorettaInstaller, SilentInstallThenUninstallLeavesNothingBehind)
{
    const std::wstring setup = BinDir() + L"LumeoSetup.exe";
    ASSERT_TRUE(FileExists(setup)) << "LumeoSetup.exe not built";
    const std::wstring dir = L"C:\\LumeoSetupTest_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring shortcut = CommonProgramsFolder() + L"\\Lumeo\\Lumeo.lnk";

    // /D= must come last and unquoted.
    ASSERT_EQ(RunAndWait(L"\"" + setup + L"\" /S /D=" + dir), 0u);

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

    // The stand-in takes Lumeo's place, so the test sees how Koretta starts it.
    ASSERT_TRUE(CopyFileW((OwnFolder() + L"lumeo_standin.exe").c_str(), (dir + L"\\Lumeo.exe").c_str(), FALSE));
    std::wstring commandLine = RunInstalledMenu(dir);
    std::wstring expectedTail = L" \"" + dir + L"\\Quarterly Report.pdf\"";
    EXPECT_TRUE(commandLine.size() > expectedTail.size() &&
                commandLine.compare(commandLine.size() - expectedTail.size(), expectedTail.size(), expectedTail) == 0)
        << std::string(commandLine.begin(), commandLine.end());

    // An uninstaller copies itself away and returns at once unless _?= names the folder.
    EXPECT_EQ(RunAndWait(L"\"" + dir + L"\\Uninstall.exe\" /S _?=" + dir), 0u);

    for (const std::wstring& name : DeliveredFiles())
        EXPECT_FALSE(FileExists(dir + L"\\" + name)) << std::string(name.begin(), name.end());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Koretta.ContextMenuExt"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\LumeoMenuExt"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"TypeLib\\") + kLibidText));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), L"<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(FolderExists(CommonProgramsFolder() + L"\\Lumeo"));

    // With _?= the running uninstaller cannot delete itself; that part is ours.
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(dir), ec);
}
