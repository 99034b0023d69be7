#pragma once
// The words a print run ends with: how many files went to which printer, and each
// file that did not go with its reason. All texts come from the UI string file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_reason.h"
#include "job/settings/job_settings.h"
#include "printer/state/printer_follow.h"

// Section of the UI string file that holds the print run's texts.
extern const wchar_t kPrintRunSection[];

// What the printer itself told once the run's jobs had left the queue. It counts pages,
// not files: one count for the whole run.
struct PrinterRunReport {
    FollowVerdict verdict = FollowVerdict::NoState;
    std::optional<uint32_t> nPages;  // Done: by how many its counter rose, when it says
    // Over IPP each file's job counts its own pages: nPages is then their total, whatever
    // the verdict, and no count is shared.
    bool bOwnCounts = false;
};

// What the printer told of a run whose files were each a job of its own, counted on its own
// (arrPages[i] of file i, when its job said): trouble when a job ended in it or was not
// printed, timed out when one had not finished, done with the total when every job the
// printer has counted its pages.
PrinterRunReport OwnCountsReport(const std::vector<FileReason>& arrReasons,
                                 const std::vector<std::optional<uint32_t>>& arrPages);

// The most pages nFiles files can make with these settings: the pages of the range, or
// kMostPagesOfAFile when a file prints whole, times the copies.
constexpr uint32_t kMostPagesOfAFile = 9999;  // the highest page a range may name
uint32_t MostPagesOfRun(const JobSettings& settings, size_t nFiles);

struct PrintRunSummary {
    std::wstring strHeadline;               // "2 of 3 files sent to Office."
    std::wstring strPrinterLine;            // "The printer printed 3 pages.", or empty
    std::vector<std::wstring> arrPrinted;   // each file counted on its own: "a.pdf — printed, 3 pages"
    std::vector<std::wstring> arrFailures;  // "letter.pdf — <reason>", in list order
    bool bCancelled = false;
};

// The part of a path after its last backslash.
std::wstring FileNameOfPath(const std::wstring& strPath);
// "letter.pdf — <reason>": one file and its reason on one line, free of control characters.
std::wstring FileReasonLine(const std::wstring& strPath, const FileReason& reason);

// "a.pdf — printed, 3 pages": a file whose own job the printer reported done, with its count.
std::wstring FilePrintedLine(const std::wstring& strPath, uint32_t nPages);

// "Road: IPP to ipp://…" for a run sent over IPP to that URL, "Road: spooler" for an empty URL.
std::wstring RoadLine(const std::wstring& strIppUrl);

// Sent, with or without trouble the printer reported after it, or still at the printer
// when the wait ended.
bool WasSent(const FileReason& reason);
// The printer has the file's job without trouble, or still holds it: printing it again
// would print it twice, so it leaves the list.
bool PrinterHasTheJob(const FileReason& reason);

// "The printer is busy with another job; waiting, 42 s left".
std::wstring BusyWaitLine(int nSecondsLeft);
// "The printer printed 3 pages.", the same said of several files together, that its counter
// has not moved yet, that it had not finished when the wait ended, or nothing: the
// headline's "sent" says all there is.
std::wstring PrinterRunLine(const PrinterRunReport& printer, size_t nFilesSent);

// arrReasons[i] and arrPages[i] (each file's own count, when its job gave one) belong to arrFiles[i].
PrintRunSummary SummarizePrintRun(const std::wstring& strPrinter, const std::vector<std::wstring>& arrFiles,
                                  const std::vector<FileReason>& arrReasons, bool bCancelled,
                                  const PrinterRunReport& printer = {},
                                  const std::vector<std::optional<uint32_t>>& arrPages = {});
// A first line and the lines below it as one text for a message, at most nMaxLines of
// them and a line that counts the rest.
std::wstring ListedMessageText(const std::wstring& strFirstLine, const std::vector<std::wstring>& arrLines,
                               size_t nMaxLines);
// Headline, printer line, the failure lines and then the files counted on their own as one
// text for a message, at most nMaxFailures lines below the first.
std::wstring SummaryMessageText(const PrintRunSummary& summary, size_t nMaxFailures);
