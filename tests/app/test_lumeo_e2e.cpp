// Lumeo.exe started as a user starts it, driven from outside, printing to a Wine
// printer whose port Wine delivers into a capture file. The port's name starts with
// "FILE", so the program gives it the file port's capability (every file type).
#include "tests/support/snmp_agent.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wincred.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "common/system_error.h"
#include "resources/resource.h"
#include "tests/faults/raw_registry.h"
#include "tests/printer/registry_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/hostile_agent.h"
#include "tests/support/ipp_peer.h"
#include "tests/support/message_pump.h"
#include "tests/support/shortcut.h"
#include "tests/support/temp_file.h"
#include "tests/support/udp_peers.h"
#include "tests/support/x_keyboard.h"
#include "tests/support/wine_printers.h"
#include "ui_driver.h"

namespace {
using Paths = std::vector<std::wstring>;

const std::wstring kPrinter = L"Lumeo E2E File";
const std::wstring kPort = L"FILE_LumeoE2E";
const std::string kUEL = "\x1B%-12345X";
constexpr DWORD kSendTimeoutMs = 10000;  // for the messages whose answer is read here

// The header the printer must receive for a file, line by line.
struct Expected {
    std::string strColor = "COLOR";
    std::string strDuplex = "@PJL SET DUPLEX=OFF\r\n";
    int nZoom = 100;
    int nCopies = 1;
    int nFrom = 0, nTo = 0;
    std::string strPaper = "AUTO";
    std::string strPaperType = "OFF";
    std::string strTicket;  // the tray's and bin's lines, when chosen

    std::string Job(const std::string& strLanguage, const std::string& strBytes) const
    {
        return kUEL + "@PJL\r\n" + "@PJL SET COLORMODE=" + strColor + "\r\n" + strDuplex +
               "@PJL SET JOBATTR=\"@ZOOM=" + std::to_string(nZoom) + "\"\r\n" +
               "@PJL SET COPIES=" + std::to_string(nCopies) + "\r\n" + "@PJL SET ORIENTATION=PORTRAIT\r\n" +
               "@PJL SET JOBATTR=\"@FSTP=" + std::to_string(nFrom) + "\"\r\n" +
               "@PJL SET JOBATTR=\"@LSTP=" + std::to_string(nTo) + "\"\r\n" + "@PJL SET PAPER=" + strPaper +
               "\r\n" + "@PJL SET PAPERTYPE=" + strPaperType + "\r\n" + strTicket + "@PJL SET JOBATTR=\"@FILESIZE=" +
               std::to_string(strBytes.size()) + "\"\r\n" + "@PJL ENTER LANGUAGE=" + strLanguage + "\r\n" +
               strBytes + kUEL;
    }
};

const std::string kPdfBytes = "%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n";
const std::string kJpegBytes = std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20) +
                               std::string("\x00\x1A\x1B\xFF\xD9", 5);
const std::string kPngBytes = "\x89PNG\r\n\x1A\n";
const std::string kPdfJob = Expected().Job("PDF", kPdfBytes);  // kPdfBytes with the sheet's defaults
const std::string kLongEdge = "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=LONGEDGE\r\n";

// Lumeo.exe or LumeoCmd.exe as a script starts it: what it wrote on its standard output
// and error (one pipe), its exit code, and the windows it made (seen through a window-event
// hook on its process, set before it runs).
struct ScriptRun {
    DWORD dwExit = kNotStarted;
    std::string strOutput;
    std::string strWindows;  // the class of each window made
};

std::string* g_pWindowsMade = nullptr;

// Windows that can be seen: those under the desktop. The message-only window that COM makes
// for its apartment (needed for shortcuts, as in the sheet) is none, nor the hidden one that
// hears of the session's end, with the input-method window the system gives its thread.
void CALLBACK OnWindowMade(HWINEVENTHOOK, DWORD, HWND hWnd, LONG idObject, LONG, DWORD, DWORD)
{
    char szClass[64] = {};
    if (hWnd && idObject == OBJID_WINDOW && g_pWindowsMade &&
        GetAncestor(GetAncestor(hWnd, GA_ROOT), GA_PARENT) == GetDesktopWindow() &&
        GetClassNameA(hWnd, szClass, sizeof(szClass)) && std::string(szClass) != "LumeoScriptStop" &&
        std::string(szClass) != "IME")
        *g_pWindowsMade += std::string(szClass) + " ";
}

// A run that has not ended after dwTimeoutMs is ended (kTimedOut). fnMeanwhile is asked
// while it runs, until it says it has acted.
ScriptRun RunScript(const std::string& strExe, const std::wstring& strArgs, DWORD dwTimeoutMs = 60000,
                    std::function<bool(const PROCESS_INFORMATION&)> fnMeanwhile = nullptr)
{
    ScriptRun run;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 0))
        return run;
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = hWrite;
    PROCESS_INFORMATION pi = {};
    std::wstring strCmd = L"\"" + WinePath(strExe) + L"\" " + strArgs;
    const BOOL bStarted = CreateProcessW(nullptr, strCmd.data(), nullptr, nullptr, TRUE,
                                         CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(hWrite);
    if (bStarted) {
        g_pWindowsMade = &run.strWindows;
        HWINEVENTHOOK hHook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowMade,
                                              pi.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
        std::thread reader([&] {
            char buffer[4096];
            DWORD nRead = 0;
            while (ReadFile(hRead, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
                run.strOutput.append(buffer, nRead);
        });
        ResumeThread(pi.hThread);
        const ULONGLONG ullUntil = GetTickCount64() + dwTimeoutMs;
        while (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT && GetTickCount64() < ullUntil) {
            Pump(50);  // the hook's window events come as messages
            if (fnMeanwhile && fnMeanwhile(pi))
                fnMeanwhile = nullptr;
        }
        run.dwExit = kTimedOut;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &run.dwExit);
        else
            TerminateProcess(pi.hProcess, kTimedOut);
        reader.join();
        Pump(20);
        UnhookWinEvent(hHook);
        g_pWindowsMade = nullptr;
        CloseProcessHandles(pi);
    }
    CloseHandle(hRead);
    return run;
}

std::wstring Quoted(const std::wstring& strText) { return L"\"" + strText + L"\""; }

// LumeoCmd's /json output parsed; what does not parse stays text, for a failure to show.
nlohmann::json Parsed(const std::string& strOutput)
{
    nlohmann::json doc = nlohmann::json::parse(strOutput, nullptr, false);
    return doc.is_discarded() ? nlohmann::json(strOutput) : doc;
}

std::string Utf8(const std::wstring& strText)
{
    std::string strBytes(strText.size() * 4, '\0');
    strBytes.resize(WideCharToMultiByte(CP_UTF8, 0, strText.c_str(), static_cast<int>(strText.size()),
                                        strBytes.data(), static_cast<int>(strBytes.size()), nullptr, nullptr));
    return strBytes;
}

// A text as the program shows it: from the English string file beside it.
std::wstring Shown(const wchar_t* pszKey)
{
    const auto file = std::filesystem::path(WinePath(LUMEO_PROGRAM_EXE)).parent_path() / L"LOCAL_EN.dat";
    wchar_t szText[1024] = {};
    GetPrivateProfileStringW(L"ERROR_MSG", pszKey, L"", szText, 1024, file.wstring().c_str());
    return szText;
}

// The window that has the keyboard focus in the thread of hWnd.
HWND FocusOf(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Ctrl+C to every process of the console of pi's process, as the key there sends it.
// (Wine's console makes no Ctrl+Break and cannot be closed here.)
void PressCtrlC(const PROCESS_INFORMATION& pi)
{
    FreeConsole();
    ASSERT_TRUE(AttachConsole(pi.dwProcessId)) << GetLastError();
    SetConsoleCtrlHandler([](DWORD) { return TRUE; }, TRUE);  // not this process
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    FreeConsole();
}

// What the system sends a window when the session ends. Once told, a program may be
// ended at any moment: its run has stopped by then, and its spool file is gone.
void EndSession(HWND hWnd)
{
    Send(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    Send(hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(SpoolFilesNow(), 0) << "the run had not stopped when the end of the session was answered";
}

// Real keys go through X with xdotool: a test that types them is skipped without it.
#define XKEYBOARD_OR_SKIP(keyboard) \
    const XKeyboard keyboard;       \
    if (!keyboard.Available())      \
        GTEST_SKIP() << "xdotool is not installed"

// Inside a test whose other checks need no keys, the keys' part is not skipped in silence:
// tools/install-deps.sh installs xdotool, so a machine without it fails here.
bool KeyboardRequired(const XKeyboard& keyboard)
{
    if (!keyboard.Available())
        ADD_FAILURE() << "xdotool is not installed: the checks with real keys did not run";
    return keyboard.Available();
}

class LumeoEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        m_folder = std::filesystem::path(szTemp) / ("lumeo_e2e_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(m_folder);
        m_pPrinter = m_printers.AddRawPrinter(kPrinter, kPort, L"", /*bAppend=*/true);
        ASSERT_NE(m_pPrinter, nullptr) << "Wine refused the capture printer";
    }
    void TearDown() override
    {
        m_driver.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    std::wstring MakeFile(const std::wstring& strName, const std::string& strBytes)
    {
        const std::filesystem::path path = m_folder / strName;
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.wstring();
    }
    // The program from the build tree, its printer named with the M option.
    CUiDriver& Start(const Paths& arrFiles, const std::wstring& strPrinter = kPrinter, bool bWaitForCheck = true,
                     const std::wstring& strOptions = L"")
    {
        std::wstring strCmdLine = L" " + strOptions + L" -M \"" + strPrinter + L"\"";
        for (const std::wstring& strPath : arrFiles)
            strCmdLine += L" \"" + strPath + L"\"";
        m_driver = std::make_unique<CUiDriver>();
        EXPECT_TRUE(m_driver->Launch(WinePath(LUMEO_PROGRAM_EXE), strCmdLine));
        EXPECT_TRUE(m_driver->WaitForSheet(20000, bWaitForCheck));
        return *m_driver;
    }
    static HWND CurrentPage(const CUiDriver& ui)
    {
        return reinterpret_cast<HWND>(Send(ui.Sheet(), PSM_GETCURRENTPAGEHWND));
    }
    // Opens the Advanced tab as a user would and returns its page.
    static HWND OpenAdvancedPage(CUiDriver& ui)
    {
        Send(ui.Sheet(), PSM_SETCURSEL, 1, 0);
        CUiDriver::WaitUntil([&] { return GetDlgItem(CurrentPage(ui), IDC_COMBO_PAPERSIZE) != nullptr; }, 5000);
        return CurrentPage(ui);
    }
    // Black and white with the other choices of the Advanced page, as a user makes them.
    static void ChooseInBlackAndWhite(CUiDriver& ui, HWND hAdvanced, int nDuplexId, int nPaper, int nPaperType,
                                      const std::wstring& strZoom)
    {
        ui.Click(GetDlgItem(hAdvanced, nDuplexId));
        ui.Click(GetDlgItem(hAdvanced, IDC_RADIO_COLORMODE_BW));
        for (const auto& [nId, nIndex] :
             {std::pair(IDC_COMBO_PAPERSIZE, nPaper), std::pair(IDC_COMBO_PAPERTYPE, nPaperType)}) {
            HWND hCombo = GetDlgItem(hAdvanced, nId);
            Send(hCombo, CB_SETCURSEL, nIndex);
            Send(hAdvanced, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
        }
        ui.SetText(GetDlgItem(hAdvanced, IDC_EDIT_ZOOM), strZoom);
    }
    // Chooses a printer of the list as a user would; false when the list does not hold it.
    static bool ChoosePrinter(CUiDriver& ui, const std::wstring& strName, bool bWaitForCheck = true)
    {
        const Paths arrPrinters = ui.ComboItems(IDC_COMBO_PRINTERLIST);
        const auto it = std::find(arrPrinters.begin(), arrPrinters.end(), strName);
        if (it != arrPrinters.end())
            ui.ChooseComboItem(IDC_COMBO_PRINTERLIST, static_cast<int>(it - arrPrinters.begin()), bWaitForCheck);
        return it != arrPrinters.end();
    }
    static void SetPageRange(CUiDriver& ui, const std::wstring& strFrom, const std::wstring& strTo)
    {
        ui.Click(ui.Control(IDC_RADIO_PRINTRANGE_PAGES));
        ui.SetText(ui.Control(IDC_EDIT_FROM), strFrom);
        ui.SetText(ui.Control(IDC_EDIT_TO), strTo);
    }
    // Real keys typed with the focus on hControl.
    static bool TypeInto(CUiDriver& ui, const XKeyboard& keyboard, HWND hControl, const char* pszKeys)
    {
        ui.FocusControl(hControl);
        return keyboard.Press(ui.Sheet(), pszKeys);
    }
    // Print as the sheet's button sends it: handled when SendPrint returns; PressPrint
    // returns when the run has ended.
    static void SendPrint(CUiDriver& ui)
    {
        Send(ui.Sheet(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ui.SheetButton(IDOK)));
    }
    static void PressPrint(CUiDriver& ui)
    {
        SendPrint(ui);
        EXPECT_TRUE(ui.WaitForRunEnd());
    }
    // The same without waiting, for runs that end in a message.
    static void PostPrint(CUiDriver& ui)
    {
        PostMessageW(ui.Sheet(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ui.SheetButton(IDOK)));
    }
    std::string WaitForCapture(size_t nJobs, const TestPrinter* pPrinter = nullptr)
    {
        std::string strCapture;
        CUiDriver::WaitUntil(
            [&] {
                strCapture = WinePrinters::ReadCapture(pPrinter ? *pPrinter : *m_pPrinter);
                size_t nStarts = 0;
                for (size_t at = 0; (at = strCapture.find(kUEL + "@PJL", at)) != std::string::npos; ++at)
                    ++nStarts;
                return nStarts >= nJobs && strCapture.ends_with(kUEL);
            },
            15000);
        return strCapture;
    }
    std::wstring DismissMessage(CUiDriver& ui)
    {
        HWND hMessage = ui.WaitForMessageDialog(8000);
        if (!hMessage)
            return L"(no message)";
        const std::wstring strText = ui.MessageText(hMessage);
        PostMessageW(GetDlgItem(hMessage, IDOK), BM_CLICK, 0, 0);
        CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() == nullptr; }, 5000);
        return strText;
    }

    WinePrinters m_printers{L"E2E"};
    const TestPrinter* m_pPrinter = nullptr;
    std::filesystem::path m_folder;
    std::unique_ptr<CUiDriver> m_driver;
};

}  // namespace

TEST_F(LumeoEndToEnd, PrintsTwoFilesWithTheAdvancedChoicesInListOrder)
{
    const Paths files = {MakeFile(L"first.pdf", kPdfBytes), MakeFile(L"second.jpg", kJpegBytes)};
    CUiDriver& ui = Start(files);
    ASSERT_EQ(ui.ListItems(IDC_LIST_FILE), files);
    ui.SetText(ui.Control(IDC_EDIT_COPIES), L"2");

    HWND hAdvanced = OpenAdvancedPage(ui);
    ASSERT_NE(hAdvanced, nullptr);
    ChooseInBlackAndWhite(ui, hAdvanced, IDC_RADIO_DUPLEX_LONG, 4, 2, L"150");
    PressPrint(ui);

    const Expected expected{.strColor = "MONO", .strDuplex = kLongEdge, .nZoom = 150, .nCopies = 2,
                            .strPaper = "A4", .strPaperType = "THICK"};
    EXPECT_EQ(WaitForCapture(2), expected.Job("PDF", kPdfBytes) + expected.Job("JPEG", kJpegBytes));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
    EXPECT_EQ(ui.FindMessageDialog(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(ui.Control(IDC_BUTTON_REMOVE)));

    // The sheet stays open with the options kept, ready for the next run.
    WinePrinters::ClearCapture(*m_pPrinter);
    ui.Click(GetDlgItem(hAdvanced, IDC_CHECK_ZOOM_FIT));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hAdvanced, IDC_EDIT_ZOOM)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hAdvanced, IDC_SPIN_ZOOM)));
    EXPECT_EQ(ui.Close(), static_cast<DWORD>(0));
}

TEST_F(LumeoEndToEnd, ARunBeforeTheAdvancedPageWasOpenedSendsTheSheetsDefaults)
{
    CUiDriver& ui = Start({MakeFile(L"only.pdf", kPdfBytes)});
    SetPageRange(ui, L"2", L"7");
    PressPrint(ui);
    EXPECT_EQ(WaitForCapture(1), (Expected{.nFrom = 2, .nTo = 7}.Job("PDF", kPdfBytes)));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
}

TEST_F(LumeoEndToEnd, AZoomOutOfRangeIsNeitherSentNorReplacedAndTheRangeIsSaid)
{
    const std::wstring strPdf = MakeFile(L"zoom.pdf", kPdfBytes);
    CUiDriver& ui = Start({strPdf});
    HWND hAdvanced = OpenAdvancedPage(ui);
    ASSERT_NE(hAdvanced, nullptr);
    HWND hZoom = GetDlgItem(hAdvanced, IDC_EDIT_ZOOM);
    ui.SetText(hZoom, L"250");
    Send(ui.Sheet(), PSM_SETCURSEL, 0);
    SendPrint(ui);  // before the zoom timer has run
    EXPECT_EQ(CurrentPage(ui), hAdvanced);
    EXPECT_EQ(ui.TipText(), L"Enter a number from 50 to 200.");
    EXPECT_EQ(CUiDriver::Text(hZoom), L"250");
    Sleep(1500);
    EXPECT_EQ(CUiDriver::Text(hZoom), L"250") << "the timer leaves it too";
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strPdf});
}

TEST_F(LumeoEndToEnd, PrintWithAnEmptyListShowsMessage5)
{
    CUiDriver& ui = Start({});
    PostPrint(ui);
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOFILES"));
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
}

TEST_F(LumeoEndToEnd, FromAboveToOrAPageBoundOfZeroShowsMessage7AndKeepsTheFiles)
{
    const std::wstring strPdf = MakeFile(L"range.pdf", kPdfBytes);
    for (const auto& [pszFrom, pszTo] : {std::pair(L"5", L"3"), std::pair(L"0", L"3")}) {
        SCOPED_TRACE(Utf8(std::wstring(pszFrom) + L"-" + pszTo));
        CUiDriver& ui = Start({strPdf});
        SetPageRange(ui, pszFrom, pszTo);
        PostPrint(ui);
        EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_INVALIDPRNRANGE"));
        EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_EDIT_FROM)), L"1");
        EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_EDIT_TO)), L"1");
        EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strPdf});
        EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
    }
}

TEST_F(LumeoEndToEnd, AFileGoneBeforePrintStaysListedWithItsReasonAndTheOthersPrint)
{
    const std::wstring strGone = MakeFile(L"gone.pdf", kPdfBytes);
    CUiDriver& ui = Start({MakeFile(L"one.pdf", kPdfBytes), strGone, MakeFile(L"three.pdf", kPdfBytes)});
    ASSERT_EQ(ui.ListItems(IDC_LIST_FILE).size(), 3u);
    std::filesystem::remove(strGone);
    PostPrint(ui);
    // One summary for the run, no message per file.
    EXPECT_EQ(DismissMessage(ui), L"2 of 3 files sent to " + kPrinter + L".\r\ngone.pdf \x2014 not found");
    EXPECT_EQ(WaitForCapture(2), kPdfJob + kPdfJob);
    EXPECT_EQ(ui.FindMessageDialog(), nullptr);
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strGone});
    EXPECT_EQ(ui.StatusText(), L"2 of 3 files sent to " + kPrinter + L".");
}

TEST_F(LumeoEndToEnd, DocumentsThatAreNotWhatTheySayNeverReachThePrinter)
{
    // A text named .pdf stays out of the list, and so does a PDF carrying the PJL exit
    // (across the first two blocks of a read) and a language switch. One that takes them
    // on once it is listed is refused at Print.
    const std::string strPjl = "%PDF-1.4\n" + std::string((1 << 20) - 13, '%') + "\x1B%-12345X@PJL ENTER LANGUAGE=POSTSCRIPT";
    const std::wstring strText = MakeFile(L"letter.pdf", "Dear reader,\r\n");
    const std::wstring strListed = MakeFile(L"hostile.pdf", kPdfBytes), strHostile = MakeFile(L"pjl.pdf", strPjl);
    CUiDriver& ui = Start({strText, strHostile, strListed});
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOSUPPORT") + L"\r\nletter.pdf \x2014 not a PDF document\r\n"
                                  L"pjl.pdf \x2014 holds printer commands");
    ASSERT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strListed});
    MakeFile(L"hostile.pdf", strPjl);
    PostPrint(ui);
    EXPECT_EQ(DismissMessage(ui), L"0 of 1 file sent to " + kPrinter + L".\r\nhostile.pdf \x2014 holds printer commands");
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strListed});
}

TEST_F(LumeoEndToEnd, ADropOfFiveFilesNamesTheThreeRefusedInOneMessage)
{
    XDrag drag;
    if (!drag.Available())
        GTEST_SKIP() << "xdotool, python3 or GTK's introspection data is not installed";
    const Paths arrFiles = {MakeFile(L"a.pdf", kPdfBytes), MakeFile(L"letter.pdf", "Dear reader,\r\n"),
                            MakeFile(L"b.jpg", kJpegBytes), MakeFile(L"notes.txt", "text"), MakeFile(L"empty.png", "")};
    CUiDriver& ui = Start({});
    RECT rc;
    GetWindowRect(ui.Control(IDC_LIST_FILE), &rc);
    // X's drag and drop is timed by the mouse alone: on a loaded machine the button can come
    // up before Wine has taken the drag, and nothing is dropped. Such a drag is made again.
    for (int nTry = 0; nTry < 3 && !ui.FindMessageDialog(); ++nTry) {
        ASSERT_TRUE(drag.Drop(arrFiles, {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}));
        ui.WaitForMessageDialog(8000);
    }
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOSUPPORT") + L"\r\nletter.pdf \x2014 not a PDF document\r\nnotes.txt "
                                  L"\x2014 the printer takes PDF, JPEG, TIFF, PNG and BMP, not TXT\r\nempty.png "
                                  L"\x2014 empty");
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{arrFiles[0], arrFiles[2]}));
    EXPECT_FALSE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() != nullptr; }, 2000)) << "one message";
}

TEST_F(LumeoEndToEnd, EnterPrintsNothingWhileThePrinterCannotPrint)
{
    XKEYBOARD_OR_SKIP(keyboard);
    // A port of no known kind (not supported) and a USB port without its device (busy or off).
    const TestPrinter* pUnsupported = m_printers.AddRawPrinter(L"Lumeo E2E Serial", L"COM7:", L"", true);
    const TestPrinter* pBusy = m_printers.AddRawPrinter(L"Lumeo E2E Usb", L"USB047", L"", true);
    ASSERT_TRUE(pUnsupported && pBusy);
    const std::wstring strPdf = MakeFile(L"enter.pdf", kPdfBytes), strExtra = MakeFile(L"extra.pdf", kPdfBytes);
    CUiDriver& ui = Start({strPdf, strExtra});
    ASSERT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{strPdf, strExtra}));
    HWND hCombo = ui.Control(IDC_COMBO_PRINTERLIST);
    HWND hPrint = ui.SheetButton(IDOK);
    // Enter with the focus on the printer list, then Tab: once the focus has moved on,
    // the Enter before it has been handled.
    auto PressEnter = [&] {
        EXPECT_TRUE(TypeInto(ui, keyboard, hCombo, "Return Tab"));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return FocusOf(ui.Sheet()) != hCombo; }, 10000));
    };

    const struct {
        const TestPrinter* pPrinter;
        std::wstring strMessage;
    } cases[] = {
        {pUnsupported, Shown(L"IDL_MESSAGE_NOPRINTERSUPPORT")},
        {pBusy, Shown(L"IDL_MESSAGE_BUSYOROFF")},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(ChoosePrinter(ui, c.pPrinter->strName));
        EXPECT_EQ(DismissMessage(ui), c.strMessage);
        EXPECT_TRUE(IsWindowVisible(hPrint)) << "Print is disabled, not hidden";
        EXPECT_FALSE(IsWindowEnabled(hPrint));
        PressEnter();
        // A print command that arrives all the same is refused.
        SendPrint(ui);
        EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{strPdf, strExtra}));
        EXPECT_EQ(ui.FindMessageDialog(), nullptr);
        EXPECT_EQ(WinePrinters::ReadCapture(*c.pPrinter), "");
    }

    // Back on a printer that takes the file, the same Enter prints it.
    EXPECT_TRUE(ChoosePrinter(ui, kPrinter));
    EXPECT_TRUE(IsWindowVisible(hPrint));
    EXPECT_TRUE(IsWindowEnabled(hPrint));
    // Enter on a focused button presses that button, not Print.
    ui.SelectListItems(IDC_LIST_FILE, {1});
    EXPECT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_BUTTON_REMOVE), "Return"));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.ListItems(IDC_LIST_FILE) == Paths{strPdf}; }, 10000));
    PressEnter();
    EXPECT_EQ(WaitForCapture(1), kPdfJob);
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
    EXPECT_EQ(WinePrinters::ReadCapture(*pUnsupported), "");
    EXPECT_EQ(WinePrinters::ReadCapture(*pBusy), "");
}

TEST_F(LumeoEndToEnd, KeysWorkAsInAnyDialog)
{
    XKEYBOARD_OR_SKIP(keyboard);
    const Paths files = {MakeFile(L"k1.pdf", kPdfBytes), MakeFile(L"k2.pdf", kPdfBytes),
                         MakeFile(L"k3.jpg", kJpegBytes)};
    CUiDriver& ui = Start(files);
    // Types the keys and waits for what they do.
    const auto Press = [&](const char* pszKeys, const std::function<bool()>& fnDone) {
        EXPECT_TRUE(keyboard.Press(ui.Sheet(), pszKeys)) << pszKeys;
        return CUiDriver::WaitUntil(fnDone, 5000);
    };
    const auto Checked = [](HWND hButton) { return Send(hButton, BM_GETCHECK) == BST_CHECKED; };
    // Delete removes the selected file; Ctrl+A selects the others and Delete removes them.
    ui.SelectListItems(IDC_LIST_FILE, {1});
    ui.FocusControl(ui.Control(IDC_LIST_FILE));
    EXPECT_TRUE(Press("Delete", [&] { return ui.ListItems(IDC_LIST_FILE) == Paths{files[0], files[2]}; }));
    EXPECT_TRUE(Press("ctrl+a Delete", [&] { return ui.ListItems(IDC_LIST_FILE).empty(); }));
    EXPECT_FALSE(IsWindowEnabled(ui.Control(IDC_BUTTON_REMOVE)));

    // Alt and a label's key: Pag&es checks its button, C&opies takes the keys to its edit.
    EXPECT_TRUE(Press("alt+e", [&] { return Checked(ui.Control(IDC_RADIO_PRINTRANGE_PAGES)); }));
    EXPECT_TRUE(IsWindowEnabled(ui.Control(IDC_EDIT_FROM)));
    EXPECT_TRUE(Press("alt+o", [&] { return FocusOf(ui.Sheet()) == ui.Control(IDC_EDIT_COPIES); }));
    // 150 copies typed: Copies takes two digits and says how many it takes.
    EXPECT_TRUE(Press("BackSpace 1 5 0", [&] { return ui.TipText() == L"Enter a number from 1 to 99."; }));
    EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_EDIT_COPIES)), L"15");

    // A tab's key opens its page, where the labels' keys work too; Ctrl+Tab and Ctrl+PgDn turn the pages.
    ASSERT_TRUE(Press("alt+a", [&] { return GetDlgItem(CurrentPage(ui), IDC_COMBO_PAPERSIZE) != nullptr; }));
    HWND hAdvanced = CurrentPage(ui);
    EXPECT_TRUE(Press("alt+m", [&] { return FocusOf(ui.Sheet()) == GetDlgItem(hAdvanced, IDC_EDIT_ZOOM); }));
    EXPECT_TRUE(Press("alt+l alt+f", [&] { return Checked(GetDlgItem(hAdvanced, IDC_CHECK_ZOOM_FIT)); }));
    EXPECT_TRUE(Checked(GetDlgItem(hAdvanced, IDC_RADIO_DUPLEX_LONG)));
    // A page turned by keys takes the focus along: Down then never changes the hidden paper size.
    HWND hPaper = GetDlgItem(hAdvanced, IDC_COMBO_PAPERSIZE);
    const LRESULT nPaper = Send(hPaper, CB_GETCURSEL);
    const auto FocusOnBasic = [&] { return CurrentPage(ui) == ui.Page() && IsChild(ui.Page(), FocusOf(ui.Sheet())); };
    for (const char* pszKeys : {"alt+s ctrl+Prior Down", "ctrl+Next alt+s ctrl+Tab ctrl+Tab Down"}) {
        EXPECT_TRUE(Press(pszKeys, FocusOnBasic)) << pszKeys;
        EXPECT_EQ(Send(hPaper, CB_GETCURSEL), nPaper) << pszKeys;
    }
    EXPECT_TRUE(Press("ctrl+Next", [&] { return CurrentPage(ui) == hAdvanced; }));
    EXPECT_EQ(Send(hPaper, CB_GETCURSEL), nPaper);
    EXPECT_TRUE(Press("ctrl+Tab ctrl+Tab", [&] { return CurrentPage(ui) == ui.Page(); }));  // past Finishing
    EXPECT_TRUE(Press("ctrl+Next", [&] { return CurrentPage(ui) == hAdvanced; }));
    EXPECT_TRUE(Press("alt+b", [&] { return CurrentPage(ui) == ui.Page(); }));
}

TEST_F(LumeoEndToEnd, TheCommandLinesOptionsSendTheJobOfThePagesWithoutAWindowOrAsPresets)
{
    const std::wstring strPdf = MakeFile(L"first.pdf", kPdfBytes), strJpeg = MakeFile(L"second.jpg", kJpegBytes);
    CUiDriver& pages = Start({strPdf, strJpeg});
    pages.SetText(pages.Control(IDC_EDIT_COPIES), L"3");
    SetPageRange(pages, L"2", L"7");
    HWND hAdvanced = OpenAdvancedPage(pages);
    ASSERT_NE(hAdvanced, nullptr);
    ChooseInBlackAndWhite(pages, hAdvanced, IDC_RADIO_DUPLEX_SHORT, 16, 10, L"175");
    PressPrint(pages);
    const Expected expected{.strColor = "MONO", .strDuplex = "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=SHORTEDGE\r\n",
                            .nZoom = 175, .nCopies = 3, .nFrom = 2, .nTo = 7, .strPaper = "JISB4",
                            .strPaperType = "USED"};
    const std::string strPages = WaitForCapture(2);
    EXPECT_EQ(strPages, expected.Job("PDF", kPdfBytes) + expected.Job("JPEG", kJpegBytes));
    m_driver.reset();

    const std::wstring strOptions = L"/copies 3 -PAGES 2-7 /duplex short /color BW /paper jisb4 /type Used /zoom 175";
    WinePrinters::ClearCapture(*m_pPrinter);
    const ScriptRun run = RunScript(LUMEO_PROGRAM_EXE, L"/print /wait 5 /m " + Quoted(kPrinter) + L" " + strOptions +
                                                           L" " + Quoted(strPdf) + L" " + Quoted(strJpeg));
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_EQ(run.strWindows, "");
    EXPECT_EQ(WaitForCapture(2), strPages);

    // The sheet started with the options shows them and prints them, the Advanced page unopened.
    WinePrinters::ClearCapture(*m_pPrinter);
    CUiDriver& ui = Start({strPdf, strJpeg}, kPrinter, true, strOptions);
    EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_EDIT_COPIES)), L"3");
    EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_EDIT_TO)), L"7");
    PressPrint(ui);
    EXPECT_EQ(WaitForCapture(2), strPages);
    hAdvanced = OpenAdvancedPage(ui);
    ASSERT_NE(hAdvanced, nullptr);
    EXPECT_EQ(CUiDriver::Text(GetDlgItem(hAdvanced, IDC_EDIT_ZOOM)), L"175");
    EXPECT_EQ(Send(GetDlgItem(hAdvanced, IDC_COMBO_PAPERTYPE), CB_GETCURSEL), 10);
    EXPECT_EQ(Send(GetDlgItem(hAdvanced, IDC_RADIO_DUPLEX_SHORT), BM_GETCHECK), BST_CHECKED);
}

TEST_F(LumeoEndToEnd, ScriptsExitCodesFromRealCases)
{
    ASSERT_NE(m_printers.AddRawPrinter(L"Lumeo E2E Serial", L"COM7:", L"", true), nullptr);
    const std::wstring strGood = MakeFile(L"\u00dcbersicht \u65e5\u672c.pdf", kPdfBytes);
    const std::wstring strMissing = (m_folder / L"missing.pdf").wstring();
    MakeFile(L"scan2.pdf", "%PDF-1.4 2");
    MakeFile(L"Scan1.pdf", "%PDF-1.4 1");
    MakeFile(L"scan3.txt", "3");
    const std::wstring strScans = Quoted((m_folder / L"s*.pdf").wstring());
    const std::wstring strOnPrinter = L"/print /m " + Quoted(kPrinter) + L" ";
    const Expected fit{.nZoom = 0};
    const std::string strScanJobs = Expected().Job("PDF", "%PDF-1.4 1") + Expected().Job("PDF", "%PDF-1.4 2");
    // A folder anyone may drop files into: a shortcut there is a file like any other.
    std::filesystem::create_directory(m_folder / L"hot");
    MakeFile(L"hot\\a.pdf", "%PDF-1.4 a");
    CoInitialize(nullptr);
    ASSERT_TRUE(MakeShortcut((m_folder / L"hot\\b.lnk").wstring(), MakeFile(L"elsewhere.pdf", kPdfBytes)));
    CoUninitialize();
    const struct {
        std::string strExe;
        std::wstring strArgs;
        DWORD dwExit;
        size_t nJobs;
        std::string strJobs;
    } cases[] = {
        {LUMEO_PROGRAM_EXE, L"/print /bogus " + Quoted(strGood), 1, 0, ""},
        {LUMEO_PROGRAM_EXE, L"/print /copies 100 " + Quoted(strGood), 1, 0, ""},
        {LUMEO_PROGRAM_EXE, strOnPrinter, 1, 0, ""},
        {LUMEO_PROGRAM_EXE, L"/print /m \"Lumeo E2E Serial\" " + Quoted(strGood), 2, 0, ""},
        {LUMEO_PROGRAM_EXE, L"/print /m \"Lumeo E2E Nobody\" " + Quoted(strGood), 2, 0, ""},
        {LUMEO_PROGRAM_EXE, strOnPrinter + Quoted(strMissing) + L" " + Quoted(strGood), 4, 1, kPdfJob},
        {LUMEO_PROGRAM_EXE, strOnPrinter + L"/fit " + strScans + L" " + Quoted((m_folder / L"x*.pdf").wstring()), 4,
         2, fit.Job("PDF", "%PDF-1.4 1") + fit.Job("PDF", "%PDF-1.4 2")},
        {LUMEO_PROGRAM_EXE, strOnPrinter + strScans, 0, 2, strScanJobs},
        {LUMEO_CMD_EXE, strOnPrinter + strScans, 0, 2, strScanJobs},
        {LUMEO_CMD_EXE, strOnPrinter + Quoted((m_folder / L"hot\\*").wstring()), 4, 1,
         Expected().Job("PDF", "%PDF-1.4 a")},
        {LUMEO_CMD_EXE, strOnPrinter + Quoted((m_folder / L"hot\\b.lnk").wstring()), 0, 1, kPdfJob},
    };
    for (const auto& c : cases) {
        WinePrinters::ClearCapture(*m_pPrinter);
        const ScriptRun run = RunScript(c.strExe, c.strArgs);
        EXPECT_EQ(run.dwExit, c.dwExit) << Utf8(c.strArgs);
        EXPECT_EQ(run.strWindows, "") << Utf8(c.strArgs);
        EXPECT_EQ(c.nJobs ? WaitForCapture(c.nJobs) : WinePrinters::ReadCapture(*m_pPrinter), c.strJobs)
            << Utf8(c.strArgs);
    }

    // LumeoCmd's lines, UTF-8 when redirected; a name cannot turn its text's direction there.
    ScriptRun run = RunScript(LUMEO_CMD_EXE, strOnPrinter + Quoted(strGood) + L" " +
                                                 Quoted((m_folder / L"missing\u202Efdp.pdf").wstring()));
    EXPECT_EQ(run.dwExit, 4u);
    EXPECT_EQ(run.strOutput, "Sent: " + Utf8(strGood) + "\r\nRefused (not found): " +
                                 Utf8((m_folder / L"missing\uFFFDfdp.pdf").wstring()) +
                                 "\r\n1 of 2 files sent to Lumeo E2E File.\r\n1 refused: not found\r\n");
    // A spooler that refuses one document and shows the other's job out of paper: 5.
    const std::wstring strRefused = MakeFile(L"refused.pdf", kPdfBytes);
    WinePrinters::ClearCapture(*m_pPrinter);
    run = RunScript(LUMEO_TROUBLED_CMD_EXE, strOnPrinter + Quoted(strRefused) + L" " + Quoted(strGood));
    EXPECT_EQ(run.dwExit, 5u);
    EXPECT_EQ(run.strOutput, "Not sent (the spooler refused it: " + Utf8(SystemErrorText(ERROR_ACCESS_DENIED)) +
                                 "): " + Utf8(strRefused) + "\r\nNot sent (the printer is out of paper): " +
                                 Utf8(strGood) + "\r\n0 of 2 files sent to Lumeo E2E File.\r\n1 not sent: the "
                                 "spooler refused it\r\n1 not sent: the printer is out of paper\r\n");
    EXPECT_EQ(WaitForCapture(1), kPdfJob);
    run = RunScript(LUMEO_CMD_EXE, L"/print -Bogus x.pdf");
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(run.strOutput.rfind("Unknown option: -Bogus\r\nUsage:\r\n  LumeoCmd /print [/m PRINTER]", 0), 0u);
    run = RunScript(LUMEO_CMD_EXE, L"/print -Bogus /json x.pdf");
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(Parsed(run.strOutput), nlohmann::json::parse(R"({"version": 1, "command": "print", "error": {"key":
        "unknown-option", "option": "-Bogus", "value": null}, "exitCode": 1})"));
    run = RunScript(LUMEO_CMD_EXE, L"/?");
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_EQ(run.strOutput.rfind("Usage:\r\n", 0), 0u);
    EXPECT_NE(run.strOutput.find("Paper sizes: ORIGINAL LETTER LEGAL"), std::string::npos);
    // Lumeo.exe has no console: its usage is a message box, which waits for the user.
    run = RunScript(LUMEO_PROGRAM_EXE, L"-?", 4000);
    EXPECT_EQ(run.dwExit, kTimedOut);
    EXPECT_NE(run.strWindows.find("#32770"), std::string::npos);
}

TEST_F(LumeoEndToEnd, MachinePoliciesLockBlackAndWhiteInTheSheetAndInScriptsAndChooseThePrinter)
{
    const TestPrinter* pOther = m_printers.AddRawPrinter(L"Lumeo E2E Other", L"FILE_LumeoE2EOther");
    ASSERT_TRUE(pOther && WinePrinters::MakeDefault(pOther->strName));
    const std::wstring key = L"Software\\Policies\\Lumeo";
    const DWORD one = 1, tooMany = 150;
    RawRegistry reg;
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, key, L"Color", L"BW"));
    ASSERT_TRUE(reg.Set(HKEY_LOCAL_MACHINE, key, L"LockColor", REG_DWORD, &one, 4));
    ASSERT_TRUE(reg.Set(HKEY_LOCAL_MACHINE, key, L"Copies", REG_DWORD, &tooMany, 4));  // out of range: no change
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, key, L"DefaultPrinter", kPrinter));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_CURRENT_USER, key, L"Color", L"auto"));  // the machine's value wins
    // Values not valid are ignored: the user's value counts, and nothing is locked.
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, key, L"Duplex", std::wstring(5000, L'l')));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_CURRENT_USER, key, L"Duplex", L"long"));
    ASSERT_TRUE(reg.Set(HKEY_LOCAL_MACHINE, key, L"LockDuplex", REG_SZ, L"1", 4));
    const std::wstring strPdf = MakeFile(L"locked.pdf", kPdfBytes);
    const Expected mono{.strColor = "MONO", .strDuplex = kLongEdge};

    ScriptRun run = RunScript(LUMEO_CMD_EXE, L"/print /wait 5 " + Quoted(strPdf));
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_EQ(WaitForCapture(1), mono.Job("PDF", kPdfBytes));
    EXPECT_EQ(WinePrinters::ReadCapture(*pOther), "");
    WinePrinters::ClearCapture(*m_pPrinter);
    run = RunScript(LUMEO_CMD_EXE, L"/print /color auto " + Quoted(strPdf));
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(run.strOutput, "Set by your administrator: /color\r\n");

    // The sheet started with /color auto: the colour buttons disabled, their group says why.
    CUiDriver& ui = Start({strPdf}, kPrinter, true, L"/color auto");
    HWND hAdvanced = OpenAdvancedPage(ui);
    ASSERT_NE(hAdvanced, nullptr);
    HWND hAuto = GetDlgItem(hAdvanced, IDC_RADIO_COLORMODE_AUTO), hBW = GetDlgItem(hAdvanced, IDC_RADIO_COLORMODE_BW);
    EXPECT_EQ(CUiDriver::Text(GetDlgItem(hAdvanced, IDC_STATIC_COLORMODE)), L"Colo&r (Set by your administrator)");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hAdvanced, IDC_RADIO_DUPLEX_LONG)));
    // A message that checks Auto all the same is undone.
    Send(hBW, BM_SETCHECK, BST_UNCHECKED);
    Send(hAuto, BM_SETCHECK, BST_CHECKED);
    Send(hAdvanced, WM_COMMAND, MAKEWPARAM(IDC_RADIO_COLORMODE_AUTO, BN_CLICKED), reinterpret_cast<LPARAM>(hAuto));
    PressPrint(ui);
    EXPECT_EQ(WaitForCapture(1), mono.Job("PDF", kPdfBytes));
    for (HWND hRadio : {hAuto, hBW})
        EXPECT_FALSE(IsWindowEnabled(hRadio)) << "after the run too";
    EXPECT_EQ(Send(hBW, BM_GETCHECK), BST_CHECKED);
}

TEST_F(LumeoEndToEnd, TheSheetAnswersDuringTheCopyAndEscapeThenSendsNothing)
{
    XKEYBOARD_OR_SKIP(keyboard);
    // A gigabyte takes seconds to copy into the spool file: long enough for keys to land.
    const std::wstring strBig = MakeFile(L"big.pdf", kPdfBytes);
    std::filesystem::resize_file(strBig, 1ull << 30);
    const Paths files = {strBig, MakeFile(L"small.pdf", kPdfBytes), MakeFile(L"small.jpg", kJpegBytes)};
    CUiDriver& ui = Start(files);
    ASSERT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_COMBO_PRINTERLIST), "Return"));
    ASSERT_TRUE(CUiDriver::WaitUntil([&] { return ui.StatusText() == L"File 1 of 3: big.pdf"; }, 10000));
    // The window's thread answers while the first file is still being copied.
    DWORD_PTR nPermille = 1000;
    ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(ui.Sheet(), IDC_SHEET_PROGRESS), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                                    kSendTimeoutMs, &nPermille));
    EXPECT_LT(nPermille, 500u) << "copied half of the first file's work at most";
    EXPECT_FALSE(IsWindowEnabled(ui.Control(IDC_COMBO_PRINTERLIST)));
    EXPECT_FALSE(IsWindowEnabled(ui.Control(IDC_BUTTON_REMOVE)));
    // The workers' wake-up messages carry nothing: forged ones, whatever they hold, change nothing.
    for (const UINT uMsg : {WM_APP + 20, WM_APP + 21})
        Send(ui.Sheet(), uMsg, 1, 0x7A5E);
    Send(GetParent(ui.Control(IDC_LIST_FILE)), WM_APP + 10, 1, 0x7A5E);
    EXPECT_EQ(ui.StatusText(), L"File 1 of 3: big.pdf");
    EXPECT_FALSE(IsWindowEnabled(ui.SheetButton(IDOK)));
    ASSERT_TRUE(keyboard.Press(ui.Sheet(), "Escape"));

    EXPECT_EQ(DismissMessage(ui), L"Printing cancelled: 0 of 3 files sent to " + kPrinter +
                                      L".\r\nbig.pdf \x2014 printing was cancelled\r\nsmall.pdf \x2014 printing was "
                                      L"cancelled\r\nsmall.jpg \x2014 printing was cancelled");
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), files);
    EXPECT_TRUE(IsWindowEnabled(ui.SheetButton(IDOK)));
    EXPECT_EQ(SpoolFilesNow(), 0) << "a spool file was left behind";

    // Logging off during the copy stops the run before the sheet answers.
    SendPrint(ui);
    ASSERT_TRUE(CUiDriver::WaitUntil([&] { return SpoolFilesNow() > 0; }, 10000));
    EndSession(ui.Sheet());
    EXPECT_EQ(DismissMessage(ui).rfind(L"Printing cancelled: 0 of 3 files sent to ", 0), 0u);
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";

    // Closed during a run, the sheet asks; the run's end answers the question and the sheet closes.
    ASSERT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_COMBO_PRINTERLIST), "Return"));
    ASSERT_TRUE(CUiDriver::WaitUntil([&] { return ui.StatusText() == L"File 1 of 3: big.pdf"; }, 10000));
    ASSERT_TRUE(keyboard.Press(ui.Sheet(), "alt+F4"));
    HWND hQuestion = ui.WaitForMessageDialog(8000);
    ASSERT_NE(hQuestion, nullptr);
    EXPECT_EQ(ui.MessageText(hQuestion), L"Stop printing and close?");
    Send(ui.Sheet(), WM_COMMAND, IDCANCEL);  // a stop ends the run while the question is open
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsWindow(hQuestion) && !IsWindow(ui.Sheet()); }, 20000));
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
}

TEST_F(LumeoEndToEnd, AScriptStoppedByCtrlCTheSessionsEndOrAKillLeavesNoSpoolFileAndNoJob)
{
    // A gigabyte takes seconds to copy into the spool file: a run not stopped would print it.
    const std::wstring strBig = MakeFile(L"big.pdf", kPdfBytes);
    std::filesystem::resize_file(strBig, 1ull << 30);
    ASSERT_EQ(SpoolFilesNow(), 0);
    const struct {
        const char* pszHow;
        std::string strExe;
        std::function<void(const PROCESS_INFORMATION&)> fnStop;
        DWORD dwExit;
    } cases[] = {
        {"Ctrl+C", LUMEO_CMD_EXE, PressCtrlC, 5},
        {"the session's end", LUMEO_PROGRAM_EXE,
         [](const PROCESS_INFORMATION& pi) { EndSession(FindWindowOfProcess(pi.dwProcessId, L"LumeoScriptStop")); },
         5},
        {"a kill", LUMEO_CMD_EXE, [](const PROCESS_INFORMATION& pi) { TerminateProcess(pi.hProcess, 9); }, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszHow);
        const ScriptRun run = RunScript(c.strExe, L"/print /m " + Quoted(kPrinter) + L" " + Quoted(strBig), 60000,
                                        [&](const PROCESS_INFORMATION& pi) {
                                            return SpoolFilesNow() > 0 && (c.fnStop(pi), true);
                                        });
        EXPECT_EQ(run.dwExit, c.dwExit) << run.strOutput;
        EXPECT_EQ(SpoolFilesNow(), 0) << "a spool file was left behind";
        EXPECT_EQ(WinePrinters::ReadCapture(*m_pPrinter).size(), 0u) << "bytes reached the printer";
    }
    // Stopped while the spooler takes the document, as its spooler tells: the job is aborted.
    const HANDLE hHandOver = CreateEventW(nullptr, TRUE, FALSE, L"LumeoTestHandOver");
    const HANDLE hAborted = CreateEventW(nullptr, TRUE, FALSE, L"LumeoTestAborted");
    const std::wstring strHandOver = MakeFile(L"handover.pdf", kPdfBytes);
    std::filesystem::resize_file(strHandOver, 4 << 20);
    const auto handingOver = [&](const PROCESS_INFORMATION& pi) {
        return WaitForSingleObject(hHandOver, 0) == WAIT_OBJECT_0 && (PressCtrlC(pi), true);
    };
    const ScriptRun run =
        RunScript(LUMEO_TROUBLED_CMD_EXE, L"/print /m " + Quoted(kPrinter) + L" " + Quoted(strHandOver), 60000, handingOver);
    EXPECT_EQ(run.dwExit, 5u) << run.strOutput;
    // This spooler calls every job it took out of paper: only the abort makes the file cancelled.
    EXPECT_NE(run.strOutput.find("Not sent (printing was cancelled): "), std::string::npos) << run.strOutput;
    EXPECT_EQ(run.strOutput.find("out of paper"), std::string::npos) << run.strOutput;
    EXPECT_EQ(WaitForSingleObject(hAborted, 0), WAIT_OBJECT_0) << "the job being handed over was not aborted";
    EXPECT_EQ(SpoolFilesNow(), 0) << "a spool file was left behind";
    CloseHandle(hHandOver);
    CloseHandle(hAborted);
}

// What ippeveprinter kept of each job (-k), by the extension of the document: its bytes
// and, from tests/support/ipp_job_script.sh, the IPP_* variables its job had.
std::map<std::string, std::pair<std::string, std::string>> KeptJobs(const IppPeer& printer)
{
    std::map<std::string, std::pair<std::string, std::string>> jobs;
    for (const auto& entry : std::filesystem::directory_iterator(printer.Folder())) {
        const std::filesystem::path env = entry.path().string() + ".env";
        if (std::filesystem::exists(env))
            jobs[entry.path().extension().string()] = {ReadWholeFile(entry.path()), ReadWholeFile(env)};
    }
    return jobs;
}

// ASCII text (URLs, commands) as Windows takes it.
std::wstring Wide(const std::string& strAscii) { return std::wstring(strAscii.begin(), strAscii.end()); }

// A PDF of nBytes that takes no room on disk: its signature, the marks at their places,
// its end, and zeros between.
std::wstring SparsePdf(const std::wstring& strPath, uint64_t nBytes, const std::map<uint64_t, std::string>& marks)
{
    std::ofstream(std::filesystem::path(strPath), std::ios::binary) << "%PDF-1.4\n";
    std::filesystem::resize_file(strPath, nBytes);
    const HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    auto all = marks;
    all[nBytes - 6] = "%%EOF\n";
    for (const auto& [nAt, strMark] : all) {
        LARGE_INTEGER at = {};
        at.QuadPart = static_cast<LONGLONG>(nAt);
        DWORD nWritten = 0;
        SetFilePointerEx(hFile, at, nullptr, FILE_BEGIN);
        WriteFile(hFile, strMark.data(), static_cast<DWORD>(strMark.size()), &nWritten, nullptr);
    }
    CloseHandle(hFile);
    return strPath;
}

// A printer reached by its URL alone, installed nowhere: the real ippeveprinter and the
// hostile responder, judged and heard over IPP, and each file sent there as a job of its own.
TEST_F(LumeoEndToEnd, APrinterReachedByItsUrlAloneIsJudgedHeardAndSentToOverIpp)
{
    IppPeer printer("printer", "-f application/pdf,image/jpeg -k -2 -c " LUMEO_SOURCE_DIR
                               "/tests/support/ipp_job_script.sh"),
        raster("printer", "-f image/pwg-raster");
    IppPeer hostile("hostile");
    ASSERT_TRUE(printer.Ready() && raster.Ready() && hostile.Ready()) << printer.Failure() << hostile.Failure();
    const auto Run = [](const std::wstring& strRun, const std::string& strUrl, const std::wstring& strFile = L"") {
        return RunScript(LUMEO_CMD_EXE, strRun + L" /m " + std::wstring(strUrl.begin(), strUrl.end()) + strFile);
    };
    const std::string strUrl = printer.Url("ipp", "127.0.0.1", "/ipp/print");
    const std::wstring strPdf = L" " + Quoted(MakeFile(L"url.pdf", kPdfBytes));
    ScriptRun run = Run(L"/probe", strUrl);
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_EQ(run.strOutput, "Printer: " + strUrl + "\r\nInstalled nowhere: reached by its URL alone.\r\n"
                                 "IPP request to " + strUrl + ": answered\r\nDevice ID: MFG:Example;MDL:Printer;CMD:PDF,JPEG;\r\n"
                                 "Files it takes: .pdf .jpg .jpeg .jpe .jfif\r\nVerdict: Lumeo can print on this "
                                 "printer.\r\nRoad: IPP to " + strUrl +
                                 "\r\nState: Ready\r\nThe printer says: Idle.\r\nSupply: Toner Waste Tank: 25 % full\r\nSupply: Black "
                                 "Toner: 75 %\r\nTray: auto (media unknown): unknown\r\nTray: main "
                                 "(Letter): 40 %\r\nTray: manual (media unknown): unknown\r\nTray: "
                                 "by-pass-tray (Number-10): unknown\r\nTrays to choose (/tray): Main "
                                 "tray (main), Manual feed (manual), Bypass tray (by-pass-tray)\r\nOutput bins (/bin): "
                                 "Face down (face-down)\r\nFinishing (/finish): (none)\r\nPIN printing (/pin): not "
                                 "offered\r\n");
    // A URL that names no printer there: told as that, never as a printer that answered.
    run = Run(L"/probe", strUrl + "?x");
    EXPECT_NE(run.strOutput.find("?x: no printer at this URL (client-error-not-found)\r\nDevice ID: (none)"
                                 "\r\nFiles it takes: (none)\r\nVerdict: No printer answered over the network."),
              std::string::npos) << run.strOutput;
    // Options the printer cannot carry or does not list: refused before anything is sent;
    // a printer that does not fit to page is not advised to.
    for (const auto& [pszOptions, strReason] :
         {std::pair(L"/zoom 150", std::string("a zoom of 150 % cannot be sent to a printer over IPP, and this printer "
                                              "does not fit to page; choose 100 %")),
          {L"/fit", "the printer does not support print-scaling=fit"}}) {
        run = Run(L"/print " + std::wstring(pszOptions), strUrl, strPdf);
        EXPECT_EQ(run.dwExit, 4u);
        EXPECT_NE(run.strOutput.find("Not sent (" + strReason + "): "), std::string::npos) << run.strOutput;
    }
    EXPECT_TRUE(KeptJobs(printer).empty());
    // Each file its own job in its own format, byte for byte, its options as IPP attributes,
    // followed to its count.
    const std::wstring strJpeg = MakeFile(L"photo.jpg", kJpegBytes);
    run = Run(L"/print /copies 2 /duplex long /color bw /paper a4 /pages 1-2", strUrl, strPdf + L" " + Quoted(strJpeg));
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("2 of 2 files sent to " + strUrl + ".\r\nurl.pdf \xE2\x80\x94 printed, 3 pages\r\n"
                                 "photo.jpg \xE2\x80\x94 printed, 3 pages\r\n"), std::string::npos) << run.strOutput;
    const auto jobs = KeptJobs(printer);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs.at(".pdf").first, kPdfBytes);
    EXPECT_EQ(jobs.at(".jpg").first, kJpegBytes);
    char szUser[257] = {};
    DWORD nUser = sizeof(szUser);
    ASSERT_TRUE(GetUserNameA(szUser, &nUser));
    for (const std::string& strAttribute :
         {std::string("IPP_COPIES=2\n"), std::string("IPP_SIDES=two-sided-long-edge\n"),
          std::string("IPP_MEDIA=iso_a4_210x297mm\n"), std::string("IPP_PRINT_COLOR_MODE=monochrome\n"),
          "IPP_JOB_ORIGINATING_USER_NAME=" + std::string(szUser) + "\n"}) {
        const char* pszAttribute = strAttribute.c_str();
        EXPECT_NE(jobs.at(".pdf").second.find(pszAttribute), std::string::npos) << pszAttribute;
        EXPECT_NE(jobs.at(".jpg").second.find(pszAttribute), std::string::npos) << pszAttribute;
    }
    for (const auto& [strExt, pszFormat, pszName] : {std::tuple(".pdf", "application/pdf", "url.pdf"),
                                                      {".jpg", "image/jpeg", "photo.jpg"}}) {
        EXPECT_NE(jobs.at(strExt).second.find("IPP_DOCUMENT_FORMAT_SUPPLIED=" + std::string(pszFormat) + "\n"),
                  std::string::npos);
        EXPECT_NE(jobs.at(strExt).second.find("IPP_JOB_NAME=" + std::string(pszName) + "\n"), std::string::npos);
    }
    EXPECT_NE(jobs.at(".pdf").second.find("IPP_PAGE_RANGES=1-2\n"), std::string::npos) << jobs.at(".pdf").second;
    EXPECT_EQ(jobs.at(".jpg").second.find("IPP_PAGE_RANGES"), std::string::npos);
    // Stopped while the printer prints the job: it is cancelled there.
    const std::string strLog = printer.Folder() + "/log";
    const auto Printing = [&] {
        const std::string strText = ReadWholeFile(strLog);
        size_t n = 0;
        for (size_t at = 0; (at = strText.find("Running command", at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    const auto nPrinting = Printing();
    run = RunScript(LUMEO_CMD_EXE, L"/print /m " + std::wstring(strUrl.begin(), strUrl.end()) + L" " +
                    Quoted(MakeFile(L"slow.pdf", kPdfBytes)), 60000,
                    [&](const PROCESS_INFORMATION& pi) { return Printing() > nPrinting && (PressCtrlC(pi), true); });
    EXPECT_EQ(run.dwExit, 5u) << run.strOutput;
    EXPECT_NE(ReadWholeFile(strLog).find("Cancel-Job successful-ok"), std::string::npos) << ReadWholeFile(strLog);
    // A job the printer aborts with a jam: not sent, not counted, the trouble in the printer's words.
    run = Run(L"/print", strUrl, L" " + Quoted(MakeFile(L"jam.pdf", kPdfBytes)));
    EXPECT_EQ(run.dwExit, 5u);
    EXPECT_NE(run.strOutput.find("Not sent (the printer reports: Job aborted. Paper jam): "), std::string::npos)
        << run.strOutput;
    EXPECT_NE(run.strOutput.find("0 of 1 file sent"), std::string::npos) << run.strOutput;
    run = Run(L"/print /json", strUrl, L" " + Quoted(MakeFile(L"jam.pdf", kPdfBytes)));
    EXPECT_EQ(Parsed(run.strOutput)["printerReport"], nlohmann::json::parse(R"({"verdict": "trouble", "pages": null,
        "trouble": "Job aborted. Paper jam"})")) << run.strOutput;

    const std::string strRaster = raster.Url("ipp", "127.0.0.1", "/ipp/print");
    run = Run(L"/probe", strRaster);
    EXPECT_EQ(run.dwExit, 2u);
    EXPECT_NE(run.strOutput.find("\r\nDevice ID: MFG:Example;MDL:Printer;CMD:PWG;\r\nFiles it takes: (none)\r\n"),
              std::string::npos) << run.strOutput;
    run = Run(L"/print", strRaster, strPdf);
    EXPECT_EQ(run.dwExit, 2u);
    EXPECT_EQ(run.strOutput, "Lumeo cannot print on this printer: it takes no PDF, JPEG, TIFF, PNG or BMP files "
                             "directly. Name another printer with /m.\r\n");

    // Stopped by a jam, in words with an escape sequence.
    const std::string strJammed = hostile.Url("ipp", "127.0.0.1", "/jammed");
    run = Run(L"/print", strJammed, strPdf);
    EXPECT_EQ(run.dwExit, 6u);
    EXPECT_EQ(run.strOutput, "The printer reports it cannot print now: Paper jam [2J in tray 1\r\n");
    run = Run(L"/probe", strJammed);
    EXPECT_EQ(run.dwExit, 6u);
    EXPECT_NE(run.strOutput.find("\r\nState: Stopped\r\nCannot print: Paper jam [2J in tray 1\r\n"), std::string::npos);

    // A sign-in asked for over plain HTTP by a printer without TLS is not answered (exit 7).
    for (const auto& [pszPath, strReason, dwExit] :
         {std::tuple("/garbage", "the answer is not HTTP", 3u), {"/cut", "the answer is cut short", 3u},
          {"/slow", "no answer in time", 3u}, {"/redirect-other", "redirected elsewhere, not followed", 3u},
          {"/auth", "the printer asks for a password, and would send your password unencrypted", 7u}}) {
        const std::string strHostile = hostile.Url("ipp", "127.0.0.1", pszPath);
        run = Run(L"/probe", strHostile);
        EXPECT_EQ(run.dwExit, dwExit) << pszPath;
        EXPECT_NE(run.strOutput.find("\r\nIPP request to " + strHostile + ": " + strReason + "\r\nDevice ID: (none)"),
                  std::string::npos) << run.strOutput;
    }
    const std::string strGarbage = hostile.Url("http", "127.0.0.1", "/garbage");
    run = Run(L"/probe /json", strGarbage);
    EXPECT_EQ(Parsed(run.strOutput), nlohmann::json::parse(R"({"version": 1, "command": "probe", "printers": [{
        "printer": ")" + strGarbage + R"(", "port": null, "route": {"kind": "ipp", "answered": false, "requests": [{
        "url": ")" + strGarbage + R"(", "answered": false, "reason": "the answer is not HTTP"}]}, "deviceId": null,
        "types": [], "verdict": "no-answer", "certificate": null, "road": {"kind": "ipp", "url": ")" + strGarbage + R"("},
        "state": {"status": "unknown", "conditions": [], "message": null, "reports": [], "pageCounter": null,
        "supplies": [], "trays": []}, "ticket": null}], "exitCode": 3})"));

    // A file that grows while the printer holds its upload: its last block never goes, and
    // its job is cancelled there.
    const std::string strHeld = hostile.Folder();
    const std::wstring strGrowing = SparsePdf(MakeFile(L"growing.pdf", ""), 64u << 20, {});
    run = RunScript(LUMEO_CMD_EXE, L"/print /m " + Wide(hostile.Url("ipp", "127.0.0.1", "/stalling")) + L" " +
                                       Quoted(strGrowing), 120000, [&](const PROCESS_INFORMATION&) {
        if (!std::filesystem::exists(strHeld + "/stalled"))
            return false;
        const std::string strScript = "printf grown >> '" + WineUnixPath(strGrowing) + "'; touch '" +
                                      strHeld.substr(2) + "/go'";
        StartDetached(L"\"" + WineWindowsPath("/bin/sh") + L"\" -c \"" + Wide(strScript) + L"\"");
        return true;
    });
    EXPECT_EQ(run.dwExit, 4u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("Not sent (changed while it was being sent): "), std::string::npos) << run.strOutput;
    EXPECT_EQ(ReadWholeFile(strHeld + "/cancelled"), "cancel-job\n");
    EXPECT_FALSE(std::filesystem::exists(strHeld + "/counted")) << "the printer had the whole document";

    // Ctrl+C or the session's end while a printer that takes Print-Job alone holds the upload:
    // the held write is ended, far sooner than the responder lets it go.
    const std::wstring strHolding = Wide(hostile.Url("ipp", "127.0.0.1", "/holding"));
    for (const auto& [pszHow, strExe, fnStop] :
         {std::tuple<const char*, std::string, void (*)(const PROCESS_INFORMATION&)>{"Ctrl+C", LUMEO_CMD_EXE, PressCtrlC},
          {"the session's end", LUMEO_PROGRAM_EXE, [](const PROCESS_INFORMATION& pi) {
               EndSession(FindWindowOfProcess(pi.dwProcessId, L"LumeoScriptStop"));
           }}}) {
        SCOPED_TRACE(pszHow);
        for (const char* pszLeft : {"/stalled", "/go", "/cancelled"})
            std::filesystem::remove(strHeld + pszLeft);
        run = RunScript(strExe, L"/print /m " + strHolding + L" " + Quoted(strGrowing), 30000,
                        [&](const PROCESS_INFORMATION& pi) {
                            return std::filesystem::exists(strHeld + "/stalled") && (fnStop(pi), true);
                        });
        EXPECT_EQ(run.dwExit, 5u) << run.strOutput;
        if (strExe == LUMEO_CMD_EXE) {  // Lumeo.exe writes no lines
            EXPECT_NE(run.strOutput.find("printing was cancelled"), std::string::npos) << run.strOutput;
        }
    }

    // Past 4 GiB to a printer that takes Print-Job alone: every byte in its place, the
    // count in the JSON, and the memory flat.
    const uint64_t nHuge = (4ull << 30) + (3u << 20) + 5;
    const std::map<uint64_t, std::string> marks = {{(4ull << 30) - 2, "EDGE"}, {3ull << 30, "3G"}};
    const std::wstring strHuge = SparsePdf(MakeFile(L"huge.pdf", ""), nHuge, marks);
    SIZE_T nPeak = 0;
    run = RunScript(LUMEO_CMD_EXE, L"/print /json /m " + Wide(hostile.Url("ipp", "127.0.0.1", "/counting")) + L" " +
                                       Quoted(strHuge), 600000, [&](const PROCESS_INFORMATION& pi) {
        PROCESS_MEMORY_COUNTERS counters = {};
        if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)))
            nPeak = std::max(nPeak, counters.PeakWorkingSetSize);
        return false;
    });
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_EQ(Parsed(run.strOutput)["files"][0]["pages"], 1) << run.strOutput;
    EXPECT_EQ(Parsed(run.strOutput)["printerReport"], nlohmann::json::parse(R"({"verdict":"done","pages":1,"trouble":null})"));
    // The responder's count: the length, then each run of bytes that are not zero at its offset, in hex.
    EXPECT_EQ(ReadWholeFile(strHeld + "/counted"), "4298113029\n0 255044462d312e340a\n3221225472 3347\n"
                                                   "4294967294 45444745\n4298113023 2525454f460a\n");
    // Framed by a length past 32 bits: the attributes and the whole file, never chunked.
    unsigned long long nLength = 0, nAttributes = 0;
    char szChunked[16] = {};
    ASSERT_EQ(sscanf(ReadWholeFile(strHeld + "/framing").c_str(), "content-length=%llu attributes=%llu "
                     "transfer-encoding=%15s", &nLength, &nAttributes, szChunked), 3);
    EXPECT_GT(nAttributes, 8u);
    EXPECT_EQ(nLength, nAttributes + 4298113029ull);
    EXPECT_STREQ(szChunked, "none");
    EXPECT_GT(nPeak, 0u);
    EXPECT_LT(nPeak, 200u << 20) << "the file was held in memory";
}

// A printer's own certificate is pinned at the first contact; the same printer started again with
// another one gets nothing (exit 7, both fingerprints) until /trust; the policy "system" takes
// none. A printer that asks for a sign-in takes the one from LUMEO_PASSWORD and refuses a wrong one.
TEST_F(LumeoEndToEnd, APrintersOwnCertificateIsPinnedAndItsSignInGoesOverTlsOnly)
{
    const std::string strFormats = "-f application/pdf -k -c " LUMEO_SOURCE_DIR "/tests/support/ipp_job_script.sh";
    auto printer = std::make_unique<IppPeer>("printer-tls", strFormats);
    ASSERT_TRUE(printer->Ready()) << printer->Failure();
    const unsigned short nPort = printer->Port();
    const std::wstring strUrl = Wide(printer->Url("ipps", "localhost", "/ipp/print"));
    const std::wstring strPdf = L" " + Quoted(MakeFile(L"tls.pdf", kPdfBytes));
    const auto Run = [&](const std::wstring& strRun) { return RunScript(LUMEO_CMD_EXE, strRun + L" /m " + strUrl); };
    const auto Fingerprint = [](const std::string& strOutput) {
        const size_t at = strOutput.find("Certificate: SHA-256 ");
        return at == std::string::npos ? std::string() : strOutput.substr(at + 21, 95);
    };
    ScriptRun run = Run(L"/probe");
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(run.strOutput.find(", trusted on first use on "), std::string::npos) << run.strOutput;
    const std::string strFirst = Fingerprint(run.strOutput);

    printer.reset();
    printer = std::make_unique<IppPeer>("printer-tls", strFormats, nPort);
    ASSERT_TRUE(printer->Ready()) << printer->Failure();
    run = Run(L"/print" + strPdf);
    EXPECT_EQ(run.dwExit, 7u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("its certificate has changed (SHA-256 "), std::string::npos) << run.strOutput;
    EXPECT_NE(run.strOutput.find(" instead of " + strFirst + ")"), std::string::npos) << run.strOutput;
    EXPECT_TRUE(KeptJobs(*printer).empty()) << "the printer had the document";
    const nlohmann::json probe = Parsed(Run(L"/probe /json").strOutput)["printers"][0];
    EXPECT_EQ(probe["verdict"], "certificate-changed");
    EXPECT_EQ(probe["certificate"]["trust"], nullptr);
    run = Run(L"/probe /trust");
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(Fingerprint(run.strOutput), strFirst);
    EXPECT_EQ(Run(L"/print" + strPdf).dwExit, 0u);
    EXPECT_EQ(KeptJobs(*printer).size(), 1u);

    const std::wstring strPolicies = L"Software\\Policies\\Lumeo";
    RegSetKeyValueW(HKEY_CURRENT_USER, strPolicies.c_str(), L"IppCertificates", REG_SZ, L"system", 14);
    run = Run(L"/probe /json");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, strPolicies.c_str(), L"IppCertificates");
    EXPECT_EQ(run.dwExit, 7u) << run.strOutput;
    EXPECT_EQ(Parsed(run.strOutput)["printers"][0]["verdict"], "certificate-not-trusted");

    IppPeer signIn("printer-sign-in", strFormats);
    if (!signIn.Skipped().empty())
        GTEST_SKIP() << signIn.Skipped();
    ASSERT_TRUE(signIn.Ready()) << signIn.Failure();
    const std::wstring strSignIn = L" /m " + Wide(signIn.Url("ipps", "localhost", "/ipp/print")) + strPdf;
    for (const auto& [pszPassword, dwExit, strLine] :
         {std::tuple("", 7u, "the printer asks for a user name and password"),
          {"wrong", 7u, "the printer refused the sign-in for lumeoipp"}, {"Lumeo-Test-42", 0u, "Sent: "}}) {
        SetEnvironmentVariableA("LUMEO_PASSWORD", *pszPassword ? pszPassword : nullptr);
        run = RunScript(LUMEO_CMD_EXE, std::wstring(*pszPassword ? L"/print /user lumeoipp" : L"/print") + strSignIn);
        EXPECT_EQ(run.dwExit, dwExit) << run.strOutput;
        EXPECT_NE(run.strOutput.find(strLine), std::string::npos) << run.strOutput;
        EXPECT_EQ(run.strOutput.find("Lumeo-Test-42"), std::string::npos);
    }
    SetEnvironmentVariableA("LUMEO_PASSWORD", nullptr);
    // A sign-in remembered in Credential Manager is taken without being asked for.
    std::wstring strTarget = L"Lumeo:ipps://localhost:" + std::to_wstring(signIn.Port()), strUser = L"lumeoipp";
    std::wstring strPassword = L"Lumeo-Test-42";
    CREDENTIALW credential = {};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = strTarget.data();
    credential.UserName = strUser.data();
    credential.CredentialBlob = reinterpret_cast<BYTE*>(strPassword.data());
    credential.CredentialBlobSize = static_cast<DWORD>(strPassword.size() * sizeof(wchar_t));
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    ASSERT_TRUE(CredWriteW(&credential, 0)) << GetLastError();
    run = RunScript(LUMEO_CMD_EXE, L"/print" + strSignIn);
    CredDeleteW(strTarget.c_str(), CRED_TYPE_GENERIC, 0);
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("Sent: "), std::string::npos) << run.strOutput;
}

// The sheet pins a printer's own certificate on first use and shows it in the card; a new one is
// trusted only when the user says so (No the default). A printer that asks for a sign-in gets
// it from the sheet's dialog, typed with real keys; a refused one is asked again.
TEST_F(LumeoEndToEnd, TheSheetAsksBeforeTrustingAChangedCertificateAndSignsInInItsDialog)
{
    XKEYBOARD_OR_SKIP(keyboard);
    const std::string strFormats = "-f application/pdf -k -c " LUMEO_SOURCE_DIR "/tests/support/ipp_job_script.sh";
    auto printer = std::make_unique<IppPeer>("printer-tls", strFormats);
    ASSERT_TRUE(printer->Ready()) << printer->Failure();
    const unsigned short nPort = printer->Port();
    const TestPrinter* pTls = m_printers.AddRawPrinter(L"Lumeo E2E Ipps", Wide(printer->Url("ipps", "localhost", "/ipp/print")));
    ASSERT_NE(pTls, nullptr);
    const std::wstring strPdf = MakeFile(L"tls.pdf", kPdfBytes);
    const auto Card = [](CUiDriver& ui) {
        PostMessageW(GetDlgItem(ui.Sheet(), IDC_SHEET_STATUS), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        CUiDriver::WaitUntil([] { return IsWindowVisible(FindWindowW(L"LumeoStateCard", nullptr)); }, 5000);
        return CUiDriver::Text(FindWindowW(L"LumeoStateCard", nullptr));
    };
    EXPECT_NE(Card(Start({strPdf}, pTls->strName)).find(L"Certificate: SHA-256 "), std::wstring::npos);

    m_driver.reset();
    printer.reset();
    printer = std::make_unique<IppPeer>("printer-tls", strFormats, nPort);
    ASSERT_TRUE(printer->Ready()) << printer->Failure();
    CUiDriver& ui = Start({strPdf}, pTls->strName);
    EXPECT_EQ(ui.StatusText().rfind(L"The printer could not be reached safely: its certificate has changed. F5", 0), 0u)
        << ui.StatusText();
    EXPECT_NE(Card(ui).find(L" instead of "), std::wstring::npos);
    for (const char* pszAnswer : {"Return", "shift+Tab Return"}) {
        HWND hQuestion = ui.WaitForMessageDialog(10000);
        ASSERT_NE(hQuestion, nullptr);
        EXPECT_NE(ui.MessageText(hQuestion).find(L"Trust the new certificate?"), std::wstring::npos);
        ASSERT_TRUE(keyboard.Press(hQuestion, pszAnswer));  // Enter alone answers No
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsWindow(hQuestion); }, 5000));
        if (*pszAnswer == 'R') {
            EXPECT_FALSE(IsWindowEnabled(ui.SheetButton(IDOK)));
            ASSERT_TRUE(keyboard.Press(ui.Sheet(), "F5"));
        }
    }
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsWindowEnabled(ui.SheetButton(IDOK)); }, 15000)) << ui.StatusText();
    EXPECT_TRUE(KeptJobs(*printer).empty());
    PressPrint(ui);
    EXPECT_EQ(KeptJobs(*printer).size(), 1u) << ui.StatusText();

    m_driver.reset();
    IppPeer signIn("printer-sign-in", strFormats);
    if (!signIn.Skipped().empty())
        GTEST_SKIP() << signIn.Skipped();
    ASSERT_TRUE(signIn.Ready()) << signIn.Failure();
    const TestPrinter* pSignIn = m_printers.AddRawPrinter(L"Lumeo E2E Sign-in", Wide(signIn.Url("ipps", "localhost", "/ipp/print")));
    ASSERT_NE(pSignIn, nullptr);
    CUiDriver& sheet = Start({strPdf}, pSignIn->strName);
    PostPrint(sheet);
    const auto SignInDialog = [](const CUiDriver& ui, DWORD dwWaitMs = 15000) {
        HWND hFound = nullptr;
        CUiDriver::WaitUntil([&] {
            for (HWND hWnd : ui.ProcessWindows())
                if (IsWindowVisible(hWnd) && GetDlgItem(hWnd, IDC_SIGNIN_PASSWORD))
                    hFound = hWnd;
            return hFound != nullptr;
        }, dwWaitMs);
        return hFound;
    };
    for (const char* pszPassword : {"w r o n g", "L u m e o minus T e s t minus 4 2"}) {
        HWND hDialog = SignInDialog(sheet);
        ASSERT_NE(hDialog, nullptr);
        if (*pszPassword == 'w')
            sheet.SetText(GetDlgItem(hDialog, IDC_SIGNIN_USER), L"lumeoipp");
        else
            EXPECT_NE(CUiDriver::Text(GetDlgItem(hDialog, IDC_SIGNIN_TEXT)).find(L"refused the sign-in for lumeoipp"),
                      std::wstring::npos);
        sheet.FocusControl(GetDlgItem(hDialog, IDC_SIGNIN_PASSWORD));
        ASSERT_TRUE(keyboard.Press(hDialog, std::string(pszPassword) + " Return"));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsWindow(hDialog); }, 5000));
    }
    EXPECT_TRUE(sheet.WaitForRunEnd());
    EXPECT_EQ(KeptJobs(signIn).size(), 1u) << sheet.StatusText();

    // A printer that asks on every request, its state's too, is signed in once: its state,
    // read again every few seconds, brings no dialog back.
    m_driver.reset();
    IppPeer everyRequest("hostile-tls");
    ASSERT_TRUE(everyRequest.Ready()) << everyRequest.Failure();
    const TestPrinter* pEvery =
        m_printers.AddRawPrinter(L"Lumeo E2E Signed-in only", Wide(everyRequest.Url("ipps", "127.0.0.1", "/signed-in-only")));
    ASSERT_NE(pEvery, nullptr);
    CUiDriver& every = Start({}, pEvery->strName, false);
    HWND hDialog = SignInDialog(every);
    ASSERT_NE(hDialog, nullptr);
    every.SetText(GetDlgItem(hDialog, IDC_SIGNIN_USER), L"lumeoipp");
    every.FocusControl(GetDlgItem(hDialog, IDC_SIGNIN_PASSWORD));
    ASSERT_TRUE(keyboard.Press(hDialog, "L u m e o minus T e s t minus 4 2 Return"));
    const auto Taken = [&] {
        const std::string strTaken = ReadWholeFile(everyRequest.Folder() + "/authorized");
        return std::count(strTaken.begin(), strTaken.end(), '\n');
    };
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return Taken() >= 4; }, 20000)) << Taken() << " requests taken";
    EXPECT_EQ(SignInDialog(every, 0), nullptr) << "asked again";
}

TEST_F(LumeoEndToEnd, EscapeOnTheSplashClosesTheSplashAndTheSheetStays)
{
    XKEYBOARD_OR_SKIP(keyboard);
    m_driver = std::make_unique<CUiDriver>();
    CUiDriver& ui = *m_driver;
    ASSERT_TRUE(ui.Launch(WinePath(LUMEO_PROGRAM_EXE), L" -M \"" + kPrinter + L"\""));
    // The splash is seen alone for a second before the sheet appears.
    HWND hSplash = nullptr;
    // X cannot give the focus to a window before it is mapped.
    ASSERT_TRUE(CUiDriver::WaitUntil(
        [&] { return (hSplash = ui.FindProcessWindow(L"LumeoSplashWnd")) != nullptr && IsWindowVisible(hSplash); },
        20000));
    ASSERT_TRUE(keyboard.Press(hSplash, "Escape"));
    if (ui.WaitForSheet(0, false))
        GTEST_SKIP() << "the key came after the sheet had appeared";
    ASSERT_TRUE(ui.WaitForSheet(20000, false)) << "the program ended: Escape cancelled the sheet";
    EXPECT_FALSE(IsWindow(hSplash));
    EXPECT_TRUE(ui.WaitForPrinterCheck());
    EXPECT_TRUE(IsWindowVisible(ui.Sheet()));
}

// A network printer on a Standard TCP/IP port, its device ID served by a real snmpd:
// what the program offers depends on which device-ID object the printer holds.
class LumeoNetworkPrinter : public LumeoEndToEnd {
protected:
    // "Lumeo E2E Net <tag>" on the port of a new agent (m_pAgent) that holds `objects` and,
    // given `mib`, plays a printer of printer_mib_agent.py.
    std::wstring AddAgentPrinter(const std::wstring& strTag, const DeviceIdObjects& objects,
                                 const std::optional<PrinterMib>& mib = std::nullopt,
                                 const std::wstring& strCapture = L"")
    {
        m_pAgent = std::make_unique<SnmpAgent>(objects, std::vector<std::string>{"public", "mirlan"}, 0, mib);
        EXPECT_TRUE(m_pAgent->Ready());
        return AddNetworkPrinter(strTag, m_pAgent->Port(), strCapture);
    }
    // "Lumeo E2E Net <tag>" on a port whose address is 127.0.0.1 at nPort (m_pNetPrinter).
    std::wstring AddNetworkPrinter(const std::wstring& strTag, uint16_t nPort, const std::wstring& strCapture = L"")
    {
        const std::wstring strPort = L"LUMEO_E2E_NET_" + std::to_wstring(nPort);
        EXPECT_TRUE(m_registry.Write(
            L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" + strPort,
            {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(nPort)}, {L"SNMP Community", L"public"}}));
        const std::wstring strPrinter = L"Lumeo E2E Net " + strTag;
        m_pNetPrinter = m_printers.AddRawPrinter(strPrinter, strPort, strCapture, strCapture.empty());
        EXPECT_NE(m_pNetPrinter, nullptr);
        return strPrinter;
    }
    // A network printer taking PDF whose agent plays `strScenario` of printer_mib_agent.py:
    // a job arriving in its capture starts the printing.
    const TestPrinter* AddPlayedPrinter(const std::wstring& strTag, const std::string& strScenario)
    {
        const std::wstring strCapture = (m_folder / (L"net_" + strTag + L".prn")).wstring();
        std::ofstream(std::filesystem::path(strCapture)).close();
        const PrinterMib mib{strScenario, WineUnixPath(strCapture)};
        AddAgentPrinter(strTag, {std::nullopt, "MFG:Osmira;CMD:PDF;"}, mib, strCapture);
        return m_pNetPrinter;
    }
    void TearDown() override
    {
        LumeoEndToEnd::TearDown();  // the program goes before its agent
        m_pAgent.reset();
    }

    RegistryFixture m_registry;
    std::unique_ptr<SnmpAgent> m_pAgent;
    const TestPrinter* m_pNetPrinter = nullptr;  // the last one added
};

TEST_F(LumeoNetworkPrinter, CommandLineFilesWaitForAPrinterThatTakesThemAndTheOthersAreNamedOnce)
{
    XKEYBOARD_OR_SKIP(keyboard);
    const std::wstring strNet = AddAgentPrinter(L"Takes", {std::nullopt, "MFG:Osmira;CMD:PCL,PDF,PNG;"});
    ASSERT_TRUE(m_pAgent->Ready());
    const TestPrinter* pSerial = m_printers.AddRawPrinter(L"Lumeo E2E Serial", L"COM7:", L"", true);
    ASSERT_TRUE(m_pNetPrinter && pSerial);
    const Paths files = {MakeFile(L"a.pdf", kPdfBytes), MakeFile(L"b.jpg", kJpegBytes), MakeFile(L"c.png", kPngBytes),
                         (m_folder / L"gone.pdf").wstring()};
    CUiDriver& ui = Start(files, pSerial->strName);
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOPRINTERSUPPORT") + L"\r\n" + Shown(L"IDL_MESSAGE_FILESWAIT"));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
    EXPECT_TRUE(ChoosePrinter(ui, strNet));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOSUPPORT") + L"\r\nb.jpg \x2014 the printer takes PDF and PNG, "
                                  L"not JPEG\r\ngone.pdf \x2014 not found\r\n" + Shown(L"IDL_MESSAGE_FILESWAIT"));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0], files[2]}));
    EXPECT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_COMBO_PRINTERLIST), "Return"));
    EXPECT_EQ(WaitForCapture(2, m_pNetPrinter), kPdfJob + Expected().Job("PNG", kPngBytes));
    // A printer that takes the JPEG lists it, without a word more.
    EXPECT_TRUE(ChoosePrinter(ui, kPrinter));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.ListItems(IDC_LIST_FILE) == Paths{files[1]}; }, 10000));
    EXPECT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_COMBO_PRINTERLIST), "Return"));
    EXPECT_EQ(WaitForCapture(1), Expected().Job("JPEG", kJpegBytes));
    EXPECT_EQ(ui.FindMessageDialog(), nullptr);
}

TEST_F(LumeoNetworkPrinter, APrinterWithOnlyTheStandardDeviceIdIsOfferedWithTheTypesOfItsCmdField)
{
    const Paths files = {MakeFile(L"net.pdf", kPdfBytes), MakeFile(L"net.jpg", kJpegBytes),
                         MakeFile(L"net.png", kPngBytes)};
    CUiDriver& ui =
        Start(files, AddAgentPrinter(L"Standard", {std::nullopt, "MFG:Osmira;MDL:Q 5;CMD:PCL,PDF,PNG;CLS:PRINTER;"}));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOSUPPORT") + L"\r\nnet.jpg \x2014 the printer takes PDF and "
                                  L"PNG, not JPEG\r\n" + Shown(L"IDL_MESSAGE_FILESWAIT"));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0], files[2]}));
    EXPECT_TRUE(IsWindowVisible(ui.SheetButton(IDOK)));
    EXPECT_TRUE(IsWindowEnabled(ui.Control(IDC_BUTTON_BROWSE)));
}

TEST_F(LumeoNetworkPrinter, LumeoCmdNamesEveryRefusedFileWithItsOwnReasonAndCountsThem)
{
    const std::wstring strPrinter = AddAgentPrinter(L"Pdf", {std::nullopt, "MFG:Osmira;CMD:PCL,PDF;"});
    ASSERT_TRUE(m_pAgent->Ready());
    std::filesystem::create_directories(m_folder / L"x.pdf");
    const std::wstring strMissing = (m_folder / L"missing.pdf").wstring(), strFolder = (m_folder / L"x.pdf").wstring();
    const std::wstring strText = MakeFile(L"letter.pdf", "Dear reader,\r\n"), strBmp = MakeFile(L"scan.bmp", "BM6");
    const std::wstring strGood = MakeFile(L"good.pdf", kPdfBytes);
    ScriptRun run =
        RunScript(LUMEO_CMD_EXE, L"/print /wait 5 /m " + Quoted(strPrinter) + L" " + Quoted(strMissing) + L" " +
                                     Quoted(strFolder) + L" " + Quoted(strText) + L" " + Quoted(strBmp) + L" " +
                                     Quoted(strGood));
    EXPECT_EQ(run.dwExit, 4u);
    EXPECT_EQ(run.strOutput, "Refused (not found): " + Utf8(strMissing) +
                                 "\r\nRefused (a folder or a device, not a file): " + Utf8(strFolder) +
                                 "\r\nRefused (not a PDF document): " + Utf8(strText) +
                                 "\r\nRefused (the printer takes PDF, not BMP): " + Utf8(strBmp) + "\r\nSent: " +
                                 Utf8(strGood) + "\r\n1 of 5 files sent to Lumeo E2E Net Pdf.\r\n1 refused: not "
                                 "found\r\n1 refused: a folder or a device, not a file\r\n1 refused: the content "
                                 "is not of its type\r\n1 refused: the printer does not take the type\r\n");
    run = RunScript(LUMEO_CMD_EXE, L"/print /json /wait 5 /m " + Quoted(strPrinter) + L" " + Quoted(strMissing) + L" " +
                                       Quoted(strFolder) + L" " + Quoted(strText) + L" " + Quoted(strBmp) + L" " +
                                       Quoted(strGood));
    EXPECT_EQ(run.dwExit, 4u);
    nlohmann::json expected = nlohmann::json::parse(R"({"version": 1, "command": "print", "printer":
        "Lumeo E2E Net Pdf", "road": {"kind": "spooler", "url": null}, "files": [], "counts": {"files": 5,
        "sent": 1, "refused": 4, "notSent": 0, "reasons":
        {"not-found": 1, "not-a-file": 1, "not-of-its-type": 1, "type-not-taken": 1}}, "printerReport": {"verdict":
        "no-state", "pages": null, "trouble": null}, "exitCode": 4})");
    for (const auto& [strPath, strOutcome, reason] : {std::tuple(strMissing, "refused", nlohmann::json("not-found")),
         {strFolder, "refused", "not-a-file"}, {strText, "refused", "not-of-its-type"},
         {strBmp, "refused", "type-not-taken"}, {strGood, "sent", nullptr}})
        expected["files"].push_back({{"path", Utf8(strPath)}, {"outcome", strOutcome}, {"reason", reason},
                                      {"pages", nullptr}});
    EXPECT_EQ(Parsed(run.strOutput), expected);
    EXPECT_EQ(run.strOutput.front(), '{');  // no byte-order mark
}

TEST_F(LumeoNetworkPrinter, AnAnsweringPrinterWithoutADeviceIdIsNotSupportedRatherThanOff)
{
    CUiDriver& ui = Start({MakeFile(L"none.pdf", kPdfBytes)}, AddAgentPrinter(L"Neither", {}));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOPRINTERSUPPORT") + L"\r\n" + Shown(L"IDL_MESSAGE_FILESWAIT"));
    EXPECT_FALSE(IsWindowEnabled(ui.SheetButton(IDOK)));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
}

TEST_F(LumeoNetworkPrinter, ProbeShowsTheRouteTheStateSuppliesAndTraysAndASilentPrinterEndsTheScriptWith3)
{
    const std::wstring strPrinter = AddAgentPrinter(L"Probe", {std::nullopt, "MFG:Osmira;CMD:PCL,PDF,PNG;"});
    ASSERT_TRUE(m_pAgent->Ready());
    ScriptRun run = RunScript(LUMEO_CMD_EXE, L"/probe /m " + Quoted(strPrinter));
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_EQ(run.strOutput, "Printer: Lumeo E2E Net Probe\r\nPort: LUMEO_E2E_NET_" + std::to_string(m_pAgent->Port()) +
                                 " (network port)\r\nSNMP request to " + m_pAgent->V4Address() +
                                 " with the community public: answered\r\nDevice ID: MFG:Osmira;CMD:PCL,PDF,PNG;\r\n"
                                 "Files it takes: .pdf .png\r\nVerdict: Lumeo can print on this printer.\r\n"
                                 "State: Unknown\r\nTrays to choose (/tray): (none)\r\nOutput bins (/bin): (none)\r\n"
                                 "Finishing (/finish): (none)\r\nPIN printing (/pin): not offered\r\n");

    // A printer that tells its state, supplies and trays; its cover is open.
    m_pAgent = std::make_unique<SnmpAgent>(DeviceIdObjects{"MFG:Corvane;CMD:PDF;", std::nullopt},
                                           std::vector<std::string>{"public"}, 0, PrinterMib{"cover", ""});
    ASSERT_TRUE(m_pAgent->Ready());
    const std::wstring strSupplies = AddNetworkPrinter(L"Supplies", m_pAgent->Port());
    run = RunScript(LUMEO_CMD_EXE, L"/probe /m " + Quoted(strSupplies));
    EXPECT_EQ(run.dwExit, 6u);  // as /print: it can print there, but not now
    const size_t nState = run.strOutput.find("Verdict: ");
    EXPECT_EQ(nState == std::string::npos ? run.strOutput : run.strOutput.substr(nState),
              "Verdict: Lumeo can print on this printer, but not now: Front cover open\r\n"
              "State: Stopped\r\nCannot print: Front cover open\r\nPage counter: 1000\r\n"
              "Supply: Black Toner Cartridge: 80 %\r\nSupply: Cyan Toner: some remaining\r\n"
              "Supply: Waste Toner Box: unknown\r\nSupply: Drum Unit: 15 %\r\n"
              "Tray: Tray 1 (A4 Plain): 50 %\r\nTray: Bypass Tray (Letter): some remaining\r\n"
              "Trays to choose (/tray): Tray 1 (TRAY1), Bypass Tray (BYPASSTRAY)\r\nOutput bins (/bin): Face Down Bin "
              "(FACEDOWNBIN), Upper Bin (UPPERBIN)\r\nFinishing (/finish): (none)\r\nPIN printing (/pin): not offered\r\n");
    // The same facts for a script.
    run = RunScript(LUMEO_CMD_EXE, L"/probe /json /m " + Quoted(strSupplies));
    EXPECT_EQ(run.dwExit, 6u);
    const std::string strPort = std::to_string(m_pAgent->Port());
    EXPECT_EQ(Parsed(run.strOutput), nlohmann::json::parse(R"({"version": 1, "command": "probe", "printers": [{
        "printer": "Lumeo E2E Net Supplies", "port": {"name": "LUMEO_E2E_NET_)" + strPort + R"(", "kind": "network"},
        "route": {"kind": "snmp", "answered": true, "requests": [{"address": "127.0.0.1:)" + strPort + R"(",
        "community": "public", "wsdUrl": null, "answered": true}]}, "deviceId": "MFG:Corvane;CMD:PDF;",
        "types": ["pdf"], "verdict": "can-print-not-now", "certificate": null, "road": {"kind": "spooler", "url": null},
        "state": {"status": "stopped", "conditions": [{"kind":
        "cover-open", "severity": "stop", "detail": "none", "words": "Front cover open"}], "message": null, "reports": [], "pageCounter": 1000,
        "supplies": [{"name": "Black Toner Cartridge", "kind": "supply", "level": 80}, {"name": "Cyan Toner",
        "kind": "supply", "level": "some-remaining"}, {"name": "Waste Toner Box", "kind": "receptacle", "level":
        "unknown"}, {"name": "Drum Unit", "kind": "supply", "level": 15}], "trays": [{"name": "Tray 1",
        "description": "Cassette 1", "media": "A4 Plain", "level": 50}, {"name": "Bypass Tray", "description":
        "Manual feed", "media": "Letter", "level": "some-remaining"}]}, "ticket": {"road": "spooler", "trays": [{"value":
        "TRAY1", "name": "Tray 1", "paper": {"width": 21000, "height": 29700}}, {"value": "BYPASSTRAY", "name":
        "Bypass Tray", "paper": {"width": 21590, "height": 27940}}], "bins": [{"value": "FACEDOWNBIN", "name":
        "Face Down Bin"}, {"value": "UPPERBIN", "name": "Upper Bin"}], "finishings": [], "pinPrinting": null}}], "exitCode": 6})"));
    run = RunScript(LUMEO_CMD_EXE, L"/probe /m " + Quoted(kPrinter));  // a file port has no state to read
    EXPECT_NE(run.strOutput.find("State unknown: it is read from network printers only.\r\n"), std::string::npos);

    udp_test::SilentAgent silent;
    const std::wstring strSilent = AddNetworkPrinter(L"Silent", silent.Port());
    run = RunScript(LUMEO_CMD_EXE, L"/print /m " + Quoted(strSilent) + L" " + Quoted(MakeFile(L"s.pdf", kPdfBytes)));
    EXPECT_EQ(run.dwExit, 3u);
    EXPECT_EQ(run.strOutput, "No printer answered over the network. It may be turned off or asleep, off the network, "
                             "or its address may be wrong.\r\n");
    EXPECT_GE(silent.Received(), 1);
    // One silent printer alone: how long its check waits after its first request.
    int nAsked = silent.Received();
    silent.ForgetFirstRequest();
    run = RunScript(LUMEO_PROGRAM_EXE, L"/probe /m " + Quoted(strSilent));
    const auto ended = std::chrono::steady_clock::now();
    EXPECT_EQ(run.dwExit, 3u);
    EXPECT_EQ(run.strWindows, "");
    const int nPerCheck = silent.Received() - nAsked;
    ASSERT_TRUE(silent.FirstRequest());
    const auto wait = ended - *silent.FirstRequest();

    // Every printer side by side: three silent ones, each at its own agent, are each asked
    // as often as one alone, and each is first asked before the first of them has waited
    // out its check; one after another, the last would be asked two waits later.
    udp_test::SilentAgent silent2, silent3;
    const std::vector<std::wstring> arrSilent = {strSilent, AddNetworkPrinter(L"Silent 2", silent2.Port()),
                                                 AddNetworkPrinter(L"Silent 3", silent3.Port())};
    nAsked = silent.Received();
    silent.ForgetFirstRequest();
    run = RunScript(LUMEO_CMD_EXE, L"/probe /all /json");
    EXPECT_EQ(silent.Received() - nAsked, nPerCheck);
    std::vector<std::chrono::steady_clock::time_point> arrFirst;
    for (const udp_test::SilentAgent* pAgent : {&silent, &silent2, &silent3}) {
        if (pAgent != &silent)
            EXPECT_EQ(pAgent->Received(), nPerCheck);
        if (pAgent->FirstRequest())
            arrFirst.push_back(*pAgent->FirstRequest());
    }
    ASSERT_EQ(arrFirst.size(), 3u);
    const auto [pEarliest, pLatest] = std::minmax_element(arrFirst.begin(), arrFirst.end());
    EXPECT_LT(*pLatest - *pEarliest, wait) << "the silent printers were checked one after another";
    EXPECT_EQ(run.dwExit, 0u);  // some printer can print
    const nlohmann::json doc = Parsed(run.strOutput);
    ASSERT_TRUE(doc.is_object()) << run.strOutput;
    EXPECT_EQ(doc["exitCode"], 0);
    std::map<std::string, std::string> verdicts;
    for (const nlohmann::json& printer : doc["printers"])
        verdicts[printer["printer"]] = printer["verdict"];
    for (const std::wstring& strName : arrSilent)
        EXPECT_EQ(verdicts[Utf8(strName)], "no-answer") << Utf8(strName);
    EXPECT_EQ(verdicts[Utf8(kPrinter)], "can-print");
    EXPECT_EQ(verdicts[Utf8(strSupplies)], "can-print-not-now");
}

TEST_F(LumeoNetworkPrinter, LumeoCmdSaysThePagesPrintedThePrintersTroubleAndSendsNothingWhenItCannotPrint)
{
    const std::wstring strPdf = MakeFile(L"state.pdf", kPdfBytes);
    const std::string strPath = Utf8(strPdf);
    const struct {
        const char* scenario;
        DWORD dwExit;
        std::string strOutput;  // after "Lumeo E2E Net <scenario>" in the summary line
    } cases[] = {
        {"printing", 0, "Sent: " + strPath + "\r\n1 of 1 file sent to Lumeo E2E Net printing.\r\n"
                        "The printer printed 3 pages.\r\n"},
        {"jam", 5, "Sent (the printer reports: Paper jam in tray 1): " + strPath +
                       "\r\n1 of 1 file sent to Lumeo E2E Net jam.\r\n1 sent, but the printer reports trouble\r\n"},
        {"cover", 6, "The printer reports it cannot print now: Front cover open\r\n"},
    };
    for (const auto& c : cases) {
        const std::wstring strTag(c.scenario, c.scenario + std::strlen(c.scenario));
        const TestPrinter* pPrinter = AddPlayedPrinter(strTag, c.scenario);
        ASSERT_NE(pPrinter, nullptr);
        const ScriptRun run = RunScript(LUMEO_CMD_EXE, L"/print /wait 20 /m " + Quoted(pPrinter->strName) + L" " +
                                                           Quoted(strPdf));
        EXPECT_EQ(run.dwExit, c.dwExit) << c.scenario;
        EXPECT_EQ(run.strOutput, c.strOutput) << c.scenario;
        EXPECT_EQ(WinePrinters::ReadCapture(*pPrinter), c.dwExit == 6 ? "" : kPdfJob);
    }
}

// A queue on a port named with its printer's URL is heard over IPP: stopped by a jam, the sheet asks first.
TEST_F(LumeoNetworkPrinter, TheSheetAsksBeforeSendingToAJammedPrinterHeardOverIpp)
{
    IppPeer hostile("hostile");
    ASSERT_TRUE(hostile.Ready()) << hostile.Failure();
    const std::string strUrl = hostile.Url("ipp", "127.0.0.1", "/jammed");
    const TestPrinter* pJam = m_printers.AddRawPrinter(L"Lumeo E2E Ipp Jam", std::wstring(strUrl.begin(), strUrl.end()));
    ASSERT_NE(pJam, nullptr);
    const std::wstring strPdf = MakeFile(L"ipp.pdf", kPdfBytes);
    CUiDriver& ui = Start({strPdf}, pJam->strName);
    EXPECT_EQ(ui.StatusText(), L"Paper jam [2J in tray 1");
    PostPrint(ui);
    HWND hQuestion = ui.WaitForMessageDialog(10000);
    ASSERT_NE(hQuestion, nullptr);
    EXPECT_EQ(ui.MessageText(hQuestion), L"The printer reports: Paper jam [2J in tray 1\r\nSend anyway?");
    PostMessageW(hQuestion, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsWindowEnabled(ui.SheetButton(IDOK)); }, 10000));
    EXPECT_EQ(WinePrinters::ReadCapture(*pJam), "");
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strPdf});
}

// Escape or logoff while a printer holds the upload of a large file: its job is cancelled there, and
// the file stays in the list. A printer that takes Print-Job alone has no job to cancel: the held
// write itself is ended (the responder holds it far longer than the message is waited for).
TEST_F(LumeoNetworkPrinter, EscapeOrLogoffDuringAnUploadOverIppCancelsTheJobAtThePrinter)
{
    XKEYBOARD_OR_SKIP(keyboard);
    const std::wstring strBig = MakeFile(L"big.pdf", kPdfBytes);
    std::filesystem::resize_file(strBig, 1ull << 30);
    for (const auto& [pszPath, strCancelled] : {std::pair("/stalling", "cancel-job\n"), std::pair("/holding", "")}) {
        SCOPED_TRACE(pszPath);
        IppPeer hostile("hostile");
        ASSERT_TRUE(hostile.Ready()) << hostile.Failure();
        const TestPrinter* pQueue = m_printers.AddRawPrinter(Wide(std::string("Lumeo E2E Ipp Held ") + (pszPath + 1)),
                                                             Wide(hostile.Url("ipp", "127.0.0.1", pszPath)));
        ASSERT_NE(pQueue, nullptr);
        // The held write was ended, not left blocked behind the message: let go, the responder
        // finds the connection closed.
        const auto Dropped = [&] {
            if (*strCancelled)
                return true;
            std::ofstream(hostile.Folder() + "/go");
            CUiDriver::WaitUntil([&] { return std::filesystem::exists(hostile.Folder() + "/dropped") ||
                                              std::filesystem::exists(hostile.Folder() + "/counted"); }, 60000);
            return std::filesystem::exists(hostile.Folder() + "/dropped");
        };
        CUiDriver& ui = Start({strBig}, pQueue->strName);
        SendPrint(ui);
        ASSERT_TRUE(CUiDriver::WaitUntil([&] { return std::filesystem::exists(hostile.Folder() + "/stalled"); }, 20000));
        ASSERT_TRUE(keyboard.Press(ui.Sheet(), "Escape"));
        EXPECT_EQ(DismissMessage(ui), L"Printing cancelled: 0 of 1 file sent to " + pQueue->strName +
                                          L".\r\nbig.pdf \x2014 printing was cancelled");
        EXPECT_EQ(ReadWholeFile(hostile.Folder() + "/cancelled"), strCancelled);
        EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strBig});
        EXPECT_TRUE(Dropped());

        // Logging off during the held upload: the same, before the sheet answers.
        for (const char* pszLeft : {"/stalled", "/cancelled", "/go", "/dropped"})
            std::filesystem::remove(hostile.Folder() + pszLeft);
        SendPrint(ui);
        ASSERT_TRUE(CUiDriver::WaitUntil([&] { return std::filesystem::exists(hostile.Folder() + "/stalled"); }, 20000));
        EndSession(ui.Sheet());
        EXPECT_EQ(DismissMessage(ui).rfind(L"Printing cancelled: 0 of 1 file sent to ", 0), 0u);
        EXPECT_EQ(ReadWholeFile(hostile.Folder() + "/cancelled"), strCancelled);
        EXPECT_TRUE(Dropped());
    }
}

// A queue heard over IPP takes the files over IPP, from a script and from the sheet, each
// file a job followed there; /via spooler puts them into the queue with the PJL envelope.
TEST_F(LumeoNetworkPrinter, AQueueHeardOverIppIsSentToOverIppUnlessAScriptChoosesTheSpooler)
{
    IppPeer printer("printer",
                    "-f application/pdf,image/jpeg -k -c " LUMEO_SOURCE_DIR "/tests/support/ipp_job_script.sh");
    ASSERT_TRUE(printer.Ready()) << printer.Failure();
    const std::string strUrl = printer.Url("ipp", "127.0.0.1", "/ipp/print");
    const std::wstring strWideUrl(strUrl.begin(), strUrl.end());
    const TestPrinter* pQueue = m_printers.AddRawPrinter(L"Lumeo E2E Ipp Queue", strWideUrl);
    ASSERT_NE(pQueue, nullptr);
    const std::wstring strPdf = MakeFile(L"queue.pdf", kPdfBytes);
    const auto Print = [&](const std::wstring& strPrinter, const std::wstring& strVia) {
        return RunScript(LUMEO_CMD_EXE, L"/print /m " + Quoted(strPrinter) + strVia + L" " + Quoted(strPdf));
    };
    ScriptRun run = Print(pQueue->strName, L"");
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("queue.pdf \xE2\x80\x94 printed, 3 pages\r\nThe printer printed 3 pages.\r\nRoad: IPP to " + strUrl + "\r\n"),
              std::string::npos) << run.strOutput;
    ASSERT_EQ(KeptJobs(printer).size(), 1u);
    EXPECT_EQ(KeptJobs(printer).at(".pdf").first, kPdfBytes);
    EXPECT_EQ(WinePrinters::ReadCapture(*pQueue), "");
    run = Print(pQueue->strName, L" /via spooler /wait 0");
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    EXPECT_NE(run.strOutput.find("\r\nRoad: spooler\r\n"), std::string::npos) << run.strOutput;
    EXPECT_EQ(WaitForCapture(1, pQueue), kPdfJob);
    EXPECT_EQ(KeptJobs(printer).size(), 1u);
    run = Print(kPrinter, L" /via ipp");
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(run.strOutput, "/via ipp: the printer \"Lumeo E2E File\" was not heard over IPP, so it has no "
                             "IPP road. Leave out /via or use /via spooler.\r\n");

    // The sheet: the job's state while it is followed, then its count and the road.
    const std::wstring strSlow = MakeFile(L"slow.jpg", kJpegBytes);
    CUiDriver& ui = Start({strSlow}, pQueue->strName);
    SendPrint(ui);
    EXPECT_TRUE(CUiDriver::WaitUntil(
        [&] { return ui.StatusText().rfind(L"File 1 of 1 at the printer: processing", 0) == 0; }, 20000));
    EXPECT_TRUE(ui.WaitForRunEnd());
    EXPECT_EQ(ui.StatusText(), L"The printer printed 3 pages. Road: IPP to " + strWideUrl);
    Sleep(10000);  // two reads of the state later
    EXPECT_EQ(ui.StatusText(), L"The printer printed 3 pages. Road: IPP to " + strWideUrl);
    EXPECT_EQ(KeptJobs(printer).at(".jpg").first, kJpegBytes);
    EXPECT_EQ(WinePrinters::ReadCapture(*pQueue), kPdfJob);
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
    // Cancel while the printer prints it: the job is cancelled there, the file stays listed.
    m_driver.reset();
    CUiDriver& again = Start({strSlow}, pQueue->strName);
    SendPrint(again);
    EXPECT_TRUE(CUiDriver::WaitUntil(
        [&] { return again.StatusText().rfind(L"File 1 of 1 at the printer: processing", 0) == 0; }, 20000));
    Send(again.Sheet(), WM_COMMAND, IDCANCEL);
    EXPECT_EQ(DismissMessage(again).rfind(L"Printing cancelled: 0 of 1 file sent to Lumeo E2E Ipp Queue.", 0), 0u);
    EXPECT_NE(ReadWholeFile(printer.Folder() + "/log").find("Cancel-Job successful-ok"), std::string::npos);
    EXPECT_EQ(again.ListItems(IDC_LIST_FILE), Paths{strSlow});
}

// ippeveprinter with trays, bins, finishings and PIN printing, keeping each job and its attributes.
const char kTicketPrinter[] = "-vv -k -a " LUMEO_SOURCE_DIR "/tests/data/ipp/ticket_printer.conf -c " LUMEO_SOURCE_DIR
                              "/tests/support/ipp_job_script.sh";

// How the printer's log shows the SHA-256 of a PIN (given in hex): printable ASCII as it
// is, a backslash doubled, any other byte as \ooo.
std::string LoggedPin(const std::string& strHex)
{
    std::string strLogged;
    for (size_t i = 0; i + 1 < strHex.size(); i += 2) {
        const auto ch = static_cast<unsigned char>(std::stoi(strHex.substr(i, 2), nullptr, 16));
        char szOctal[5] = {};
        std::snprintf(szOctal, sizeof(szOctal), "\\%03o", ch);
        strLogged += ch == '\\' ? "\\\\" : ch >= 0x20 && ch < 0x7F ? std::string(1, static_cast<char>(ch)) : szOctal;
    }
    return "job-password (octetString) " + strLogged + "\n    job-password-encryption (keyword) sha2-256\n";
}

// A script's tray, bin, finishings and PIN reach the printer as it lists them; a value it
// does not list ends the run before anything is sent, naming what it offers.
TEST_F(LumeoEndToEnd, TheTicketReachesAnIppPrinterAsItListsItAndAnythingElseIsRefusedFirst)
{
    IppPeer printer("printer", kTicketPrinter);
    ASSERT_TRUE(printer.Ready()) << printer.Failure();
    const std::string strUrl = printer.Url("ipp", "127.0.0.1", "/ipp/print");
    const std::wstring strPdf = L" " + Quoted(MakeFile(L"ticket.pdf", kPdfBytes));
    const auto Run = [&](const std::wstring& strOptions) {
        return RunScript(LUMEO_CMD_EXE, L"/print /m " + Wide(strUrl) + L" " + strOptions + strPdf);
    };
    SetEnvironmentVariableW(L"LUMEO_PIN", L"1234");
    ScriptRun run = Run(L"/paper a4 /tray bysize /bin \"FACE UP\" /finish staple-top-left,punch-dual-left /pin");
    SetEnvironmentVariableW(L"LUMEO_PIN", nullptr);
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    auto jobs = KeptJobs(printer);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs.at(".pdf").first, kPdfBytes);
    // By paper size: A4 is in the second tray.
    for (const char* pszAttribute : {"IPP_MEDIA_COL={media-size={x-dimension=21000 y-dimension=29700} media-source=tray-2}\n",
                                     "IPP_OUTPUT_BIN=face-up\n", "IPP_FINISHINGS=staple-top-left,punch-dual-left\n"})
        EXPECT_NE(jobs.at(".pdf").second.find(pszAttribute), std::string::npos) << pszAttribute << jobs.at(".pdf").second;
    // The printer keeps operation attributes out of the job's: its log shows the PIN as it came, hashed.
    EXPECT_NE(ReadWholeFile(printer.Folder() + "/log")
                  .find(LoggedPin("03ac674216f3e15c761ee1a5e255f067953623c8b388b4459e13f978d7c846f4")),
              std::string::npos);

    const std::string strTrays = "It offers: Tray 1 (tray-1), Tray 2 (tray-2), Bypass tray (by-pass-tray)";
    for (const auto& [pszOptions, strLine] :
         {std::pair(L"/tray tray-9", "/tray: The printer \"" + strUrl + "\" does not offer tray-9. " + strTrays),
          {L"/paper legal /tray bysize", "/tray: No tray of the printer \"" + strUrl + "\" holds Legal. Its trays: " +
                                             strTrays.substr(11)},
          {L"/bin upper", "/bin: The printer \"" + strUrl + "\" does not offer upper. It offers: Face down "
                          "(face-down), Face up (face-up), Stacker 1 (stacker-1)"},
          {L"/pin", "/pin: Type a PIN of digits only, at most 8 of them."}}) {
        run = Run(pszOptions);
        EXPECT_EQ(run.dwExit, 1u);
        EXPECT_EQ(run.strOutput, strLine + "\r\n");
    }
    run = Run(L"/json /finish staple,bind");
    EXPECT_EQ(Parsed(run.strOutput)["error"], nlohmann::json::parse(R"({"key": "not-offered", "option": "/finish",
        "value": "bind", "printer": ")" + strUrl + R"(", "offered": ["staple", "punch", "fold", "staple-top-left",
        "staple-dual-left", "punch-dual-left", "fold-half"]})"));
    run = Run(L"/json /paper legal /tray bysize");
    EXPECT_EQ(Parsed(run.strOutput)["error"]["key"], "no-tray-for-size");
    EXPECT_EQ(KeptJobs(printer).size(), 1u);
    // What /probe offers a script: the PIN's length, and that it goes hashed.
    run = RunScript(LUMEO_CMD_EXE, L"/probe /json /m " + Wide(strUrl));
    EXPECT_EQ(Parsed(run.strOutput)["printers"][0]["ticket"]["pinPrinting"],
              nlohmann::json::parse(R"({"maxDigits": 8, "hashed": true})"));
    run = RunScript(LUMEO_CMD_EXE, L"/probe /m " + Wide(strUrl));
    EXPECT_NE(run.strOutput.find("\r\nPIN printing (/pin): up to 8 digits\r\n"), std::string::npos) << run.strOutput;
}

// The page of a printer that offers nothing says so; a printer's own values are chosen
// with the keyboard like any other, and the job is held with the PIN typed there.
TEST_F(LumeoEndToEnd, TheFinishingPageOffersWhatThePrinterListsAndSendsTheChoicesMade)
{
    XKEYBOARD_OR_SKIP(keyboard);
    IppPeer printer("printer", kTicketPrinter);
    ASSERT_TRUE(printer.Ready()) << printer.Failure();
    const TestPrinter* pQueue =
        m_printers.AddRawPrinter(L"Lumeo E2E Finisher", Wide(printer.Url("ipp", "127.0.0.1", "/ipp/print")));
    ASSERT_NE(pQueue, nullptr);
    CUiDriver& file = Start({});
    ASSERT_TRUE(keyboard.Press(file.Sheet(), "alt+i"));
    ASSERT_TRUE(CUiDriver::WaitUntil([&] { return GetDlgItem(CurrentPage(file), IDC_COMBO_TRAY) != nullptr; }, 5000));
    HWND hPage = CurrentPage(file);
    for (const int nId : {IDC_COMBO_TRAY, IDC_COMBO_OUTPUTBIN, IDC_COMBO_STAPLE, IDC_CHECK_PIN})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, nId))) << nId;
    EXPECT_EQ(CUiDriver::Text(GetDlgItem(hPage, IDC_STATIC_TICKET_NOTE)),
              L"This printer offers no tray, output bin, finishing or PIN printing to choose.");

    m_driver.reset();
    CUiDriver& ui = Start({MakeFile(L"held.pdf", kPdfBytes)}, pQueue->strName);
    const auto Press = [&](const char* pszKeys, const std::function<bool()>& fnDone) {
        EXPECT_TRUE(keyboard.Press(ui.Sheet(), pszKeys)) << pszKeys;
        return CUiDriver::WaitUntil(fnDone, 5000);
    };
    ASSERT_TRUE(Press("ctrl+Tab ctrl+Tab", [&] { return GetDlgItem(CurrentPage(ui), IDC_COMBO_TRAY) != nullptr; }));
    hPage = CurrentPage(ui);
    const auto Chosen = [&](int nId) { return CUiDriver::Text(GetDlgItem(hPage, nId)); };
    EXPECT_TRUE(Press("alt+t Down Down", [&] { return Chosen(IDC_COMBO_TRAY) == L"Tray 1"; }));
    EXPECT_TRUE(Press("alt+o Down Down", [&] { return Chosen(IDC_COMBO_OUTPUTBIN) == L"Face up"; }));
    EXPECT_TRUE(Press("alt+s Down Down", [&] { return Chosen(IDC_COMBO_STAPLE) == L"Staple (top left)"; }));
    EXPECT_TRUE(Press("alt+u Down", [&] { return Chosen(IDC_COMBO_PUNCH) == L"Punch"; }));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, IDC_EDIT_PIN)));
    EXPECT_TRUE(Press("alt+j", [&] { return FocusOf(ui.Sheet()) == GetDlgItem(hPage, IDC_EDIT_PIN); }));
    // Without its PIN the job is not sent: the edit says what it takes.
    EXPECT_TRUE(Press("alt+p", [&] { return ui.TipText() == L"Type a PIN of digits only, at most 8 of them."; }));
    EXPECT_TRUE(KeptJobs(printer).empty());
    EXPECT_TRUE(Press("2 4 6 8 alt+p", [&] { return KeptJobs(printer).size() == 1; }));
    EXPECT_TRUE(ui.WaitForRunEnd());
    const std::string strEnv = KeptJobs(printer).at(".pdf").second;
    for (const char* pszAttribute :
         {"IPP_MEDIA_COL={media-source=tray-1}\n", "IPP_OUTPUT_BIN=face-up\n", "IPP_FINISHINGS=staple-top-left,punch\n"})
        EXPECT_NE(strEnv.find(pszAttribute), std::string::npos) << pszAttribute << strEnv;
    EXPECT_NE(ReadWholeFile(printer.Folder() + "/log")
                  .find(LoggedPin("a1fb4e703a9ef1fa4936801721ff285a97ac85330856674412e054892afe6972")),
              std::string::npos);
}

// The spooler road carries a tray and a bin its Printer MIB names, as PJL lines; what
// the header cannot say, and a printer that names nothing, refuse the run before it starts.
TEST_F(LumeoNetworkPrinter, TheSpoolerRoadCarriesTheTraysAndBinsThePrinterMibNames)
{
    const std::wstring strCapture = (m_folder / L"net_trays.prn").wstring();
    const std::wstring strPrinter = AddAgentPrinter(L"Trays", {std::nullopt, "MFG:Osmira;CMD:PDF;"},
                                                    PrinterMib{"idle", ""}, strCapture);
    ASSERT_TRUE(m_pAgent->Ready());
    const std::wstring strPdf = L" " + Quoted(MakeFile(L"trays.pdf", kPdfBytes));
    ScriptRun run = RunScript(LUMEO_CMD_EXE, L"/print /wait 0 /m " + Quoted(strPrinter) +
                                                 L" /tray \"tray 1\" /bin upperbin" + strPdf);
    EXPECT_EQ(run.dwExit, 0u) << run.strOutput;
    Expected tray;
    tray.strTicket = "@PJL SET MEDIASOURCE=TRAY1\r\n@PJL SET OUTBIN=UPPERBIN\r\n";
    EXPECT_EQ(WaitForCapture(1, m_pNetPrinter), tray.Job("PDF", kPdfBytes));
    run = RunScript(LUMEO_CMD_EXE, L"/print /m " + Quoted(strPrinter) + L" /finish staple" + strPdf);
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(run.strOutput, "/finish: The printer \"Lumeo E2E Net Trays\" does not offer staple. It offers: (none)\r\n");
    run = RunScript(LUMEO_CMD_EXE, L"/print /json /m " + Quoted(strPrinter) + L" /pin" + strPdf);
    EXPECT_EQ(Parsed(run.strOutput)["error"]["key"], "no-pin-printing");
    {
        // An administrator who requires PIN printing: a printer without it takes nothing.
        const DWORD one = 1;
        RawRegistry reg;
        ASSERT_TRUE(reg.Set(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Lumeo", L"RequirePin", REG_DWORD, &one, 4));
        run = RunScript(LUMEO_CMD_EXE, L"/print /json /m " + Quoted(strPrinter) + strPdf);
        EXPECT_EQ(run.dwExit, 1u);
        EXPECT_EQ(Parsed(run.strOutput)["error"]["key"], "pin-required");
    }

    m_pAgent = std::make_unique<SnmpAgent>(DeviceIdObjects{std::nullopt, "MFG:Osmira;CMD:PDF;"},
                                           std::vector<std::string>{"public"}, 0, PrinterMib{"unnamed", ""});
    ASSERT_TRUE(m_pAgent->Ready());
    const std::wstring strUnnamed = AddNetworkPrinter(L"Unnamed", m_pAgent->Port());
    run = RunScript(LUMEO_CMD_EXE, L"/print /m " + Quoted(strUnnamed) + L" /tray TRAY1" + strPdf);
    EXPECT_EQ(run.dwExit, 1u);
    EXPECT_EQ(run.strOutput, "/tray: The printer \"Lumeo E2E Net Unnamed\" does not offer TRAY1. It offers: (none)\r\n");
    EXPECT_EQ(WinePrinters::ReadCapture(*m_pNetPrinter), "");
}

TEST_F(LumeoNetworkPrinter, TheSheetAsksBeforeSendingIntoAnOpenCoverAndShowsThePagesPrinted)
{
    XKEYBOARD_OR_SKIP(keyboard);
    const std::wstring strPdf = MakeFile(L"cover.pdf", kPdfBytes);
    const TestPrinter* pCover = AddPlayedPrinter(L"Cover", "cover");
    ASSERT_NE(pCover, nullptr);
    CUiDriver& ui = Start({strPdf}, pCover->strName);
    EXPECT_EQ(ui.StatusText(), L"Front cover open");
    // No is the default: Enter sends nothing.
    for (const char* keys : {"Return", "shift+Tab Return"}) {
        PostPrint(ui);
        HWND hQuestion = ui.WaitForMessageDialog(10000);
        ASSERT_NE(hQuestion, nullptr);
        EXPECT_EQ(ui.MessageText(hQuestion), L"The printer reports: Front cover open\r\nSend anyway?");
        ASSERT_TRUE(keyboard.Press(hQuestion, keys));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() != hQuestion; }, 10000));
        if (std::string(keys) == "Return") {
            EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsWindowEnabled(ui.SheetButton(IDOK)); }, 10000));
            EXPECT_EQ(WinePrinters::ReadCapture(*pCover), "");
            EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), Paths{strPdf});
        }
    }
    // Sent all the same, into a printer whose cover is still open.
    EXPECT_EQ(DismissMessage(ui), L"1 of 1 file sent to Lumeo E2E Net Cover.\r\ncover.pdf \x2014 the printer reports: "
                                  L"Front cover open");
    EXPECT_EQ(WinePrinters::ReadCapture(*pCover), kPdfJob);

    // A printer that prints: its state followed in the status line, then its count; Escape
    // while it is followed stops the following, not the job.
    m_driver.reset();
    const TestPrinter* pCounting = AddPlayedPrinter(L"Count", "printing");
    for (const std::wstring strEnd : {L"The printer printed 3 pages.", L"1 of 1 file sent to Lumeo E2E Net Count."}) {
        CUiDriver& sheet = Start({strPdf}, pCounting->strName);
        EXPECT_EQ(sheet.StatusText(), L"Ready");
        SendPrint(sheet);
        EXPECT_TRUE(CUiDriver::WaitUntil(
            [&] { return sheet.StatusText().rfind(L"Following the printer, ", 0) == 0; }, 20000));
        if (strEnd.rfind(L"1 of", 0) == 0) {
            ASSERT_TRUE(keyboard.Press(sheet.Sheet(), "Escape"));
        }
        EXPECT_TRUE(sheet.WaitForRunEnd());
        EXPECT_EQ(sheet.StatusText(), strEnd);
        EXPECT_EQ(sheet.FindMessageDialog(), nullptr);
        EXPECT_EQ(WinePrinters::ReadCapture(*pCounting), kPdfJob);
    }
}

TEST_F(LumeoNetworkPrinter, TheIndicatorFollowsAnIdlePrinterAndTroubleStaysInViewAfterARun)
{
    const auto Indicator = [](const CUiDriver& ui) { return CUiDriver::Text(GetDlgItem(ui.Sheet(), IDC_SHEET_STATE)); };
    const TestPrinter* pToner = AddPlayedPrinter(L"Toner", "tonerlow");
    ASSERT_NE(pToner, nullptr);
    CUiDriver& ui = Start({}, pToner->strName);
    EXPECT_EQ(ui.StatusText(), L"Ready");
    EXPECT_EQ(Indicator(ui), L"Ready");
    std::ofstream(std::filesystem::path(pToner->strCapturePath)) << "low";  // the toner runs low now
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.StatusText() == L"Black toner low"; }, 15000));
    EXPECT_EQ(Indicator(ui), L"Warning");
    // Tab reaches the indicator after the sheet's buttons and shows its card while it has the focus.
    if (const XKeyboard keyboard; KeyboardRequired(keyboard)) {
        const auto Card = [] { return FindWindowW(L"LumeoStateCard", nullptr); };
        EXPECT_TRUE(TypeInto(ui, keyboard, ui.SheetButton(IDHELP), "Tab"));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsWindowVisible(Card()); }, 5000));
        EXPECT_NE(CUiDriver::Text(Card()).find(L"Black toner low"), std::wstring::npos);
        EXPECT_TRUE(keyboard.Press(ui.Sheet(), "Tab"));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return !IsWindowVisible(Card()); }, 5000));
    }

    // A jam after a run: the run's outcome keeps the line, also past the state's refresh;
    // the mark and its card tell the jam. Something new (a copies typed) gives the line back.
    m_driver.reset();
    const TestPrinter* pJam = AddPlayedPrinter(L"Jam", "jam");
    CUiDriver& sheet = Start({MakeFile(L"jam.pdf", kPdfBytes)}, pJam->strName);
    PostPrint(sheet);
    EXPECT_NE(DismissMessage(sheet).find(L"the printer reports: Paper jam in tray 1"), std::wstring::npos);
    const std::wstring strOutcome = sheet.StatusText();
    EXPECT_NE(strOutcome, L"Paper jam in tray 1");
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return Indicator(sheet) == L"Stopped"; }, 10000));
    Sleep(10000);
    EXPECT_EQ(sheet.StatusText(), strOutcome) << "the state's refresh wrote over the run's outcome";
    PostMessageW(GetDlgItem(sheet.Sheet(), IDC_SHEET_STATUS), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    const auto Card = [] { return FindWindowW(L"LumeoStateCard", nullptr); };
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return IsWindowVisible(Card()); }, 5000));
    EXPECT_EQ(CUiDriver::Text(Card()).rfind(strOutcome + L"\r\nPaper jam in tray 1", 0), 0u) << CUiDriver::Text(Card());
    SetWindowTextW(sheet.Control(IDC_EDIT_COPIES), L"2");
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return sheet.StatusText() == L"Paper jam in tray 1"; }, 5000));

    // What answers, but not as a printer, is told from silence.
    m_driver.reset();
    HostileAgent web([](const snmp_ber::Message&) { return std::vector<Datagram>{{{'H', 'T', 'T', 'P'}}}; });
    CUiDriver& other = Start({}, AddNetworkPrinter(L"Web", web.Port()));
    EXPECT_EQ(DismissMessage(other), Shown(L"IDL_MESSAGE_NETNOANSWER"));
    EXPECT_EQ(other.StatusText(), L"The printer does not answer: something answered, but not as a printer. F5 asks "
                                  L"again.");
    EXPECT_EQ(Indicator(other), L"Not answering");
}

TEST_F(LumeoNetworkPrinter, TheSheetAnswersWhileASilentPrinterIsChecked)
{
    udp_test::SilentAgent silent;
    const std::wstring strPort = L"LUMEO_E2E_NET_SILENT";
    ASSERT_TRUE(m_registry.Write(
        L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" + strPort,
        {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(silent.Port())}}));
    ASSERT_NE(m_printers.AddRawPrinter(L"Lumeo E2E Net Silent", strPort), nullptr);
    ASSERT_NE(m_printers.AddRawPrinter(L"Lumeo E2E Url Closed", L"ipp://127.0.0.1:1/ipp/print"), nullptr);
    CUiDriver& ui = Start({});
    ASSERT_TRUE(ChoosePrinter(ui, L"Lumeo E2E Net Silent", false));

    // The window's thread answers, and what it answers says the check is still waiting.
    wchar_t szStatus[64] = {};
    DWORD_PTR nChars = 0;
    ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(ui.Sheet(), IDC_SHEET_STATUS), WM_GETTEXT, 64,
                                    reinterpret_cast<LPARAM>(szStatus), SMTO_ABORTIFHUNG, kSendTimeoutMs, &nChars));
    EXPECT_STREQ(szStatus, L"Checking the printer\x2026");
    EXPECT_FALSE(IsWindowEnabled(ui.SheetButton(IDOK)));
    EXPECT_FALSE(IsWindowEnabled(ui.Control(IDC_BUTTON_BROWSE)));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NETNOANSWER"));
    EXPECT_GE(silent.Received(), 1);
    // The line says why, and F5 asks again.
    EXPECT_EQ(ui.StatusText(), L"The printer does not answer: no answer within the time-out. F5 asks again.");
    const int nAsked = silent.Received();
    PostMessageW(ui.Sheet(), WM_KEYDOWN, VK_F5, 0);
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return silent.Received() > nAsked; }, 10000));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NETNOANSWER"));
    // Chosen again from the opened list, it is asked again as well.
    if (const XKeyboard keyboard; KeyboardRequired(keyboard)) {
        const int nBefore = silent.Received();
        EXPECT_TRUE(TypeInto(ui, keyboard, ui.Control(IDC_COMBO_PRINTERLIST), "alt+Down Return"));
        EXPECT_TRUE(CUiDriver::WaitUntil([&] { return silent.Received() > nBefore; }, 10000));
        EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NETNOANSWER"));
    }

    // A queue on a printer's URL where nothing listens: the line says why, as /probe does.
    EXPECT_TRUE(ChoosePrinter(ui, L"Lumeo E2E Url Closed", false));
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NETNOANSWER"));
    EXPECT_EQ(ui.StatusText(), L"The printer does not answer: no connection. F5 asks again.");

    // A check superseded at once by a printer that answers never speaks.
    EXPECT_TRUE(ChoosePrinter(ui, L"Lumeo E2E Net Silent", false));
    EXPECT_TRUE(ChoosePrinter(ui, kPrinter));
    EXPECT_FALSE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() != nullptr; }, 4000)) << "busy or off";
    EXPECT_TRUE(IsWindowVisible(ui.SheetButton(IDOK)));
    EXPECT_TRUE(IsWindowEnabled(ui.SheetButton(IDOK)));

    // Closed while a check waits, the program ends without waiting for it.
    EXPECT_TRUE(ChoosePrinter(ui, L"Lumeo E2E Net Silent", false));
    EXPECT_TRUE(ui.IsCheckingPrinter());
    EXPECT_EQ(ui.Close(), 0u);
}

// WSD printers on the ports of a stand-in "WSD Port Monitor" (tests/support): the device's
// URL is in the Plug and Play keys, its device ID in snmpd on UDP port 161, asked with
// the community "mirlan". The monitor is registered for the test only, and the test
// printers' lock keeps it from the other test programs.
class LumeoWsdPrinter : public LumeoEndToEnd {
protected:
    void SetUp() override
    {
        m_pAgent = std::make_unique<SnmpAgent>(DeviceIdObjects{"MFG:Corvane;CMD:PCL,PDF,JPEG;", std::nullopt},
                                               std::vector<std::string>{"mirlan"}, 161);
        if (!m_pAgent->Ready())
            GTEST_SKIP() << "snmpd cannot serve UDP port 161 (it needs root and a free port): " << m_pAgent->Failure();
        LumeoEndToEnd::SetUp();
        wchar_t szSystem[MAX_PATH] = {};
        GetSystemDirectoryW(szSystem, MAX_PATH);
        ASSERT_TRUE(CopyFileW(WinePath(LUMEO_WSD_MONITOR_DLL).c_str(),
                              (std::wstring(szSystem) + L"\\" + m_strMonitorDll).c_str(), FALSE));
        MONITOR_INFO_2W info = {m_strMonitor.data(), nullptr, m_strMonitorDll.data()};
        ASSERT_TRUE(AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info))) << GetLastError();
        m_bMonitorAdded = true;
    }
    void TearDown() override
    {
        LumeoEndToEnd::TearDown();
        if (m_bMonitorAdded) {
            EXPECT_TRUE(DeleteMonitorW(nullptr, nullptr, m_strMonitor.data()));
        }
        m_pAgent.reset();
    }
    // "Lumeo E2E WSD <tag>" on a port of the monitor, its device at `strLocation`. Of the
    // two device instances only the second holds the PnPXID. Without `bAnswers` the port
    // has no values and the monitor's XcvDataW fails.
    const TestPrinter* AddWsdPrinter(const std::wstring& strTag, const std::wstring& strLocation, bool bAnswers = true)
    {
        using Values = std::vector<std::pair<std::wstring, std::wstring>>;
        const std::wstring strDevice = L"SWD\\PRINTENUM\\LUMEO_" + strTag;
        const std::wstring strPnPX = L"urn:uuid:5a1e2b3c-" + strTag;
        const std::wstring strUmb = L"System\\CurrentControlSet\\Enum\\" + strDevice + L"\\UMB\\";
        const std::wstring strPort = L"WSD-" + strTag;
        EXPECT_TRUE(m_registry.Write(L"System\\CurrentControlSet\\Control\\Print\\Monitors\\" + m_strMonitor +
                                         L"\\Ports\\" + strPort,
                                     bAnswers ? Values{{L"DeviceID", strDevice}, {L"PnPXID", strPnPX}} : Values{}));
        EXPECT_TRUE(m_registry.Write(strUmb + L"another_device", {{L"LocationInformation", L"http://192.0.2.1/"}}));
        EXPECT_TRUE(m_registry.Write(strUmb + L"umb_" + strPnPX, {{L"LocationInformation", strLocation}}));
        return m_printers.AddRawPrinter(L"Lumeo E2E WSD " + strTag, strPort, L"", true);
    }

    std::wstring m_strMonitor = L"WSD Port Monitor";
    std::wstring m_strMonitorDll = L"lumeo_wsd_monitor.dll";
    bool m_bMonitorAdded = false;
    RegistryFixture m_registry;
    std::unique_ptr<SnmpAgent> m_pAgent;
};

TEST_F(LumeoWsdPrinter, APrinterFoundThroughItsDeviceUrlTakesAndPrintsTheTypesItsAgentLists)
{
    const TestPrinter* pWsd = AddWsdPrinter(L"Main", L"http://127.0.0.1:5357/uuid:5a1e2b3c-0001");
    ASSERT_NE(pWsd, nullptr);
    const Paths files = {MakeFile(L"wsd.pdf", kPdfBytes), MakeFile(L"wsd.jpg", kJpegBytes),
                         MakeFile(L"wsd.png", kPngBytes)};
    CUiDriver& ui = Start(files, pWsd->strName);
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NOSUPPORT") + L"\r\nwsd.png \x2014 the printer takes PDF and "
                                  L"JPEG, not PNG\r\n" + Shown(L"IDL_MESSAGE_FILESWAIT"));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0], files[1]}));
    PressPrint(ui);
    EXPECT_EQ(WaitForCapture(2, pWsd), kPdfJob + Expected().Job("JPEG", kJpegBytes));
    const ScriptRun run = RunScript(LUMEO_CMD_EXE, L"/probe /m " + Quoted(pWsd->strName));
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_NE(run.strOutput.find("WSD device at http://127.0.0.1:5357/uuid:5a1e2b3c-0001\r\nSNMP request to "
                                 "127.0.0.1 with the community mirlan: answered\r\n"),
              std::string::npos)
        << run.strOutput;
}

TEST_F(LumeoWsdPrinter, ClosedWhileItsCheckWaitsHalfAMinuteTheProgramIsGoneLongBefore)
{
    const TestPrinter* pSlow = AddWsdPrinter(L"Slow", L"http://127.0.0.1/");
    ASSERT_NE(pSlow, nullptr);
    ASSERT_TRUE(m_registry.Write(L"System\\CurrentControlSet\\Control\\Print\\Monitors\\" + m_strMonitor +
                                     L"\\Ports\\WSD-Slow",
                                 {{L"AnswerAfterSeconds", L"30"}}));
    CUiDriver& ui = Start({}, pSlow->strName, /*bWaitForCheck=*/false);
    Sleep(3000);
    EXPECT_TRUE(ui.IsCheckingPrinter()) << "the check has not waited";
    EXPECT_EQ(ui.Close(), 0u) << "the program was not gone within ten seconds";
}

TEST_F(LumeoWsdPrinter, EveryUrlFormLeadsToTheHostAndAFailingMonitorIsBusyOrOff)
{
    const std::wstring forms[] = {L"http://127.0.0.1/WebServices/Device", L"HTTP://127.0.0.1:80/ws",
                                  L" https://user@127.0.0.1:443/ws?a:b", L"http://[::1]:5357/uuid:5a1e2b3c-0002"};
    for (size_t i = 0; i < std::size(forms); ++i)
        ASSERT_NE(AddWsdPrinter(L"Form" + std::to_wstring(i), forms[i]), nullptr);
    const TestPrinter* pSilent = AddWsdPrinter(L"Silent", L"http://127.0.0.1/", /*bAnswers=*/false);
    ASSERT_NE(pSilent, nullptr);
    CUiDriver& ui = Start({MakeFile(L"forms.pdf", kPdfBytes)}, pSilent->strName);
    EXPECT_EQ(DismissMessage(ui), Shown(L"IDL_MESSAGE_NETNOANSWER") + L"\r\n" + Shown(L"IDL_MESSAGE_FILESWAITANSWER"));
    for (size_t i = 0; i < std::size(forms); ++i) {
        EXPECT_TRUE(ChoosePrinter(ui, L"Lumeo E2E WSD Form" + std::to_wstring(i))) << forms[i];
        EXPECT_EQ(ui.FindMessageDialog(), nullptr) << forms[i];
        EXPECT_TRUE(IsWindowVisible(ui.SheetButton(IDOK))) << forms[i];
    }
}
