// Koretta as Explorer uses it: created through CoCreateInstance, initialised with a
// CF_HDROP selection, asked for its menu item and told to run it. A stand-in Lumeo.exe
// beside a copy of Koretta.dll records the command line it was started with.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/koretta/koretta_test_support.h"
#include "tests/koretta/shell_selection.h"

using Microsoft::WRL::ComPtr;
using namespace koretta_test;

namespace {
// {5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}
const CLSID kClsid = {0x5B7E21C4, 0x93A0, 0x4F6D, {0x8E, 0x12, 0x7C, 0x44, 0xD0, 0xA9, 0xB3, 0xF1}};
// {A1F0C3D2-6E5B-4B47-9C8D-2E3F4A5B6C7D}
const GUID kLibid = {0xA1F0C3D2, 0x6E5B, 0x4B47, {0x9C, 0x8D, 0x2E, 0x3F, 0x4A, 0x5B, 0x6C, 0x7D}};
// {3C1D8E5A-7B2F-4E90-A6C4-5D8B9F0E1A23}
const IID kIidContextMenuExt = {0x3C1D8E5A, 0x7B2F, 0x4E90, {0xA6, 0xC4, 0x5D, 0x8B, 0x9F, 0x0E, 0x1A, 0x23}};
constexpr HRESULT kNoMenuItem = static_cast<HRESULT>(0x80000001);
const HRESULT kOneItem = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);

// An outer object that aggregates the handler and counts the references it receives.
class COuter : public IUnknown {
public:
    virtual ~COuter() = default;
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRef; }
    STDMETHODIMP_(ULONG) Release() override { return --m_nRef; }
    ULONG m_nRef = 1;
};

// Answers every dialog box that opens on this thread and keeps its caption and texts.
class DialogCatcher {
public:
    DialogCatcher()
    {
        s_pCurrent = this;
        m_hHook = SetWindowsHookExW(WH_CBT, &DialogCatcher::Hook, nullptr, GetCurrentThreadId());
    }
    ~DialogCatcher()
    {
        UnhookWindowsHookEx(m_hHook);
        s_pCurrent = nullptr;
    }
    std::vector<std::wstring> m_captions;
    std::vector<std::wstring> m_texts;
    std::vector<HWND> m_owners;

private:
    static BOOL CALLBACK CollectText(HWND hChild, LPARAM lParam)
    {
        wchar_t szText[1024] = {};
        GetWindowTextW(hChild, szText, 1024);
        if (szText[0])
            reinterpret_cast<DialogCatcher*>(lParam)->m_texts.push_back(szText);
        return TRUE;
    }
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_ACTIVATE && s_pCurrent) {
            HWND hDialog = reinterpret_cast<HWND>(wParam);
            wchar_t szClass[64] = {};
            GetClassNameW(hDialog, szClass, 64);
            // Wine also calls the hook when a window of another process (a test running
            // beside this one) is activated: only this process's dialogs count.
            DWORD nProcess = 0;
            GetWindowThreadProcessId(hDialog, &nProcess);
            if (wcscmp(szClass, L"#32770") == 0 && nProcess == GetCurrentProcessId()) {
                wchar_t szCaption[256] = {};
                GetWindowTextW(hDialog, szCaption, 256);
                s_pCurrent->m_captions.push_back(szCaption);
                s_pCurrent->m_owners.push_back(GetWindow(hDialog, GW_OWNER));
                EnumChildWindows(hDialog, &DialogCatcher::CollectText, reinterpret_cast<LPARAM>(s_pCurrent));
                PostMessageW(hDialog, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static DialogCatcher* s_pCurrent;
    HHOOK m_hHook = nullptr;
};
DialogCatcher* DialogCatcher::s_pCurrent = nullptr;

// Points a module's import slots at stand-ins while the object lives.
class ImportPatches {
public:
    explicit ImportPatches(HMODULE hModule) : m_hModule(hModule) {}
    ~ImportPatches()
    {
        for (const auto& [pSlot, pOriginal] : m_patched)
            Write(pSlot, pOriginal);
    }
    template <typename Function>
    void Patch(const char* pszName, void* pfnHook, Function& pfnOriginal)
    {
        auto* pBase = reinterpret_cast<BYTE*>(m_hModule);
        const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* pImport = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
             pImport->Name; ++pImport) {
            auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->OriginalFirstThunk);
            auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->FirstThunk);
            for (; pName->u1.AddressOfData; ++pName, ++pSlot) {
                if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal) ||
                    strcmp(reinterpret_cast<const char*>(
                               reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData)->Name),
                           pszName) != 0)
                    continue;
                void* pOriginal = reinterpret_cast<void*>(pSlot->u1.Function);
                pfnOriginal = reinterpret_cast<Function>(pOriginal);
                m_patched.emplace_back(&pSlot->u1.Function, pOriginal);
                Write(&pSlot->u1.Function, pfnHook);
            }
        }
    }

private:
    static void Write(ULONG_PTR* pSlot, void* pValue)
    {
        DWORD dwOld = 0;
        VirtualProtect(pSlot, sizeof(*pSlot), PAGE_READWRITE, &dwOld);
        *pSlot = reinterpret_cast<ULONG_PTR>(pValue);
        VirtualProtect(pSlot, sizeof(*pSlot), dwOld, &dwOld);
    }
    HMODULE m_hModule;
    std::vector<std::pair<ULONG_PTR*, void*>> m_patched;
};

// Every path a module asks the file system about through its kernel32 imports, while
// the object lives: the module's import slots are pointed at counting stand-ins.
class DiskQueries : ImportPatches {
public:
    explicit DiskQueries(HMODULE hModule) : ImportPatches(hModule)
    {
        s_paths.clear();
        Patch("GetFileAttributesW", reinterpret_cast<void*>(&GetAttributes), s_pfnGetAttributes);
        Patch("GetFileAttributesExW", reinterpret_cast<void*>(&GetAttributesEx), s_pfnGetAttributesEx);
        Patch("FindFirstFileW", reinterpret_cast<void*>(&FindFirst), s_pfnFindFirst);
        Patch("CreateFileW", reinterpret_cast<void*>(&Create), s_pfnCreate);
    }
    // How many queries named a path that starts with strPrefix.
    static size_t Count(const std::wstring& strPrefix)
    {
        return static_cast<size_t>(std::count_if(s_paths.begin(), s_paths.end(), [&](const std::wstring& strPath) {
            return strPath.compare(0, strPrefix.size(), strPrefix) == 0;
        }));
    }

private:
    static DWORD WINAPI GetAttributes(LPCWSTR pszPath)
    {
        s_paths.push_back(pszPath);
        return s_pfnGetAttributes(pszPath);
    }
    static BOOL WINAPI GetAttributesEx(LPCWSTR pszPath, GET_FILEEX_INFO_LEVELS level, LPVOID pInfo)
    {
        s_paths.push_back(pszPath);
        return s_pfnGetAttributesEx(pszPath, level, pInfo);
    }
    static HANDLE WINAPI FindFirst(LPCWSTR pszPath, LPWIN32_FIND_DATAW pData)
    {
        s_paths.push_back(pszPath);
        return s_pfnFindFirst(pszPath, pData);
    }
    static HANDLE WINAPI Create(LPCWSTR pszPath, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES pSecurity,
                                DWORD dwCreation, DWORD dwFlags, HANDLE hTemplate)
    {
        s_paths.push_back(pszPath);
        return s_pfnCreate(pszPath, dwAccess, dwShare, pSecurity, dwCreation, dwFlags, hTemplate);
    }

    static inline std::vector<std::wstring> s_paths;
    static inline decltype(&GetFileAttributesW) s_pfnGetAttributes = nullptr;
    static inline decltype(&GetFileAttributesExW) s_pfnGetAttributesEx = nullptr;
    static inline decltype(&FindFirstFileW) s_pfnFindFirst = nullptr;
    static inline decltype(&CreateFileW) s_pfnCreate = nullptr;
};

// Counts, while the patches live, the programs the module asks the shell to start.
int g_nShellStarts = 0;
void CountShellStarts(ImportPatches& patches)
{
    static decltype(&ShellExecuteW) s_pfn = nullptr;
    g_nShellStarts = 0;
    auto count = +[](HWND h, LPCWSTR v, LPCWSTR f, LPCWSTR p, LPCWSTR d, INT n) {
        return ++g_nShellStarts, s_pfn(h, v, f, p, d, n);
    };
    patches.Patch("ShellExecuteW", reinterpret_cast<void*>(count), s_pfn);
}

// GetProcAddress's result as the export's real type.
template <typename Function>
Function Export(HMODULE hModule, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(hModule, name)));
}

std::wstring OwnFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    return path.substr(0, path.rfind(L'\\') + 1);
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write("\xFF\xFE", 2);
    out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

std::vector<std::wstring> ReadUtf16Lines(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}
}  // namespace

class KorettaShellClient : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        s_pFolder = new ScratchFolder(L"koretta_shell");
        const std::wstring& dir = s_pFolder->Path();
        std::wstring module = dir + L"Koretta.dll";
        if (!CopyFileW((BinDir() + L"Koretta.dll").c_str(), module.c_str(), FALSE) ||
            !CopyFileW((OwnFolder() + L"lumeo_standin.exe").c_str(), (dir + L"Lumeo.exe").c_str(), FALSE))
            return;
        for (const wchar_t* name : {L"report.PDF", L"a.pdf", L"with space.pdf", L"notes.txt", L"b.txt", L"x.pd",
                                    L"name ending."})
            std::ofstream(std::filesystem::path(dir + name)) << "%PDF-1.4\n";
        CreateDirectoryW((dir + L"Docs").c_str(), nullptr);
        CreateDirectoryW((dir + L"Folder.pdf").c_str(), nullptr);
        s_hModule = LoadLibraryW(module.c_str());
        if (!s_hModule)
            return;
        s_pfnCanUnloadNow = Export<HRESULT(WINAPI*)()>(s_hModule, "DllCanUnloadNow");
        s_pfnGetClassObject = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(s_hModule, "DllGetClassObject");
        auto pfnRegister = Export<HRESULT(WINAPI*)()>(s_hModule, "DllRegisterServer");
        s_hrRegister = pfnRegister ? pfnRegister() : E_FAIL;
    }

    static void TearDownTestSuite()
    {
        if (s_hModule) {
            auto pfnUnregister = Export<HRESULT(WINAPI*)()>(s_hModule, "DllUnregisterServer");
            if (pfnUnregister)
                pfnUnregister();
            FreeLibrary(s_hModule);
        }
        CoUninitialize();
        delete s_pFolder;
    }

    void SetUp() override
    {
        ASSERT_NE(s_hModule, nullptr) << "Koretta.dll or the stand-in program missing";
        ASSERT_EQ(s_hrRegister, S_OK);
        DeleteFileW(Invocation().c_str());
        DeleteFileW(UIFile().c_str());
    }
    void TearDown() override { DeleteFileW(UIFile().c_str()); }

    static std::wstring Dir() { return s_pFolder->Path(); }
    static std::wstring Invocation() { return Dir() + L"lumeo_invocation.txt"; }
    static std::wstring UIFile() { return Dir() + L"LOCAL_EN.dat"; }

    // A handler initialised with the named items of the scratch folder.
    static ComPtr<IContextMenu> HandlerFor(const std::vector<std::wstring>& names, HRESULT expected = S_OK)
    {
        ComPtr<IShellExtInit> init;
        EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init)), S_OK);
        if (!init)
            return nullptr;
        std::vector<std::wstring> paths;
        for (const auto& name : names)
            paths.push_back(Dir() + name);
        CSelection selection(paths);
        EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), expected);
        ComPtr<IContextMenu> menu;
        EXPECT_EQ(init.As(&menu), S_OK);
        return menu;
    }

    // The stand-in's record, once it has written it.
    static std::vector<std::wstring> WaitForInvocation()
    {
        for (int i = 0; i < 300 && !FileExists(Invocation()); ++i)
            Sleep(100);
        return ReadUtf16Lines(Invocation());
    }

    static ScratchFolder* s_pFolder;
    static HMODULE s_hModule;
    static HRESULT s_hrRegister;
    static HRESULT(WINAPI* s_pfnCanUnloadNow)();
    static HRESULT(WINAPI* s_pfnGetClassObject)(REFCLSID, REFIID, void**);
};
ScratchFolder* KorettaShellClient::s_pFolder = nullptr;
HMODULE KorettaShellClient::s_hModule = nullptr;
HRESULT KorettaShellClient::s_hrRegister = E_FAIL;
HRESULT(WINAPI* KorettaShellClient::s_pfnCanUnloadNow)() = nullptr;
HRESULT(WINAPI* KorettaShellClient::s_pfnGetClassObject)(REFCLSID, REFIID, void**) = nullptr;

TEST_F(KorettaShellClient, PdfSelectionGetsOneLumeoItemWithItsPicture)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"report.PDF", L"Docs", L"notes.txt"});
    ASSERT_TRUE(menu);
    HMENU hMenu = CreatePopupMenu();
    AppendMenuW(hMenu, MF_STRING, 1, L"Open");
    EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kOneItem);
    ASSERT_EQ(GetMenuItemCount(hMenu), 2);
    EXPECT_EQ(GetMenuItemID(hMenu, 0), 100u);
    wchar_t szText[64] = {};
    GetMenuStringW(hMenu, 0, szText, 64, MF_BYPOSITION);
    EXPECT_STREQ(szText, L"Lumeo");
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    ASSERT_TRUE(GetMenuItemInfoW(hMenu, 0, TRUE, &info));
    EXPECT_NE(info.hbmpUnchecked, nullptr);
    BITMAP bitmap = {};
    ASSERT_TRUE(GetObjectW(info.hbmpUnchecked, sizeof(bitmap), &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 13);
    EXPECT_EQ(bitmap.bmHeight, 13);
    DestroyMenu(hMenu);
}

TEST_F(KorettaShellClient, InvokeStartsLumeoFromItsFolderWithEachPdfQuoted)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf", L"Docs", L"Folder.pdf", L"b.txt", L"with space.pdf"});
    ASSERT_TRUE(menu);
    HMENU hMenu = CreatePopupMenu();
    ASSERT_EQ(menu->QueryContextMenu(hMenu, 0, 1, 0x7FFF, CMF_NORMAL), kOneItem);
    DestroyMenu(hMenu);

    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    invoke.nShow = SW_SHOWNORMAL;
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    std::vector<std::wstring> lines = WaitForInvocation();
    ASSERT_GE(lines.size(), 2u) << "Lumeo.exe was not started";
    std::wstring expectedTail = L" \"" + Dir() + L"a.pdf\" \"" + Dir() + L"with space.pdf\"";
    EXPECT_TRUE(lines[0].size() >= expectedTail.size() &&
                lines[0].compare(lines[0].size() - expectedTail.size(), expectedTail.size(), expectedTail) == 0)
        << std::string(lines[0].begin(), lines[0].end());
    EXPECT_NE(lines[0].find(Dir() + L"Lumeo.exe"), std::wstring::npos);
    EXPECT_EQ(lines[1] + L"\\", Dir());  // started in Koretta's folder
    EXPECT_EQ(std::vector<std::wstring>(lines.begin() + 2, lines.end()),
              (std::vector<std::wstring>{Dir() + L"a.pdf", Dir() + L"with space.pdf"}));
}

TEST_F(KorettaShellClient, OnlyNumericOffsetZeroIsInvoked)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = "open";
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_INVALIDARG);
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_INVALIDARG);
    EXPECT_EQ(menu->InvokeCommand(nullptr), E_INVALIDARG);
}

TEST_F(KorettaShellClient, SelectionsWithoutAPdfFileGetNoItem)
{
    // Names that only share letters with ".pdf", and a folder named like a PDF file.
    for (const std::vector<std::wstring>& names : std::vector<std::vector<std::wstring>>{
             {L"notes.txt"}, {L"x.pd"}, {L"name ending."}, {L"Folder.pdf"}, {L"Docs", L"b.txt"}}) {
        DiskQueries queries(s_hModule);
        ComPtr<IContextMenu> menu = HandlerFor(names);
        ASSERT_TRUE(menu);
        EXPECT_EQ(DiskQueries::Count(Dir() + L"LOCAL_"), 0u);  // Explorer asks on every right-click: nothing is loaded
        HMENU hMenu = CreatePopupMenu();
        EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kNoMenuItem)
            << std::string(names[0].begin(), names[0].end());
        EXPECT_EQ(GetMenuItemCount(hMenu), 0);
        DestroyMenu(hMenu);
    }
}

TEST_F(KorettaShellClient, EachHandlerKeepsTheOutcomeOfItsOwnSelection)
{
    // Two Explorer windows: the second selection must not take the first window's item away, nor the reverse.
    ComPtr<IContextMenu> pdfWindow = HandlerFor({L"a.pdf"});
    ComPtr<IContextMenu> textWindow = HandlerFor({L"notes.txt"});
    ComPtr<IContextMenu> laterPdfWindow = HandlerFor({L"report.PDF"});
    ASSERT_TRUE(pdfWindow && textWindow && laterPdfWindow);
    HMENU hMenu = CreatePopupMenu();
    EXPECT_EQ(pdfWindow->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kOneItem);
    EXPECT_EQ(textWindow->QueryContextMenu(hMenu, 0, 300, 400, CMF_NORMAL), kNoMenuItem);
    EXPECT_EQ(GetMenuItemCount(hMenu), 1);
    DestroyMenu(hMenu);
}

TEST_F(KorettaShellClient, BadInitialisationIsRefusedAndShowsNoItem)
{
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init)), S_OK);
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(init.As(&menu), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    CSelection noDrop({Dir() + L"a.pdf"}, false);
    EXPECT_EQ(init->Initialize(nullptr, &noDrop, nullptr), E_INVALIDARG);

    // A handler that had a PDF selection and is then given an empty one offers nothing.
    CSelection pdf({Dir() + L"a.pdf"});
    EXPECT_EQ(init->Initialize(nullptr, &pdf, nullptr), S_OK);
    CSelection empty({});
    // Windows counts no item in an empty drop list (E_INVALIDARG); Wine one unnamed item (S_OK).
    HRESULT hrEmpty = init->Initialize(nullptr, &empty, nullptr);
    EXPECT_TRUE(hrEmpty == E_INVALIDARG || hrEmpty == S_OK) << std::hex << hrEmpty;
    HMENU hMenu = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kNoMenuItem);
    EXPECT_EQ(GetMenuItemCount(hMenu), 0);
    DestroyMenu(hMenu);
}

TEST_F(KorettaShellClient, DefaultOnlyAndFullRangeAddNothing)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    HMENU hMenu = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 201, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    EXPECT_EQ(GetMenuItemCount(hMenu), 0);
    DestroyMenu(hMenu);
}

TEST_F(KorettaShellClient, CommandStringIsTheHelpTextForTheSupportedRequests)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    wchar_t szWide[128] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(szWide), 128), S_OK);
    EXPECT_STREQ(szWide, L"This is the Lumeo shell extension's help");
    char szNarrow[128] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, szNarrow, 128), S_OK);
    EXPECT_STREQ(szNarrow, "This is the Lumeo shell extension's help");
    char szShort[8] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, szShort, 8), S_OK);
    EXPECT_STREQ(szShort, "This is");  // cut to the capacity, terminator included
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, szNarrow, 128), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(0, GCS_VALIDATEA, nullptr, szNarrow, 128), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(szWide), 128), E_INVALIDARG);
    // A validation request carries no buffer.
    EXPECT_EQ(menu->GetCommandString(0, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);
}

TEST_F(KorettaShellClient, LocalizedTextsAndEmptyValuesFallingBackToDefaults)
{
    WriteUtf16File(UIFile(), L"[KORETTA_MENU]\r\nMENUTEXT=Mit Lumeo drucken\r\nCOMMAND1=\r\n");
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    HMENU hMenu = CreatePopupMenu();
    ASSERT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kOneItem);
    wchar_t szText[64] = {};
    GetMenuStringW(hMenu, 0, szText, 64, MF_BYPOSITION);
    EXPECT_STREQ(szText, L"Mit Lumeo drucken");
    DestroyMenu(hMenu);

    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    std::vector<std::wstring> lines = WaitForInvocation();  // the empty COMMAND1 means Lumeo.exe
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], Dir() + L"a.pdf");
}

TEST_F(KorettaShellClient, ProgramThatCannotStartShowsTheLimitMessage)
{
    WriteUtf16File(UIFile(), L"[KORETTA_MENU]\r\nCOMMAND1=Missing.exe\r\nLIMITEDSELECTEDFILES=Too many files here\r\n");
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    DialogCatcher dialogs;
    // The Explorer window the command came from owns the message, so it opens in front of it.
    HWND hExplorer = CreateWindowExW(0, L"STATIC", L"Explorer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(hExplorer, nullptr);
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = hExplorer;
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_NE(std::find(dialogs.m_texts.begin(), dialogs.m_texts.end(), L"Too many files here"), dialogs.m_texts.end());
    EXPECT_NE(std::find(dialogs.m_captions.begin(), dialogs.m_captions.end(), L"Lumeo"), dialogs.m_captions.end());
    EXPECT_EQ(dialogs.m_owners, std::vector<HWND>{hExplorer});
    EXPECT_FALSE(FileExists(Invocation()));
    DestroyWindow(hExplorer);
}

TEST_F(KorettaShellClient, OnlyItemsNamedLikeAPdfFileAreLookedAtOnDisk)
{
    // Thousands of scans on a share and one PDF file: the names alone rule the scans out.
    const std::wstring strShare = L"\\\\lumeo-nas\\scans\\";
    std::vector<std::wstring> paths;
    for (int i = 0; i < 3000; ++i)
        paths.push_back(strShare + L"page" + std::to_wstring(i) + (i % 2 ? L".tif" : L".txt"));
    paths.push_back(Dir() + L"a.pdf");
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init)), S_OK);
    CSelection selection(paths);
    {
        DiskQueries queries(s_hModule);
        EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
        EXPECT_EQ(DiskQueries::Count(strShare), 0u);
        EXPECT_GE(DiskQueries::Count(Dir() + L"a.pdf"), 1u);  // a folder named like it is still refused
    }
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(init.As(&menu), S_OK);
    HMENU hMenu = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(hMenu, 0, 100, 200, CMF_NORMAL), kOneItem);
    DestroyMenu(hMenu);
}

TEST_F(KorettaShellClient, PathsBeyondTheCommandLineLimitStartNothing)
{
    // Just over 32,000 characters of quoted paths: the system would still take them.
    std::vector<std::wstring> names;
    for (size_t nChars = 0; nChars <= 32000; nChars += Dir().size() + names.back().size() + 3)
        names.push_back(std::wstring(200, L'n') + std::to_wstring(names.size()) + L".pdf");
    ComPtr<IContextMenu> menu = HandlerFor(names);
    ASSERT_TRUE(menu);
    DialogCatcher dialogs;
    ImportPatches starts(s_hModule);
    CountShellStarts(starts);
    CMINVOKECOMMANDINFO invoke = {};  // verb 0: the Lumeo command
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_NE(std::find(dialogs.m_texts.begin(), dialogs.m_texts.end(),
                        L"Selected files are over the limit. Please, remove some of selected files."),
              dialogs.m_texts.end());
    EXPECT_EQ(g_nShellStarts, 0);
}

TEST_F(KorettaShellClient, WithoutItsOwnFolderNothingIsStartedByTheBareName)
{
    ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
    ASSERT_TRUE(menu);
    // The stand-in Lumeo.exe lies in the current folder, where a bare name would be looked for.
    ASSERT_TRUE(SetCurrentDirectoryW(Dir().c_str()));
    static decltype(&GetModuleFileNameW) s_pfnName = nullptr;
    ImportPatches patches(s_hModule);
    patches.Patch("GetModuleFileNameW", reinterpret_cast<void*>(+[](HMODULE, LPWSTR, DWORD) -> DWORD { return 0; }),
                  s_pfnName);
    CountShellStarts(patches);
    DialogCatcher dialogs;
    CMINVOKECOMMANDINFO invoke = {};
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    SetCurrentDirectoryW(OwnFolder().c_str());
    EXPECT_EQ(g_nShellStarts, 0);
    EXPECT_EQ(dialogs.m_captions, std::vector<std::wstring>{L"Lumeo"});  // the message that it cannot start
}

TEST_F(KorettaShellClient, NoExceptionLeavesACallWhenMemoryRunsOut)
{
    // Large blocks fail first in a starved Explorer: here those of 2,000 files and their command line.
    ComPtr<IContextMenu> menu = HandlerFor(std::vector<std::wstring>(2000, L"a.pdf"));
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init)), S_OK);
    CSelection selection(std::vector<std::wstring>(2000, Dir() + L"a.pdf"));
    CMINVOKECOMMANDINFO invoke = {};  // verb 0: the Lumeo command
    static void* (*s_pfnMalloc)(size_t) = nullptr;
    ImportPatches largeBlocksFail(s_hModule);
    largeBlocksFail.Patch(
        "malloc", reinterpret_cast<void*>(+[](size_t nBytes) { return nBytes > 16384 ? nullptr : s_pfnMalloc(nBytes); }),
        s_pfnMalloc);
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_OUTOFMEMORY);
    EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), E_OUTOFMEMORY);
}

TEST_F(KorettaShellClient, ModuleCanUnloadOnlyWhenNothingIsAlive)
{
    ASSERT_NE(s_pfnCanUnloadNow, nullptr);
    EXPECT_EQ(s_pfnCanUnloadNow(), S_OK);
    {
        ComPtr<IContextMenu> menu = HandlerFor({L"a.pdf"});
        EXPECT_EQ(s_pfnCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(s_pfnCanUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(s_pfnGetClassObject(kClsid, IID_PPV_ARGS(&factory)), S_OK);
    // Explorer keeps the class object to create the next handler with: the module stays.
    EXPECT_EQ(s_pfnCanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(s_pfnCanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(s_pfnCanUnloadNow(), S_OK);
}

TEST_F(KorettaShellClient, ClassObjectServesOnlyItsClassAndSupportsAggregation)
{
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(s_pfnGetClassObject(kLibid, IID_PPV_ARGS(&factory)), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(s_pfnGetClassObject(kClsid, IID_PPV_ARGS(&factory)), S_OK);
    ComPtr<IClassFactory> again;
    ASSERT_EQ(s_pfnGetClassObject(kClsid, IID_PPV_ARGS(&again)), S_OK);
    EXPECT_EQ(factory.Get(), again.Get());  // one cached class object

    COuter outer;
    ComPtr<IContextMenu> refused;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_PPV_ARGS(&refused)), CLASS_E_NOAGGREGATION);
    IUnknown* pInner = nullptr;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&pInner)), S_OK);
    IContextMenu* pMenu = nullptr;
    ASSERT_EQ(pInner->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&pMenu)), S_OK);
    EXPECT_EQ(outer.m_nRef, 2u);  // the interface's reference goes to the outer object
    pMenu->Release();
    EXPECT_EQ(outer.m_nRef, 1u);
    factory.Reset();
    again.Reset();
    EXPECT_EQ(s_pfnCanUnloadNow(), S_FALSE);
    pInner->Release();
    EXPECT_EQ(s_pfnCanUnloadNow(), S_OK);
}

TEST_F(KorettaShellClient, DispatchIsServedFromTheRegisteredTypeLibrary)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dispatch)), S_OK);
    ComPtr<IUnknown> dual;
    EXPECT_EQ(dispatch->QueryInterface(kIidContextMenuExt, reinterpret_cast<void**>(dual.GetAddressOf())), S_OK);
    UINT nCount = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&nCount), S_OK);
    EXPECT_EQ(nCount, 1u);
    ComPtr<ITypeInfo> typeInfo;
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0, &typeInfo), S_OK);
    TYPEATTR* pAttr = nullptr;
    ASSERT_EQ(typeInfo->GetTypeAttr(&pAttr), S_OK);
    EXPECT_TRUE(IsEqualGUID(pAttr->guid, kIidContextMenuExt));
    EXPECT_TRUE(pAttr->wTypeFlags & TYPEFLAG_FDUAL);
    typeInfo->ReleaseTypeAttr(pAttr);
    LPOLESTR name = const_cast<LPOLESTR>(L"NoSuchMember");
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);

    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(kLibid, 1, 0, 0, &library), S_OK);
    BSTR doc = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr), S_OK);
    EXPECT_STREQ(doc, L"Koretta 1.0 Type Library");
    SysFreeString(doc);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(library->GetTypeInfoOfGuid(kClsid, &coclass), S_OK);
    ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr), S_OK);
    EXPECT_STREQ(doc, L"ContextMenuExt Class");
    SysFreeString(doc);
}
