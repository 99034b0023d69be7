#include "job/print_summary.h"

#include "common/placeholders.h"
#include "common/ui_text.h"
#include "job/job_messages.h"

const wchar_t kPrintRunSection[] = L"UI_PRINT_RUN";

namespace {
struct ReasonText {
    FileOutcome outcome;
    const wchar_t* key;
    const wchar_t* defaultText;
};

constexpr ReasonText kReasons[] = {
    {FileOutcome::Cancelled, L"IDL_REASON_CANCELLED", L"Not sent: printing was cancelled."},
    {FileOutcome::PrinterError, L"IDL_REASON_PRINTERERROR", L"The printer reported an error."},
    {FileOutcome::PrinterOffline, L"IDL_REASON_OFFLINE", L"The printer is offline."},
    {FileOutcome::PaperOut, L"IDL_REASON_PAPEROUT", L"The printer is out of paper."},
    {FileOutcome::JobPaused, L"IDL_REASON_PAUSED", L"The job was paused in the print queue."},
    {FileOutcome::JobBlocked, L"IDL_REASON_BLOCKED", L"The job is blocked in the print queue."},
    {FileOutcome::JobDeleted, L"IDL_REASON_DELETED", L"The job was deleted from the print queue."},
    {FileOutcome::InternalError, L"IDL_REASON_INTERNAL", L"Not sent: internal error"},
};

std::wstring RunText(const wchar_t* key, const wchar_t* defaultText)
{
    return GetUIText(kPrintRunSection, key, defaultText);
}
}  // namespace

std::wstring FileOutcomeReason(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::Sent:
        return {};
    case FileOutcome::Unreadable:
        return JobMessageText(kMsgInvalidFile);
    case FileOutcome::NotTakenWhole:
        return JobMessageText(kMsgPrintFailed);
    case FileOutcome::Refused:
        return JobMessageText(kMsgRefusedContent);
    default:
        break;
    }
    for (const ReasonText& reason : kReasons)
        if (reason.outcome == outcome)
            return RunText(reason.key, reason.defaultText);
    return JobMessageText(kMsgInvalidFile);
}

std::wstring FileNameOfPath(const std::wstring& strPath)
{
    const size_t nSlash = strPath.rfind(L'\\');
    return nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
}

PrintRunSummary SummarizePrintRun(const std::wstring& strPrinter, const std::vector<std::wstring>& arrFiles,
                                  const std::vector<FileOutcome>& arrOutcomes, bool bCancelled)
{
    PrintRunSummary summary;
    summary.bCancelled = bCancelled;
    size_t nSent = 0;
    const std::wstring strLine = RunText(L"IDL_SUMMARY_LINE", L"{1}: {2}");
    for (size_t i = 0; i < arrFiles.size(); ++i) {
        const FileOutcome outcome = i < arrOutcomes.size() ? arrOutcomes[i] : FileOutcome::Cancelled;
        if (outcome == FileOutcome::Sent)
            ++nSent;
        else
            summary.arrFailures.push_back(
                FillPlaceholders(strLine, {FileNameOfPath(arrFiles[i]), FileOutcomeReason(outcome)}));
    }
    const std::wstring strPattern = bCancelled
                                        ? RunText(L"IDL_SUMMARY_CANCELLED", L"Printing cancelled: {1} of {2} files sent to {3}.")
                                        : RunText(L"IDL_SUMMARY_SENT", L"{1} of {2} files sent to {3}.");
    summary.strHeadline =
        FillPlaceholders(strPattern, {std::to_wstring(nSent), std::to_wstring(arrFiles.size()), strPrinter});
    return summary;
}

std::wstring SummaryMessageText(const PrintRunSummary& summary, size_t nMaxFailures)
{
    std::wstring strText = summary.strHeadline;
    for (size_t i = 0; i < summary.arrFailures.size() && i < nMaxFailures; ++i)
        strText += L"\r\n" + summary.arrFailures[i];
    if (summary.arrFailures.size() > nMaxFailures) {
        const std::wstring strMore = RunText(L"IDL_SUMMARY_MORE", L"\x2026" L" and {1} more.");
        strText += L"\r\n" + FillPlaceholders(strMore, {std::to_wstring(summary.arrFailures.size() - nMaxFailures)});
    }
    return strText;
}
