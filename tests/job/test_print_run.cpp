// The print run over a stand-in of the sheet whose Basic page reads its edits the way
// the real page does: the number is stored first, a failure stops the reading.
#include <gtest/gtest.h>

#include <cwchar>

#include "common/ini_text.h"
#include "common/placeholders.h"
#include "job/outcome/job_messages.h"
#include "job/outcome/print_summary.h"
#include "job/print_run.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/print_outcome.h"

namespace {
class FakeSheet : public PrintRunHost {
public:
    bool bBasicInitialized = true;
    bool bAdvancedInitialized = false;
    bool bZoomRefused = false;
    std::wstring strCopies = L"1", strFrom = L"1", strTo = L"1";
    std::vector<std::wstring> arrList;
    std::vector<std::wstring> arrSent;
    std::vector<int> arrMessages;
    int nFocusSheet = 0;
    int nAdvancedReads = 0;

    void FocusSheet() override { ++nFocusSheet; }
    bool IsBasicInitialized() const override { return bBasicInitialized; }
    bool ExchangeBasic() override
    {
        JobSettings& js = GetParamMngr()->m_JobSettings;
        if (!Read(strCopies, js.m_nCopies))
            return false;
        if (js.m_nCopies < 1 || js.m_nCopies > 99) {
            strCopies = L"1";  // the copies edit's repair
            return false;
        }
        return Read(strFrom, js.m_nFromPage) && InPageRange(js.m_nFromPage) && Read(strTo, js.m_nToPage) &&
               InPageRange(js.m_nToPage);
    }
    bool IsPrintRangeValid() override
    {
        if (!ExchangeBasic())
            return true;
        const JobSettings& js = GetParamMngr()->m_JobSettings;
        return js.m_nToPage >= js.m_nFromPage;
    }
    void ResetCopies() override
    {
        GetParamMngr()->SetCopies(1);
        strCopies = L"1";
    }
    void SetPageEditsToOne() override { strFrom = strTo = L"1"; }
    bool IsAdvancedInitialized() const override { return bAdvancedInitialized; }
    bool ExchangeAdvancedForPrint() override
    {
        ++nAdvancedReads;
        GetParamMngr()->SetColorMode(1);
        return !bZoomRefused;
    }
    std::vector<std::wstring> ListedPrintFiles() override
    {
        ExchangeBasic();
        return arrList;
    }
    void StartSending(std::vector<std::wstring> arrFiles) override { arrSent = std::move(arrFiles); }
    void ShowErrorMessage(int nKind) override { arrMessages.push_back(nKind); }

private:
    static bool Read(const std::wstring& strText, int32_t& nField)
    {
        wchar_t* pEnd = nullptr;
        const long nValue = std::wcstol(strText.c_str(), &pEnd, 10);
        if (strText.empty() || *pEnd) {
            nField = 0;
            return false;
        }
        nField = static_cast<int32_t>(nValue);
        return true;
    }
    static bool InPageRange(int n) { return n >= 1 && n <= 9999; }
};

class PrintRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUITextSource(&m_ini);
        CParamMngr* pMngr = CreateParamMngr();
        pMngr->SetZoom(100);
        pMngr->SetCopies(1);
        pMngr->SetPageRange(1, 1);
        pMngr->SetPrintRange(1);
    }
    void TearDown() override
    {
        DestroyParamMngr();
        SetUITextSource(nullptr);
    }
    const JobSettings& Settings() const { return GetParamMngr()->m_JobSettings; }
    CIniText m_ini;
    FakeSheet m_sheet;
};
}  // namespace

TEST_F(PrintRun, SendsEveryFileInListOrderAndLeavesTheListToTheSending)
{
    m_sheet.arrList = {L"C:\\a.pdf", L"C:\\b.jpg", L"C:\\c.pdf"};
    m_sheet.strFrom = L"2";
    m_sheet.strTo = L"5";
    EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::Printed);
    EXPECT_EQ(m_sheet.arrSent, (std::vector<std::wstring>{L"C:\\a.pdf", L"C:\\b.jpg", L"C:\\c.pdf"}));
    EXPECT_EQ(m_sheet.arrList.size(), 3u) << "files leave the list once sent";
    EXPECT_TRUE(m_sheet.arrMessages.empty());
    EXPECT_EQ(m_sheet.nFocusSheet, 1);
    EXPECT_EQ(Settings().m_nFromPage, 2);
    EXPECT_EQ(Settings().m_nToPage, 5);
}

TEST_F(PrintRun, AnEmptyListShowsMessage5AndKeepsTheOptions)
{
    m_sheet.strCopies = L"7";
    EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::NoFiles);
    EXPECT_EQ(m_sheet.arrMessages, std::vector<int>{kMsgNoFiles});
    EXPECT_EQ(Settings().m_nCopies, 7);
    EXPECT_EQ(Settings().m_nZoom, 100);
}

TEST_F(PrintRun, ToBelowFromShowsMessage7AndResetsTheRangeToOne)
{
    m_sheet.arrList = {L"C:\\a.pdf"};
    m_sheet.strFrom = L"5";
    m_sheet.strTo = L"3";
    EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::InvalidRange);
    EXPECT_EQ(m_sheet.arrMessages, std::vector<int>{kMsgInvalidPrintRange});
    EXPECT_EQ(Settings().m_nFromPage, 1);
    EXPECT_EQ(Settings().m_nToPage, 1);
    EXPECT_EQ(m_sheet.strFrom, L"1");
    EXPECT_EQ(m_sheet.strTo, L"1");
    EXPECT_TRUE(m_sheet.arrSent.empty());
    EXPECT_EQ(m_sheet.arrList.size(), 1u) << "the files stay for the next try";
}

TEST_F(PrintRun, ABoundOfZeroOrNoNumberStopsTheRunInsteadOfPrintingAllPages)
{
    for (const auto& bounds : {std::pair<std::wstring, std::wstring>{L"0", L"3"}, {L"2", L"0"}, {L"", L"3"},
                               {L"2", L""}}) {
        SCOPED_TRACE(testing::Message() << "From '" << std::string(bounds.first.begin(), bounds.first.end())
                                        << "' To '" << std::string(bounds.second.begin(), bounds.second.end()) << "'");
        m_sheet.arrMessages.clear();
        m_sheet.arrList = {L"C:\\a.pdf"};
        m_sheet.strFrom = bounds.first;
        m_sheet.strTo = bounds.second;
        EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::InvalidRange);
        EXPECT_EQ(m_sheet.arrMessages, std::vector<int>{kMsgInvalidPrintRange});
        EXPECT_TRUE(m_sheet.arrSent.empty());
        EXPECT_EQ(Settings().m_nFromPage, 1);
        EXPECT_EQ(Settings().m_nToPage, 1);
    }
}

TEST_F(PrintRun, CopiesOfZeroOrAnEmptyEditPrintOneCopyAndTheEditShowsOne)
{
    for (const std::wstring strCopies : {L"0", L""}) {
        m_sheet.arrList = {L"C:\\a.pdf"};
        m_sheet.strCopies = strCopies;
        m_sheet.strFrom = L"3";
        m_sheet.strTo = L"4";
        EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::Printed);
        EXPECT_EQ(Settings().m_nCopies, 1);
        EXPECT_EQ(m_sheet.strCopies, L"1");
        EXPECT_EQ(Settings().m_nFromPage, 3) << "the range is read after the copies' repair";
        EXPECT_EQ(Settings().m_nToPage, 4);
    }
}

TEST_F(PrintRun, PagesNeverOpenedAreNeitherCheckedNorRead)
{
    m_sheet.bBasicInitialized = false;
    m_sheet.strFrom = L"5";
    m_sheet.strTo = L"3";
    m_sheet.arrList = {L"C:\\a.pdf"};
    EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::Printed);
    EXPECT_EQ(m_sheet.nAdvancedReads, 0);
    EXPECT_EQ(Settings().m_nColorMode, 0) << "the sheet's defaults go out";

    m_sheet.bAdvancedInitialized = true;
    m_sheet.arrList = {L"C:\\a.pdf"};
    RunPrint(m_sheet);
    EXPECT_EQ(m_sheet.nAdvancedReads, 1);
    EXPECT_EQ(Settings().m_nColorMode, 1);

    // A zoom the page refuses is no job to send: the files wait for a zoom it takes.
    m_sheet.bZoomRefused = true;
    m_sheet.arrSent.clear();
    EXPECT_EQ(RunPrint(m_sheet), PrintRunResult::InvalidZoom);
    EXPECT_TRUE(m_sheet.arrSent.empty());
    EXPECT_EQ(m_sheet.arrList.size(), 1u);
}

TEST(PrintRunWords, PlacesAreFilledAndNothingElseOfAStringFileIsRead)
{
    const struct {
        std::wstring strPattern, strExpected;
    } cases[] = {
        {L"File {1} of {2}: {3}", L"File 2 of 9: a%s.pdf"},
        {L"{3}{3} {1}", L"a%s.pdfa%s.pdf 2"},
        {L"%s%n {0} {4} {12} {", L"%s%n {0} {4} {12} {"},
        // A form chosen by the count a place holds; without a count, or unclosed, the other
        // form or the text as it stands.
        {L"{1:file|files} {2:file|files} {1:one} {3:x|y}", L"files files one y"},
        {L"{2:a{1}|b} {1:a|b {1:x|y|z}", L"{2:a2|b} {1:a|b y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillPlaceholders(c.strPattern, {L"2", L"9", L"a%s.pdf"}), c.strExpected);
}

TEST(PrintRunWords, AJobStatusCountsAsSentUnlessItShowsTrouble)
{
    const std::pair<uint32_t, FileOutcome> cases[] = {
        {0x0, FileOutcome::Sent},          {0x10, FileOutcome::Sent},            // printing
        {0x2 | 0x10, FileOutcome::PrinterError}, {0x20, FileOutcome::PrinterOffline},
        {0x40, FileOutcome::PaperOut},     {0x1, FileOutcome::JobPaused},
        {0x200, FileOutcome::JobBlocked},  {0x4, FileOutcome::JobDeleted},
        {0x4 | 0x80, FileOutcome::Sent},   {0x100 | 0x1000, FileOutcome::Sent},  // printed, then removed
    };
    for (const auto& [nStatus, outcome] : cases)
        EXPECT_EQ(TroubleOfJobStatus(nStatus), outcome) << std::hex << nStatus;
}

TEST_F(PrintRun, TheSummaryCountsWhatWasSentAndGivesEachFailureItsReason)
{
    const std::vector<std::wstring> arrFiles = {L"C:\\in\\a.pdf", L"C:\\in\\b.pdf", L"c\u202E\x85.pdf", L"C:\\d.jpg"};
    const PrintRunSummary summary =
        SummarizePrintRun(L"Office", arrFiles,
                          {FileOutcome::Sent, FileReason(FileOutcome::CannotOpen, L"Access denied"),
                           FileOutcome::PaperOut, FileOutcome::Cancelled},
                          true);
    EXPECT_EQ(summary.strHeadline, L"Printing cancelled: 1 of 4 files sent to Office.");
    EXPECT_EQ(summary.arrFailures, (std::vector<std::wstring>{L"b.pdf \x2014 cannot be opened: Access denied",
                                                              L"c\xFFFD\xFFFD.pdf \x2014 the printer is out of paper",
                                                              L"d.jpg \x2014 printing was cancelled"}));
    EXPECT_EQ(SummaryMessageText(summary, 1), L"Printing cancelled: 1 of 4 files sent to Office.\r\n"
                                              L"b.pdf \x2014 cannot be opened: Access denied\r\n"
                                              L"\x2026 and 2 more.");
    EXPECT_EQ(SummarizePrintRun(L"Office", {L"a.pdf"}, {FileOutcome::Sent}, false).strHeadline,
              L"1 of 1 file sent to Office.");
    // A file sent into the printer's trouble counts as sent, with the printer's words; the
    // printer's one count belongs to every file sent.
    const PrintRunSummary trouble = SummarizePrintRun(
        L"Office", {L"a.pdf", L"b.pdf"}, {FileOutcome::Sent, FileReason(FileOutcome::PrinterTrouble, L"Jam in tray 1")},
        false, {FollowVerdict::Done, 5});
    EXPECT_EQ(SummaryMessageText(trouble, 9), L"2 of 2 files sent to Office.\r\nThe printer printed 5 pages for these "
                                              L"2 files together.\r\nb.pdf \x2014 the printer reports: Jam in tray 1");
    EXPECT_EQ(PrinterRunLine({FollowVerdict::Done, 1}, 1), L"The printer printed 1 page.");
    EXPECT_EQ(PrinterRunLine({FollowVerdict::Done, std::nullopt}, 1), L"");  // no count: "sent" says it
    EXPECT_EQ(PrinterRunLine({FollowVerdict::Done, 0}, 2), L"The printer shows no pages counted yet.");
    // Over IPP each job counts its own pages: an aborted one is not sent and not in the total.
    const std::vector<FileReason> arrIpp = {FileOutcome::Sent, FileOutcome::Sent,
                                            FileReason(FileOutcome::JobAborted, L"Paper jam")};
    const PrinterRunReport own = OwnCountsReport(arrIpp, {3, 2, 7});
    EXPECT_EQ(own.verdict, FollowVerdict::Trouble);
    EXPECT_EQ(SummaryMessageText(SummarizePrintRun(L"Office", {L"a.pdf", L"b.pdf", L"c.pdf"}, arrIpp, false, own,
                                                   {3, 2, 7}),
                                 9),
              L"2 of 3 files sent to Office.\r\nThe printer printed 5 pages.\r\nc.pdf \x2014 the printer reports: "
              L"Paper jam\r\na.pdf \x2014 printed, 3 pages\r\nb.pdf \x2014 printed, 2 pages");
    EXPECT_EQ(OwnCountsReport({FileOutcome::Sent}, {0}).nPages, std::nullopt);  // 0 pages is no count
    EXPECT_EQ(OwnCountsReport({FileOutcome::Sent, FileOutcome::Sent}, {UINT32_MAX, 9}).nPages, UINT32_MAX);
    // The most pages a run can make: the range's pages, else a bound per file; times copies.
    EXPECT_EQ(MostPagesOfRun({.m_nPrintRange = 1, .m_nFromPage = 3, .m_nToPage = 5, .m_nCopies = 2}, 2), 12u);
    EXPECT_EQ(MostPagesOfRun({.m_nPrintRange = 0, .m_nFromPage = 3, .m_nToPage = 5}, 1), kMostPagesOfAFile);
}
