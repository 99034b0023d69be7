#include "job/outcome/print_summary.h"

#include <algorithm>

#include "common/placeholders.h"
#include "common/printable_text.h"
#include "common/ui_text.h"

const wchar_t kPrintRunSection[] = L"UI_PRINT_RUN";

namespace {
std::wstring RunText(const wchar_t* key, const wchar_t* defaultText)
{
    return GetUIText(kPrintRunSection, key, defaultText);
}
}  // namespace

std::wstring FileNameOfPath(const std::wstring& strPath)
{
    const size_t nSlash = strPath.rfind(L'\\');
    return nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
}

std::wstring FileReasonLine(const std::wstring& strPath, const FileReason& reason)
{
    return FillPlaceholders(RunText(L"IDL_SUMMARY_LINE", L"{1} \x2014 {2}"),
                            {PrintableText(FileNameOfPath(strPath)), PrintableText(FileReasonText(reason))});
}

std::wstring FilePrintedLine(const std::wstring& strPath, uint32_t nPages)
{
    const std::wstring strPrinted =
        FillPlaceholders(RunText(L"IDL_FILE_PRINTED", L"printed, {1} {1:page|pages}"), {std::to_wstring(nPages)});
    return FillPlaceholders(RunText(L"IDL_SUMMARY_LINE", L"{1} \x2014 {2}"),
                            {PrintableText(FileNameOfPath(strPath)), PrintableText(strPrinted)});
}

bool WasSent(const FileReason& reason)
{
    return PrinterHasTheJob(reason) || reason.outcome == FileOutcome::PrinterTrouble;
}

bool PrinterHasTheJob(const FileReason& reason)
{
    return reason.outcome == FileOutcome::Sent || reason.outcome == FileOutcome::NotFinished ||
           reason.outcome == FileOutcome::JobStalled;
}

std::wstring BusyWaitLine(int nSecondsLeft)
{
    return FillPlaceholders(
        RunText(L"IDL_STATUS_BUSY", L"The printer is busy with another job; waiting, {1} s left"),
        {std::to_wstring(nSecondsLeft)});
}

PrinterRunReport OwnCountsReport(const std::vector<FileReason>& arrReasons,
                                 const std::vector<std::optional<uint32_t>>& arrPages)
{
    PrinterRunReport report;
    report.bOwnCounts = true;
    uint64_t nTotal = 0;
    bool bAllCounted = true, bAny = false;
    for (size_t i = 0; i < arrReasons.size(); ++i) {
        const FileOutcome outcome = arrReasons[i].outcome;
        const std::optional<uint32_t> nPages = i < arrPages.size() ? arrPages[i] : std::nullopt;
        if (outcome == FileOutcome::PrinterTrouble || outcome == FileOutcome::JobAborted ||
            outcome == FileOutcome::JobStalled)
            report.verdict = FollowVerdict::Trouble;
        else if (outcome == FileOutcome::NotFinished && report.verdict != FollowVerdict::Trouble)
            report.verdict = FollowVerdict::TimedOut;
        if (outcome != FileOutcome::Sent)
            continue;
        bAny = true;
        bAllCounted = bAllCounted && nPages && *nPages > 0;
        nTotal += nPages.value_or(0);
    }
    if (report.verdict == FollowVerdict::NoState && bAny && bAllCounted)
        report.verdict = FollowVerdict::Done;
    if (bAny && bAllCounted)
        report.nPages = static_cast<uint32_t>(std::min<uint64_t>(nTotal, UINT32_MAX));
    return report;
}

uint32_t MostPagesOfRun(const JobSettings& settings, size_t nFiles)
{
    const bool bRange = settings.m_nPrintRange == 1 && settings.m_nFromPage >= 1 &&
                        settings.m_nToPage >= settings.m_nFromPage;
    const uint64_t nPages = bRange ? static_cast<uint64_t>(settings.m_nToPage - settings.m_nFromPage + 1)
                                   : kMostPagesOfAFile;
    const uint64_t nMost = nPages * std::max<uint64_t>(settings.m_nCopies, 1) * nFiles;
    return static_cast<uint32_t>(std::min<uint64_t>(nMost, UINT32_MAX));
}

std::wstring RoadLine(const std::wstring& strIppUrl)
{
    if (strIppUrl.empty())
        return RunText(L"IDL_ROAD_SPOOLER", L"Road: spooler");
    return FillPlaceholders(RunText(L"IDL_ROAD_IPP", L"Road: IPP to {1}"), {PrintableText(strIppUrl)});
}

std::wstring PrinterRunLine(const PrinterRunReport& printer, size_t nFilesSent)
{
    // Each file has said its own count: the total is one sum, of no shared counter.
    if (printer.bOwnCounts && printer.nPages && *printer.nPages > 0)
        return FillPlaceholders(RunText(L"IDL_PRINTER_PRINTED", L"The printer printed {1} {1:page|pages}."),
                                {std::to_wstring(*printer.nPages)});
    if (printer.verdict == FollowVerdict::TimedOut)
        return RunText(L"IDL_PRINTER_NOTDONE", L"The printer had not finished when the wait ended.");
    if (printer.verdict != FollowVerdict::Done || !printer.nPages || nFilesSent == 0 || printer.bOwnCounts)
        return {};
    // A counter that stood still: the printer may not have begun, or may not count this.
    if (*printer.nPages == 0)
        return RunText(L"IDL_PRINTER_NOCOUNT", L"The printer shows no pages counted yet.");
    if (nFilesSent == 1)
        return FillPlaceholders(RunText(L"IDL_PRINTER_PRINTED", L"The printer printed {1} {1:page|pages}."),
                                {std::to_wstring(*printer.nPages)});
    return FillPlaceholders(
        RunText(L"IDL_PRINTER_PRINTED_FILES", L"The printer printed {1} {1:page|pages} for these {2} files together."),
        {std::to_wstring(*printer.nPages), std::to_wstring(nFilesSent)});
}

PrintRunSummary SummarizePrintRun(const std::wstring& strPrinter, const std::vector<std::wstring>& arrFiles,
                                  const std::vector<FileReason>& arrReasons, bool bCancelled,
                                  const PrinterRunReport& printer,
                                  const std::vector<std::optional<uint32_t>>& arrPages)
{
    PrintRunSummary summary;
    summary.bCancelled = bCancelled;
    size_t nSent = 0;
    for (size_t i = 0; i < arrFiles.size(); ++i) {
        const FileReason reason = i < arrReasons.size() ? arrReasons[i] : FileReason(FileOutcome::Cancelled);
        if (WasSent(reason))
            ++nSent;
        if (reason.outcome == FileOutcome::Sent && i < arrPages.size() && arrPages[i].value_or(0) > 0)
            summary.arrPrinted.push_back(FilePrintedLine(arrFiles[i], *arrPages[i]));
        if (reason.outcome != FileOutcome::Sent)
            summary.arrFailures.push_back(FileReasonLine(arrFiles[i], reason));
    }
    const std::wstring strPattern =
        bCancelled ? RunText(L"IDL_SUMMARY_CANCELLED", L"Printing cancelled: {1} of {2} {2:file|files} sent to {3}.")
                   : RunText(L"IDL_SUMMARY_SENT", L"{1} of {2} {2:file|files} sent to {3}.");
    summary.strHeadline =
        FillPlaceholders(strPattern, {std::to_wstring(nSent), std::to_wstring(arrFiles.size()), strPrinter});
    summary.strPrinterLine = PrinterRunLine(printer, nSent);
    return summary;
}

std::wstring ListedMessageText(const std::wstring& strFirstLine, const std::vector<std::wstring>& arrLines,
                               size_t nMaxLines)
{
    std::wstring strText = strFirstLine;
    for (size_t i = 0; i < arrLines.size() && i < nMaxLines; ++i)
        strText += L"\r\n" + arrLines[i];
    if (arrLines.size() > nMaxLines) {
        const std::wstring strMore = RunText(L"IDL_SUMMARY_MORE", L"\x2026" L" and {1} more.");
        strText += L"\r\n" + FillPlaceholders(strMore, {std::to_wstring(arrLines.size() - nMaxLines)});
    }
    return strText;
}

std::wstring SummaryMessageText(const PrintRunSummary& summary, size_t nMaxFailures)
{
    const std::wstring strFirst =
        summary.strPrinterLine.empty() ? summary.strHeadline : summary.strHeadline + L"\r\n" + summary.strPrinterLine;
    // What went wrong first: the files that printed are the lesser news.
    std::vector<std::wstring> arrLines = summary.arrFailures;
    arrLines.insert(arrLines.end(), summary.arrPrinted.begin(), summary.arrPrinted.end());
    return ListedMessageText(strFirst, arrLines, nMaxFailures);
}
