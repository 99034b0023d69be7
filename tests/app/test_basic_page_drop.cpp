// Files dropped on the pages, in-process (Windows, under Wine): the Basic and the
// Advanced page in a modeless sheet of their own, the Basic page's printer a
// captured FILE port printer (every type), and a real drop block as the shell
// hands it over. The refusal messages are the program's own message dialog, read
// and closed by a watcher thread while the page waits in it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/user_language.h"
#include "files/document_file.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"
#include "tests/support/message_pump.h"
#include "tests/support/modeless_sheet.h"
#include "tests/support/shortcut.h"
#include "tests/support/wine_printers.h"
#include "ui/advanced_opts_page.h"
#include "ui/basic_opts_page.h"

namespace {
using Paths = std::vector<std::wstring>;

const wchar_t kPrinterName[] = L"Lumeo Gaps Drop";
constexpr int kMessageTextId = 1054;
const std::wstring kNotSupported = L"Not support the file format";
const std::wstring kNoPrinter = L"Before you can print, you need to install a printer.";
const std::wstring kBusyOrOff =
    L"The selected printer is being used by another program, the printer cable may be improperly connected, or the "
    L"power may be off.";
const std::wstring kAllTypes = L"the printer takes PDF, JPEG, TIFF, PNG and BMP, not ";

// A refusal message: its first line, then a line per refused file.
std::wstring Refusal(const std::wstring& strFirst, const std::vector<std::wstring>& arrLines)
{
    std::wstring strText = strFirst;
    for (const std::wstring& strLine : arrLines)
        strText += L"\r\n" + strLine;
    return strText;
}

// A drop block as the shell builds it: DROPFILES, then the wide paths, each ended
// by a terminator, and one more terminator. The page releases it.
HDROP MakeDrop(const Paths& arrPaths)
{
    std::wstring strList;
    for (const std::wstring& strPath : arrPaths)
        strList += strPath + L'\0';
    strList += L'\0';
    const size_t nBytes = strList.size() * sizeof(wchar_t);
    HGLOBAL hDrop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + nBytes);
    auto* pDrop = static_cast<DROPFILES*>(GlobalLock(hDrop));
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = TRUE;
    memcpy(pDrop + 1, strList.data(), nBytes);
    GlobalUnlock(hDrop);
    return static_cast<HDROP>(hDrop);
}

// Reads and closes every message dialog of this process while it runs.
class MessageWatcher {
public:
    MessageWatcher() : m_thread([this] { Run(); }) {}
    ~MessageWatcher()
    {
        m_bStop = true;
        m_thread.join();
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_texts;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_texts.clear();
    }

private:
    static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
    {
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(hWnd, &dwProcessId);
        if (dwProcessId == GetCurrentProcessId() && IsWindowVisible(hWnd) && GetDlgItem(hWnd, kMessageTextId)) {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    void Run()
    {
        while (!m_bStop) {
            HWND hDialog = nullptr;
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&hDialog));
            if (!hDialog) {
                Sleep(20);
                continue;
            }
            wchar_t szText[4096] = {};
            GetWindowTextW(GetDlgItem(hDialog, kMessageTextId), szText, 4096);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_texts.push_back(szText);
            }
            PostMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
            for (int i = 0; i < 200 && IsWindow(hDialog) && IsWindowVisible(hDialog); ++i)
                Sleep(10);
        }
    }

    std::atomic<bool> m_bStop{false};
    std::mutex m_mutex;
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};
}  // namespace

class PageDrop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        s_pPrinters = new WinePrinters(L"GapsDrop");
        s_pPrinter = s_pPrinters->AddRawPrinter(kPrinterName, L"FILE_LumeoGapsDrop");
    }
    static void TearDownTestSuite()
    {
        delete s_pPrinters;
        s_pPrinters = nullptr;
        CoUninitialize();
    }
    void SetUp() override
    {
        ASSERT_NE(s_pPrinter, nullptr) << "Wine refused the capture printer";
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        m_folder = std::filesystem::path(szTemp) / ("lumeo_gaps_drop_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(m_folder);

        SetUserLanguageIdForTesting(0x0409);
        CreateParamMngr();
        m_basic.m_strCmdLine = L" -M \"" + std::wstring(kPrinterName) + L"\"";
        m_hPages[0] = m_basic.Create(L"Basic");
        m_hPages[1] = m_advanced.Create(L"Advanced");
        m_advanced.SetDropTarget([this] { return m_basic.m_hWnd; });
        {
            PrinterChangeLock lock;  // the page reads the printer list as it opens
            m_hSheet = OpenModelessSheet(m_hPages, 2, L"Lumeo drop test");
        }
        ASSERT_NE(m_hSheet, nullptr);
        ASSERT_TRUE(PumpUntil([this] { return m_basic.m_bInitialized; }, 5000));
        Pump(100);
        ASSERT_EQ(m_basic.nSupportedTypes, 31);
        m_messages.Clear();  // none expected at start; a stray one would show in the tests
    }
    void TearDown() override
    {
        if (m_hSheet)
            DestroyWindow(m_hSheet);
        DestroyParamMngr();
        SetUserLanguageIdForTesting(0);
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    std::wstring MakeFile(const std::wstring& strName, const std::string& strBytes)
    {
        const std::filesystem::path path = m_folder / strName;
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.wstring();
    }
    Paths ListItems() const
    {
        HWND hList = GetDlgItem(m_basic.m_hWnd, IDC_LIST_FILE);
        Paths arrItems;
        const int nCount = ListView_GetItemCount(hList);
        for (int i = 0; i < nCount; ++i) {
            wchar_t szText[600] = {};
            ListView_GetItemText(hList, i, 0, szText, 600);
            arrItems.push_back(szText);
        }
        return arrItems;
    }
    bool RemoveEnabled() const { return IsWindowEnabled(GetDlgItem(m_basic.m_hWnd, IDC_BUTTON_REMOVE)) != FALSE; }
    // The files are checked on a worker: the drop has been taken once it is done.
    void Drop(HWND hPage, const Paths& arrPaths)
    {
        SendMessageW(hPage, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(arrPaths)), 0);
        EXPECT_TRUE(PumpUntil([this] { return !m_basic.IsAdmittingFiles(); }, 10000));
    }

    static WinePrinters* s_pPrinters;
    static const TestPrinter* s_pPrinter;
    std::filesystem::path m_folder;
    CBasicOptsPage m_basic;
    CAdvancedOptsPage m_advanced;
    HPROPSHEETPAGE m_hPages[2] = {};
    HWND m_hSheet = nullptr;
    MessageWatcher m_messages;
};
WinePrinters* PageDrop::s_pPrinters = nullptr;
const TestPrinter* PageDrop::s_pPrinter = nullptr;

TEST_F(PageDrop, ShortcutsAddTheirTargetAndOneMessageNamesEachRefusedFileWithItsReason)
{
    const std::wstring strPdf = MakeFile(L"report.pdf", "%PDF-1.4 report");
    const std::wstring strText = MakeFile(L"notes.txt", "plain text");
    const std::wstring strTarget = MakeFile(L"linked scan.pdf", "%PDF-1.4 linked");
    const std::wstring strLink = (m_folder / L"shortcut to scan.lnk").wstring();
    ASSERT_TRUE(MakeShortcut(strLink, strTarget));
    const std::wstring strTextLink = (m_folder / L"shortcut to notes.lnk").wstring();
    ASSERT_TRUE(MakeShortcut(strTextLink, strText));
    const std::wstring strNoLink = MakeFile(L"not a shortcut.lnk", "not a link");
    // Only a ".lnk" is read as a link, and a text is no PDF by its name.
    const std::wstring strPdfLink = (m_folder / L"Invoice.pdf").wstring();
    ASSERT_TRUE(MakeShortcut(strPdfLink, strTarget));
    const std::wstring strLetter = MakeFile(L"letter.pdf", "Dear reader,\r\n");
    ASSERT_TRUE(ListItems().empty());
    ASSERT_FALSE(RemoveEnabled());

    Drop(m_basic.m_hWnd, {strPdf, strText, strLink, strTextLink, strNoLink, strPdfLink, strLetter});
    EXPECT_EQ(ListItems(), (Paths{strPdf, strTarget}));
    EXPECT_EQ(m_messages.Texts(),
              Paths{Refusal(kNotSupported, {L"notes.txt \x2014 " + kAllTypes + L"TXT", L"notes.txt \x2014 " + kAllTypes + L"TXT",
                                            L"not a shortcut.lnk \x2014 " + kAllTypes + L"LNK",
                                            L"Invoice.pdf \x2014 not a PDF document",
                                            L"letter.pdf \x2014 not a PDF document"})});
    EXPECT_TRUE(RemoveEnabled());

    // Dropping the same file again adds it again.
    m_messages.Clear();
    Drop(m_basic.m_hWnd, {strLink});
    EXPECT_EQ(ListItems(), (Paths{strPdf, strTarget, strTarget}));
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(PageDrop, ARefusalSaysWhyThePrinterCannotTakeTheFile)
{
    const std::wstring strPdf = MakeFile(L"state.pdf", "%PDF-1.4 state");
    m_basic.nSupportedTypes = -1;  // the check found the printer busy or off
    Drop(m_basic.m_hWnd, {strPdf});
    m_basic.nSupportedTypes = -2;  // no printer installed
    Drop(m_basic.m_hWnd, {strPdf});
    m_basic.nSupportedTypes = 0;   // printer not supported
    Drop(m_basic.m_hWnd, {strPdf});
    EXPECT_TRUE(ListItems().empty());
    EXPECT_FALSE(RemoveEnabled());
    const std::wstring strNone = L"state.pdf \x2014 the printer takes no files now";
    EXPECT_EQ(m_messages.Texts(), (Paths{Refusal(kBusyOrOff, {strNone}), Refusal(kNoPrinter, {strNone}),
                                         Refusal(kNotSupported, {strNone})}));
}

TEST_F(PageDrop, FilesDroppedOnTheAdvancedPageReachTheBasicPagesList)
{
    const std::wstring strPdf = MakeFile(L"advanced.pdf", "%PDF-1.4 advanced");
    const std::wstring strText = MakeFile(L"advanced.txt", "text");
    const std::wstring strTarget = MakeFile(L"advanced target.png", "\x89PNG\r\n\x1A\n");
    const std::wstring strLink = (m_folder / L"advanced link.lnk").wstring();
    ASSERT_TRUE(MakeShortcut(strLink, strTarget));
    SendMessageW(m_hSheet, PSM_SETCURSEL, 1, 0);
    ASSERT_TRUE(PumpUntil([this] { return m_advanced.m_hWnd && IsWindowVisible(m_advanced.m_hWnd); }, 5000));

    Drop(m_advanced.m_hWnd, {strPdf, strText, strLink});
    EXPECT_EQ(ListItems(), (Paths{strPdf, strTarget}));
    EXPECT_EQ(m_messages.Texts(), (Paths{Refusal(kNotSupported, {L"advanced.txt \x2014 " + kAllTypes + L"TXT"})}));
    EXPECT_TRUE(RemoveEnabled());
}

TEST_F(PageDrop, APathTooLongForTheListIsRefusedNotCut)
{
    // An existing file whose path has 259 characters, the most the list holds, and a
    // dropped path of 300 characters that begins with it.
    const std::wstring strFolder = m_folder.wstring() + L"\\";
    const std::wstring str259 = MakeFile(std::wstring(259 - strFolder.size() - 4, L'f') + L".pdf", "%PDF-1.4");
    ASSERT_EQ(str259.size(), 259u);
    Drop(m_basic.m_hWnd, {str259 + std::wstring(41, L'x')});
    EXPECT_TRUE(ListItems().empty());
    const std::wstring strName = str259.substr(strFolder.size()) + std::wstring(41, L'x');
    EXPECT_EQ(m_messages.Texts(), Paths{Refusal(kNotSupported, {strName + L" \x2014 its path is too long"})});

    Drop(m_basic.m_hWnd, {str259});
    EXPECT_EQ(ListItems(), Paths{str259});
}

TEST_F(PageDrop, AStalledShareNeverHoldsTheWindowWhichSaysItIsCheckingFiles)
{
    static HANDLE s_hRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    static std::atomic<bool> s_bReading{false};
    ResetEvent(s_hRelease);
    SetDocumentReadHook([](const std::wstring&) {
        s_bReading = true;
        WaitForSingleObject(s_hRelease, 10000);
    });
    const std::wstring strPdf = MakeFile(L"stalled.pdf", "%PDF-1.4 stalled");
    SendMessageW(m_basic.m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({strPdf})), 0);
    // The read waits on another thread while this one answers.
    EXPECT_TRUE(PumpUntil([] { return s_bReading.load(); }, 5000));
    EXPECT_TRUE(m_basic.IsAdmittingFiles() && !m_basic.IsReadyToPrint());
    wchar_t szStatus[64] = {};
    GetDlgItemTextW(m_hSheet, IDC_SHEET_STATUS, szStatus, 64);
    EXPECT_STREQ(szStatus, L"Checking files\x2026");
    SetEvent(s_hRelease);
    EXPECT_TRUE(PumpUntil([this] { return !m_basic.IsAdmittingFiles(); }, 10000));
    SetDocumentReadHook(nullptr);
    EXPECT_EQ(ListItems(), Paths{strPdf});
}
