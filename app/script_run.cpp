#include "app/script_run.h"

#include <algorithm>

int ExitCodeOfPrinterCheck(int nSupportedTypes)
{
    if (nSupportedTypes > 0)
        return kExitDone;
    return nSupportedTypes == -1 ? kExitNoAnswer : kExitPrinter;
}

namespace {
int ExitCodeOfOutcome(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::Sent:
        return kExitDone;
    case FileOutcome::Refused:
    case FileOutcome::Unreadable:
        return kExitFilesRefused;
    default:  // not taken whole, or trouble in the queue
        return kExitSpooler;
    }
}
}  // namespace

int ExitCodeOfFiles(const std::vector<FileReport>& arrReports)
{
    int nExit = kExitDone;
    for (const FileReport& report : arrReports)
        nExit = std::max(nExit, ExitCodeOfOutcome(report.outcome));
    return nExit;
}
