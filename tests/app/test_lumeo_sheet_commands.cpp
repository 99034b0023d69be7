// Lumeo.exe driven from outside: the sheet's own commands that print nothing. Help
// and F1 without a help viewer, minimising from the system menu, and a right click.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/wine_printers.h"
#include "ui_driver.h"

namespace {
const std::wstring kPrinter = L"Lumeo Gaps Sheet";
const std::wstring kPort = L"FILE_LumeoGapsSheet";
constexpr UINT kKeyF1 = 0x004D;  // WM_KEYF1, which the SDK headers leave out

// The visible top-level windows of the program whose sheet is given.
std::vector<HWND> VisibleWindowsOf(HWND hSheet)
{
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hSheet, &dwProcessId);
    std::vector<HWND> windows = WindowsOfProcess(dwProcessId);
    std::erase_if(windows, [](HWND hWnd) { return !IsWindowVisible(hWnd); });
    return windows;
}

bool HasClass(HWND hWnd, const wchar_t* pszClass)
{
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    return lstrcmpW(szClass, pszClass) == 0;
}

bool IsMenuWindow(HWND hWnd) { return HasClass(hWnd, L"#32768"); }

// The HTML Help viewer's frame window, when the program opened one.
HWND HelpViewerOf(HWND hSheet)
{
    for (HWND hWnd : VisibleWindowsOf(hSheet))
        if (HasClass(hWnd, L"HH Parent"))
            return hWnd;
    return nullptr;
}

// Wine's per-program DLL overrides: an empty entry keeps Lumeo.exe from loading the
// HTML Help viewer, as on a system without one; "native,builtin" prefers any file of its
// name that the search finds.
class NoHelpViewer {
public:
    bool Install(const std::wstring& strOrder = L"")
    {
        HKEY hKey = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) !=
            ERROR_SUCCESS)
            return false;
        m_bInstalled = true;
        bool bOk = true;
        for (const wchar_t* pszName : {L"hhctrl.ocx", L"hhctrl"})
            bOk &= RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strOrder.c_str()),
                                  static_cast<DWORD>((strOrder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(hKey);
        return bOk;
    }
    ~NoHelpViewer()
    {
        if (m_bInstalled)
            RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Lumeo.exe");
    }

private:
    static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\Lumeo.exe\\DllOverrides";
    bool m_bInstalled = false;
};

class LumeoSheetCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPrinter = m_printers.AddRawPrinter(kPrinter, kPort);
        ASSERT_NE(m_pPrinter, nullptr) << "Wine refused the capture printer";
    }
    void TearDown() override
    {
        m_driver.reset();
    }

    CUiDriver& Start()
    {
        m_driver = std::make_unique<CUiDriver>();
        EXPECT_TRUE(m_driver->Launch(WinePath(LUMEO_PROGRAM_EXE), L" -M \"" + kPrinter + L"\""));
        EXPECT_TRUE(m_driver->WaitForSheet());
        return *m_driver;
    }
    // The sheet still answers and still shows the Basic page.
    static bool StillOpen(CUiDriver& ui)
    {
        return IsWindow(ui.Sheet()) && IsWindowVisible(ui.Sheet()) &&
               AnswersWithin(ui.Sheet(), WM_NULL, 0, 0, 10000) && IsWindow(ui.Control(IDC_LIST_FILE));
    }

    WinePrinters m_printers{L"GapsSheet"};
    NoHelpViewer m_noViewer;
    const TestPrinter* m_pPrinter = nullptr;
    std::unique_ptr<CUiDriver> m_driver;
};
}  // namespace

TEST_F(LumeoSheetCommands, HelpButtonAndF1WithoutAViewerLeaveTheSheetOpen)
{
    // The program cannot load the HTML Help viewer at all.
    ASSERT_TRUE(m_noViewer.Install());
    CUiDriver& ui = Start();
    ASSERT_TRUE(StillOpen(ui));
    const std::vector<HWND> arrBefore = VisibleWindowsOf(ui.Sheet());

    ui.Click(ui.SheetButton(IDHELP));
    EXPECT_TRUE(StillOpen(ui));
    // F1 as the keyboard reports it; the default handling turns it into WM_HELP.
    Send(ui.Control(IDC_LIST_FILE), kKeyF1);
    Send(ui.Sheet(), kKeyF1);
    EXPECT_TRUE(StillOpen(ui));
    for (HWND hWnd : VisibleWindowsOf(ui.Sheet()))
        EXPECT_NE(std::find(arrBefore.begin(), arrBefore.end(), hWnd), arrBefore.end()) << "a window appeared";
    EXPECT_EQ(ui.FindMessageDialog(), nullptr);
    EXPECT_EQ(ui.Close(), static_cast<DWORD>(0));
}

TEST_F(LumeoSheetCommands, HelpButtonOpensTheViewerBesideTheSheet)
{
    // A library named like the viewer beside the program is never loaded in its place.
    const std::wstring strExe = WinePath(LUMEO_PROGRAM_EXE);
    const std::wstring strFolder = strExe.substr(0, strExe.rfind(L'\\') + 1);
    ASSERT_TRUE(CopyFileW((strFolder + L"vnMUIDLL.dll").c_str(), (strFolder + L"hhctrl.ocx").c_str(), FALSE));
    ASSERT_TRUE(m_noViewer.Install(L"native,builtin"));
    CUiDriver& ui = Start();
    ui.Click(ui.SheetButton(IDHELP));
    HWND hViewer = nullptr;
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return (hViewer = HelpViewerOf(ui.Sheet())) != nullptr; }, 5000));
    EXPECT_TRUE(StillOpen(ui));
    if (hViewer)
        PostMessageW(hViewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return HelpViewerOf(ui.Sheet()) == nullptr; }, 5000));
    EXPECT_TRUE(StillOpen(ui));
    EXPECT_EQ(ui.Close(), static_cast<DWORD>(0));
    DeleteFileW((strFolder + L"hhctrl.ocx").c_str());
}

TEST_F(LumeoSheetCommands, SystemMenuMinimiseMinimisesTheSheet)
{
    CUiDriver& ui = Start();
    ASSERT_FALSE(IsIconic(ui.Sheet()));
    Send(ui.Sheet(), WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsIconic(ui.Sheet()) != FALSE; }, 3000));

    Send(ui.Sheet(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsIconic(ui.Sheet()); }, 3000));
    // The low four bits of the command belong to the system.
    Send(ui.Sheet(), WM_SYSCOMMAND, SC_MINIMIZE | 0x000F);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsIconic(ui.Sheet()) != FALSE; }, 3000));
    Send(ui.Sheet(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsIconic(ui.Sheet()); }, 3000));
    EXPECT_TRUE(StillOpen(ui));
    EXPECT_EQ(ui.Close(), static_cast<DWORD>(0));
}

TEST_F(LumeoSheetCommands, RightClickShowsNoMenu)
{
    CUiDriver& ui = Start();
    RECT rc = {};
    GetWindowRect(ui.Control(IDC_LIST_FILE), &rc);
    const LPARAM lPoint = MAKELPARAM(rc.left + 5, rc.top + 5);
    // A menu would keep the send in its own loop until the menu closes.
    const auto SentAndHandled = [](HWND hWnd, LPARAM lParam) {
        return AnswersWithin(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), lParam, 3000);
    };
    for (HWND hWnd : {ui.Sheet(), ui.Page(), ui.Control(IDC_LIST_FILE)})
        EXPECT_TRUE(SentAndHandled(hWnd, lPoint));
    EXPECT_TRUE(SentAndHandled(ui.Sheet(), MAKELPARAM(-1, -1)));  // from the keyboard
    for (HWND hWnd : VisibleWindowsOf(ui.Sheet()))
        EXPECT_FALSE(IsMenuWindow(hWnd));
    EXPECT_TRUE(StillOpen(ui));
    EXPECT_EQ(ui.Close(), static_cast<DWORD>(0));
}
