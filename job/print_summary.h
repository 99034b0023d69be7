#pragma once
// The words a print run ends with: how many files went to which printer, and each
// file that did not go with its reason. All texts come from the UI string file.
#include <string>
#include <vector>

#include "job/print_outcome.h"

// Section of the UI string file that holds the print run's texts.
extern const wchar_t kPrintRunSection[];

struct PrintRunSummary {
    std::wstring strHeadline;               // "2 of 3 files sent to Office."
    std::vector<std::wstring> arrFailures;  // "letter.pdf — <reason>", in list order
    bool bCancelled = false;
};

// The part of a path after its last backslash.
std::wstring FileNameOfPath(const std::wstring& strPath);
// "letter.pdf — <reason>": one file and its reason on one line.
std::wstring FileReasonLine(const std::wstring& strPath, const FileReason& reason);

// arrReasons[i] belongs to arrFiles[i].
PrintRunSummary SummarizePrintRun(const std::wstring& strPrinter, const std::vector<std::wstring>& arrFiles,
                                  const std::vector<FileReason>& arrReasons, bool bCancelled);
// A first line and the lines below it as one text for a message, at most nMaxLines of
// them and a line that counts the rest.
std::wstring ListedMessageText(const std::wstring& strFirstLine, const std::vector<std::wstring>& arrLines,
                               size_t nMaxLines);
// Headline and failure lines as one text for a message.
std::wstring SummaryMessageText(const PrintRunSummary& summary, size_t nMaxFailures);
