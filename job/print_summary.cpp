#include "job/print_summary.h"

#include "common/placeholders.h"
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
                            {FileNameOfPath(strPath), FileReasonText(reason)});
}

PrintRunSummary SummarizePrintRun(const std::wstring& strPrinter, const std::vector<std::wstring>& arrFiles,
                                  const std::vector<FileReason>& arrReasons, bool bCancelled)
{
    PrintRunSummary summary;
    summary.bCancelled = bCancelled;
    size_t nSent = 0;
    for (size_t i = 0; i < arrFiles.size(); ++i) {
        const FileReason reason = i < arrReasons.size() ? arrReasons[i] : FileReason(FileOutcome::Cancelled);
        if (reason.outcome == FileOutcome::Sent)
            ++nSent;
        else
            summary.arrFailures.push_back(FileReasonLine(arrFiles[i], reason));
    }
    const std::wstring strPattern =
        bCancelled ? RunText(L"IDL_SUMMARY_CANCELLED", L"Printing cancelled: {1} of {2} {2:file|files} sent to {3}.")
                   : RunText(L"IDL_SUMMARY_SENT", L"{1} of {2} {2:file|files} sent to {3}.");
    summary.strHeadline =
        FillPlaceholders(strPattern, {std::to_wstring(nSent), std::to_wstring(arrFiles.size()), strPrinter});
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
    return ListedMessageText(summary.strHeadline, summary.arrFailures, nMaxFailures);
}
