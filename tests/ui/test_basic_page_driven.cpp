// The program driven from outside: its Basic page with real Wine printers.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/wine_printers.h"
#include "ui_driver.h"

namespace {
using Paths = std::vector<std::wstring>;

const std::wstring kFilePrinter = L"Lumeo UI File";
const std::wstring kPdfPrinter = L"Lumeo UI PDF";
const std::wstring kBusyPrinter = L"Lumeo UI Busy";
const std::wstring kUnsupportedPrinter = L"Lumeo UI Unsupported";
const std::wstring kWaitNote =
    L"\r\nFiles the printer does not take appear in the list once a printer that takes them is chosen.";

class BasicPageDriven : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        m_folder = std::filesystem::path(szTemp) / ("lumeo_ui_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(m_folder);
        m_printers = std::make_unique<WinePrinters>(L"UI");
    }
    void TearDown() override
    {
        m_driver.reset();
        m_printers.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    void AddPrinter(const std::wstring& strName, const std::wstring& strPort, const std::wstring& strComment = L"")
    {
        ASSERT_TRUE(m_printers->AddPrinterWithComment(strName, strPort, strComment)) << "could not add a Wine printer";
    }
    void AddStandardPrinters()
    {
        AddPrinter(kFilePrinter, L"FILE:");
        AddPrinter(kPdfPrinter, L"LPT1:", L"MFG:Test;CMD:PCL,PDF;MDL:T;");
        AddPrinter(kUnsupportedPrinter, L"COM1:");
        WinePrinters::MakeDefault(kFilePrinter);
    }
    std::wstring MakeFile(const std::wstring& strName)
    {
        const std::filesystem::path path = m_folder / strName;
        const std::wstring strExt = path.extension().wstring();  // the first bytes of the type it names
        std::ofstream(path, std::ios::binary) << (strExt == L".pdf"    ? std::string("%PDF-1.4")
                                                  : strExt == L".png"  ? std::string("\x89PNG\r\n\x1A\n")
                                                  : strExt == L".tiff" ? std::string("II*\0", 4)
                                                                       : std::string("\xFF\xD8\xFF data"));
        return path.wstring();
    }

    static std::wstring Quoted(const Paths& paths)
    {
        std::wstring line;
        for (const std::wstring& p : paths)
            line += L" \"" + p + L"\"";
        return line;
    }
    CUiDriver& Start(const std::wstring& strCmdLine)
    {
        m_driver = std::make_unique<CUiDriver>();
        EXPECT_TRUE(m_driver->Launch(WinePath(LUMEO_PROGRAM_EXE), strCmdLine));
        EXPECT_TRUE(m_driver->WaitForSheet());
        return *m_driver;
    }
    int ComboIndexOf(CUiDriver& ui, const std::wstring& strName)
    {
        const Paths items = ui.ComboItems(IDC_COMBO_PRINTERLIST);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == strName)
                return static_cast<int>(i);
        return -1;
    }
    static std::wstring DismissMessage(CUiDriver& ui)
    {
        HWND hMessage = ui.WaitForMessageDialog(8000);
        const std::wstring strText = hMessage ? ui.MessageText(hMessage) : L"(no message)";
        PostMessageW(GetDlgItem(hMessage, IDOK), BM_CLICK, 0, 0);
        CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() == nullptr; }, 5000);
        return strText;
    }
    static bool Visible(HWND hWnd) { return IsWindowVisible(hWnd) != FALSE; }
    static bool Enabled(HWND hWnd) { return IsWindowEnabled(hWnd) != FALSE; }

    std::filesystem::path m_folder;
    std::unique_ptr<WinePrinters> m_printers;
    std::unique_ptr<CUiDriver> m_driver;
};
}  // namespace

TEST_F(BasicPageDriven, CommandLineFilesAreAdmittedByThePrintersCapability)
{
    AddStandardPrinters();
    const std::wstring pdf = MakeFile(L"report.pdf"), jpg = MakeFile(L"photo.JPG"), txt = MakeFile(L"notes.txt");
    const std::wstring bare = MakeFile(L"noext"), partial = MakeFile(L"x.jp"), spaced = MakeFile(L"my scan.png");
    std::filesystem::create_directories(m_folder / L"folder.pdf");
    const std::wstring folder = (m_folder / L"folder.pdf").wstring();
    const std::wstring missing = (m_folder / L"missing.pdf").wstring();
    const std::wstring line = Quoted({pdf, jpg, txt, bare, partial, folder, missing, spaced});

    // One message names the files the command line gave and the printer refused, each with its reason.
    const std::wstring strAll = L"the printer takes PDF, JPEG, TIFF, PNG and BMP";
    CUiDriver& ui = Start(line);
    EXPECT_EQ(DismissMessage(ui), L"These files were not added:\r\nnotes.txt \x2014 " + strAll +
                                      L", not TXT\r\nnoext \x2014 its name gives no file type; " + strAll +
                                      L"\r\nx.jp \x2014 " + strAll + L", not JP\r\nfolder.pdf \x2014 a folder or "
                                      L"a device, not a file\r\nmissing.pdf \x2014 not found");
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{pdf, jpg, spaced}));
    EXPECT_EQ(CUiDriver::Text(ui.Control(IDC_COMBO_PRINTERLIST)), kFilePrinter);
    EXPECT_TRUE(Visible(ui.SheetButton(IDOK)));
    EXPECT_TRUE(Enabled(ui.Control(IDC_BUTTON_BROWSE)));
    EXPECT_TRUE(Enabled(ui.Control(IDC_BUTTON_REMOVE)));
    EXPECT_FALSE(Enabled(ui.Control(IDC_EDIT_FROM)));
    ui.Close();

    // The printer named with -M (any case) decides instead of the default one.
    CUiDriver& named = Start(L" -M \"lumeo ui pdf\"" + line);
    const std::wstring strNamed = DismissMessage(named);
    EXPECT_EQ(strNamed.substr(0, 74),
              L"These files were not added:\r\nphoto.JPG \x2014 the printer takes PDF, not JPEG\r\n");
    EXPECT_EQ(strNamed.substr(strNamed.size() - kWaitNote.size()), kWaitNote);
    EXPECT_EQ(named.ListItems(IDC_LIST_FILE), (Paths{pdf}));
    EXPECT_EQ(CUiDriver::Text(named.Control(IDC_COMBO_PRINTERLIST)), kPdfPrinter);
}

TEST_F(BasicPageDriven, FilesAnotherPrinterRefusesLeaveTheListNamedAndComeBackWithAPrinterThatTakesThem)
{
    AddStandardPrinters();
    const Paths files = {MakeFile(L"a.pdf"), MakeFile(L"b.jpeg"), MakeFile(L"c.pdf"), MakeFile(L"d.tiff")};
    CUiDriver& ui = Start(Quoted(files));
    ASSERT_EQ(ui.ListItems(IDC_LIST_FILE), files);

    std::filesystem::remove(files[2]);
    ui.ChooseComboItem(IDC_COMBO_PRINTERLIST, ComboIndexOf(ui, kPdfPrinter));
    EXPECT_EQ(DismissMessage(ui), L"These files left the list:\r\nb.jpeg \x2014 the printer takes PDF, not JPEG\r\n"
                                  L"c.pdf \x2014 not found\r\nd.tiff \x2014 the printer takes PDF, not TIFF" +
                                      kWaitNote);
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0]}));
    EXPECT_TRUE(Visible(ui.SheetButton(IDOK)));

    // An unsupported printer leaves the list alone, disables Print and shows message 2.
    ui.ChooseComboItem(IDC_COMBO_PRINTERLIST, ComboIndexOf(ui, kUnsupportedPrinter));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0]}));
    EXPECT_FALSE(Enabled(ui.SheetButton(IDOK)));
    EXPECT_TRUE(Visible(ui.SheetButton(IDOK))) << "Print is disabled, not hidden";
    EXPECT_FALSE(Enabled(ui.Control(IDC_BUTTON_BROWSE)));
    EXPECT_TRUE(Enabled(ui.Control(IDC_BUTTON_REMOVE)));
    HWND hMessage = ui.WaitForMessageDialog(5000);
    ASSERT_NE(hMessage, nullptr);
    EXPECT_EQ(ui.MessageText(hMessage),
              L"Lumeo cannot print on the selected printer. Please choose another printer." + kWaitNote);
    EXPECT_EQ(CUiDriver::Text(hMessage), L"Lumeo");
    ui.Click(GetDlgItem(hMessage, IDOK));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() == nullptr; }, 5000));

    // A printer that takes them brings them back, without a word: they were named.
    ui.ChooseComboItem(IDC_COMBO_PRINTERLIST, ComboIndexOf(ui, kFilePrinter));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.ListItems(IDC_LIST_FILE).size() == 3; }, 10000));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0], files[1], files[3]}));
    EXPECT_TRUE(Visible(ui.SheetButton(IDOK)));
    EXPECT_TRUE(Enabled(ui.Control(IDC_BUTTON_BROWSE)));
    // The message came once: none follows within more than its timer's period.
    EXPECT_FALSE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() != nullptr; }, 3000));
}

TEST_F(BasicPageDriven, BrowseStartsOnEveryTypeThePrinterTakesThenEachType)
{
    AddStandardPrinters();
    CUiDriver& ui = Start(L" -M \"" + kPdfPrinter + L"\"");
    PostMessageW(ui.Control(IDC_BUTTON_BROWSE), BM_CLICK, 0, 0);
    HWND hTypes = nullptr;  // the open dialog's list of file types
    ASSERT_TRUE(CUiDriver::WaitUntil(
        [&] {
            for (HWND hWnd : ui.ProcessWindows())
                if ((hTypes = GetDlgItem(hWnd, 0x470)) != nullptr && IsWindowVisible(hTypes))
                    return true;
            return false;
        },
        10000));
    std::vector<std::wstring> items(static_cast<size_t>(Send(hTypes, CB_GETCOUNT)));
    for (size_t i = 0; i < items.size(); ++i) {
        wchar_t szItem[260] = {};
        Send(hTypes, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szItem));
        items[i] = szItem;
    }
    EXPECT_EQ(items, (Paths{L"All files Lumeo can print (*.PDF)", L"PDF files (*.PDF)"}));
    EXPECT_EQ(Send(hTypes, CB_GETCURSEL), 0);
    PostMessageW(GetParent(hTypes), WM_COMMAND, IDCANCEL, 0);
}

TEST_F(BasicPageDriven, RemoveDeletesTheSelectedEntries)
{
    AddStandardPrinters();
    const Paths files = {MakeFile(L"0.pdf"), MakeFile(L"1.pdf"), MakeFile(L"2.pdf"), MakeFile(L"3.pdf"),
                         MakeFile(L"4.pdf")};
    CUiDriver& ui = Start(Quoted(files));
    ui.SelectListItems(IDC_LIST_FILE, {1, 3});
    ui.Click(ui.Control(IDC_BUTTON_REMOVE));
    EXPECT_EQ(ui.ListItems(IDC_LIST_FILE), (Paths{files[0], files[2], files[4]}));
    EXPECT_EQ(ui.SelectedListItemCount(IDC_LIST_FILE), 0);
    ui.SelectListItems(IDC_LIST_FILE, {0, 1, 2});
    ui.Click(ui.Control(IDC_BUTTON_REMOVE));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());
    EXPECT_FALSE(Enabled(ui.Control(IDC_BUTTON_REMOVE)));
}

TEST_F(BasicPageDriven, CopiesFromAndToRepairThemselves)
{
    AddStandardPrinters();
    CUiDriver& ui = Start(L"");
    HWND hCopies = ui.Control(IDC_EDIT_COPIES), hFrom = ui.Control(IDC_EDIT_FROM), hTo = ui.Control(IDC_EDIT_TO);
    EXPECT_EQ(CUiDriver::Text(hCopies), L"1");

    // Copies 0 is put back to 1 at once; letters and signs are refused.
    ui.FocusControl(hCopies);
    ui.SelectAllText(hCopies);
    ui.Type(hCopies, L"0");
    EXPECT_EQ(CUiDriver::Text(hCopies), L"1");
    ui.SelectAllText(hCopies);
    ui.Type(hCopies, L"7x-");
    EXPECT_EQ(CUiDriver::Text(hCopies), L"7");

    // Pages enables From and To with "1"; an emptied edit becomes "1" when left.
    ui.Click(ui.Control(IDC_RADIO_PRINTRANGE_PAGES));
    EXPECT_TRUE(Enabled(hFrom));
    EXPECT_TRUE(Enabled(hTo));
    EXPECT_EQ(CUiDriver::Text(hFrom), L"1");
    EXPECT_EQ(CUiDriver::Text(hTo), L"1");
    ui.FocusControl(hFrom);
    ui.SelectAllText(hFrom);
    ui.Type(hFrom, L"\b");
    EXPECT_EQ(CUiDriver::Text(hFrom), L"");
    ui.FocusControl(hTo);
    EXPECT_EQ(CUiDriver::Text(hFrom), L"1");
    ui.SelectAllText(hTo);
    ui.Type(hTo, L"\b");
    ui.FocusControl(hCopies);
    EXPECT_EQ(CUiDriver::Text(hTo), L"1");

    // From above To is the print run's business, not the page's.
    ui.FocusControl(hFrom);
    ui.SelectAllText(hFrom);
    ui.Type(hFrom, L"5");
    ui.FocusControl(hTo);
    ui.SelectAllText(hTo);
    ui.Type(hTo, L"3");
    ui.FocusControl(hCopies);
    EXPECT_EQ(CUiDriver::Text(hFrom), L"5");
    EXPECT_EQ(CUiDriver::Text(hTo), L"3");

    ui.Click(ui.Control(IDC_RADIO_PRINTRANGE_ALL));
    EXPECT_EQ(CUiDriver::Text(hFrom), L"1");
    EXPECT_EQ(CUiDriver::Text(hTo), L"1");
    EXPECT_FALSE(Enabled(hFrom));
    EXPECT_FALSE(Enabled(hTo));
}

TEST_F(BasicPageDriven, BusyPrinterShowsItsMessageAfterTheTimer)
{
    AddPrinter(kBusyPrinter, L"LPT1:", L"BUSY");
    WinePrinters::MakeDefault(kBusyPrinter);
    const std::wstring pdf = MakeFile(L"a.pdf");
    AddPrinter(kFilePrinter, L"FILE:");
    CUiDriver& ui = Start(Quoted({pdf}));
    EXPECT_TRUE(ui.ListItems(IDC_LIST_FILE).empty());  // never admitted while busy, but kept
    EXPECT_FALSE(Enabled(ui.SheetButton(IDOK)));
    EXPECT_FALSE(Enabled(ui.Control(IDC_BUTTON_BROWSE)));
    EXPECT_TRUE(Enabled(ui.Control(IDC_COMBO_PRINTERLIST)));
    HWND hMessage = ui.WaitForMessageDialog(6000);
    ASSERT_NE(hMessage, nullptr);
    EXPECT_EQ(ui.MessageText(hMessage), L"The selected printer does not answer. Another program may be using it, its "
                                        L"cable may be loose, or it may be turned off.\r\nThe files wait: they appear "
                                        L"in the list once the printer answers (F5 asks again) or a printer that takes "
                                        L"them is chosen.");
    ui.Click(GetDlgItem(hMessage, IDOK));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.FindMessageDialog() == nullptr; }, 5000));
    ui.ChooseComboItem(IDC_COMBO_PRINTERLIST, ComboIndexOf(ui, kFilePrinter));
    EXPECT_TRUE(CUiDriver::WaitUntil([&] { return ui.ListItems(IDC_LIST_FILE) == Paths{pdf}; }, 10000));
}

TEST_F(BasicPageDriven, WithoutPrintersTheNoPrinterMessageFollows)
{
    if (CountLocalPrinters() != 0)
        GTEST_SKIP() << "the prefix holds printers of its own";
    CUiDriver& ui = Start(L"");
    EXPECT_TRUE(ui.ComboItems(IDC_COMBO_PRINTERLIST).empty());
    EXPECT_FALSE(Enabled(ui.Control(IDC_COMBO_PRINTERLIST)));
    EXPECT_FALSE(Enabled(ui.Control(IDC_BUTTON_BROWSE)));
    EXPECT_FALSE(Enabled(ui.SheetButton(IDOK)));
    HWND hMessage = ui.WaitForMessageDialog(8000);
    ASSERT_NE(hMessage, nullptr);
    EXPECT_EQ(ui.MessageText(hMessage), L"Before you can print, you need to install a printer.");
    ui.Click(GetDlgItem(hMessage, IDOK));
}
