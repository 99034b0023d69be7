// The IPP road against printers that go wrong: each file ends as the printer says its job
// ended, never as a success it did not give, and a stop reaches every wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "job/ipp/ipp_print_run.h"
#include "tests/support/ipp_peer.h"
#include "tests/support/temp_file.h"

TEST(IppPrintRun, EachFileEndsAsThePrinterSaysItsJobEndedAndAStopReachesEveryWait)
{
    IppPeer peer("hostile");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const std::string strPdf = "%PDF-1.4\n" + std::string(3000, '%') + "\n%%EOF\n";
    const TempFile pdf("ipp_run.pdf", strPdf);
    const std::filesystem::path folder = peer.Folder();
    constexpr const char* kBusy = "(told busy)";
    const struct {
        const char* path;
        uint32_t nWaitSeconds;
        const char* pszStopWhen;  // the run is stopped once the printer has written this file
        FileOutcome outcome;
        const wchar_t* pszDetail;
        std::optional<uint32_t> nPages;
        bool bDocument, bCancelJob;  // the printer had the whole document; a Cancel-Job came
    } cases[] = {
        {"/job/with-errors", 5, nullptr, FileOutcome::PrinterTrouble, L"Toner ran out (job-completed-with-errors)", 2,
         true, false},
        {"/job/zero-pages", 5, nullptr, FileOutcome::Sent, L"", std::nullopt, true, false},
        {"/job/held", 1, nullptr, FileOutcome::JobStalled, L"pending-held (job-hold-until-specified)", std::nullopt,
         true, false},
        {"/job/processing", 1, nullptr, FileOutcome::NotFinished, L"processing: Printing page 2", std::nullopt, true,
         false},
        {"/job/no-job-id", 5, nullptr, FileOutcome::PrinterRefused, L"successful-ok (no job-id)", std::nullopt, false,
         false},
        {"/job/negative-job-id", 5, nullptr, FileOutcome::PrinterRefused, L"(no job-id)", std::nullopt, false, false},
        {"/job/ignored", 5, nullptr, FileOutcome::OptionNotTaken, L"copies=2", std::nullopt, false, true},
        {"/job/busy", 2, nullptr, FileOutcome::PrinterBusy, L"", std::nullopt, false, false},
        {"/job/busy", 30, kBusy, FileOutcome::Cancelled, L"", std::nullopt, false, false},
        {"/job/late-cancel", 30, "asked-job", FileOutcome::Sent, L"", 3, true, true},
        {"/job/late-abort", 30, "asked-job", FileOutcome::JobAborted, L"Job aborted.", std::nullopt, true, true},
        {"/job/huge-database", 5, nullptr, FileOutcome::Sent, L"", 1, true, false},
        {"/print-job/busy-once", 5, nullptr, FileOutcome::Sent, L"", 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + std::string(c.pszStopWhen ? " stopped" : ""));
        for (const char* pszLeft : {"counted", "cancelled", "asked-job"})
            std::filesystem::remove(folder / pszLeft);
        IppRunInput input;
        const std::string strUrl = peer.Url("ipp", "127.0.0.1", c.path);
        input.strUrl.assign(strUrl.begin(), strUrl.end());
        input.settings = JobSettings{.m_nCopies = 2, .m_nZoom = 100};
        input.arrFiles = {pdf.Path()};
        input.nWaitSeconds = c.nWaitSeconds;
        int nBusyLeft = 0;
        IppRunHooks hooks;
        hooks.fnPrinterBusy = [&](int nSecondsLeft) { nBusyLeft = std::max(nBusyLeft, nSecondsLeft); };
        const auto fnStop = [&] {
            return c.pszStopWhen && (c.pszStopWhen == kBusy ? nBusyLeft > 0 : exists(folder / c.pszStopWhen));
        };
        const std::vector<IppFileEnd> ends = SendFilesOverIpp(input, fnStop, hooks);
        ASSERT_EQ(ends.size(), 1u);
        EXPECT_EQ(ends[0].reason.outcome, c.outcome) << std::string(ends[0].reason.strDetail.begin(),
                                                                    ends[0].reason.strDetail.end());
        EXPECT_NE(ends[0].reason.strDetail.find(c.pszDetail), std::wstring::npos);
        EXPECT_EQ(ends[0].nPages, c.nPages);
        EXPECT_EQ(ReadWholeFile(folder / "counted").starts_with(std::to_string(strPdf.size()) + "\n"), c.bDocument);
        EXPECT_EQ(exists(folder / "cancelled"), c.bCancelJob);
        EXPECT_EQ(nBusyLeft > 0, std::string(c.path).find("busy") != std::string::npos) << nBusyLeft;
    }
}
