#include "app/script/report/script_run.h"

#include <algorithm>

int ExitCodeOfPrinterCheck(int nSupportedTypes)
{
    if (nSupportedTypes > 0)
        return kExitDone;
    return nSupportedTypes == -1 ? kExitNoAnswer : kExitPrinter;
}

int ExitCodeOfPrinterCheck(int nSupportedTypes, IppSafety safety)
{
    return nSupportedTypes == -1 && safety != IppSafety::Safe ? kExitUnsafe : ExitCodeOfPrinterCheck(nSupportedTypes);
}

int ExitCodeOfPrinterChecks(const std::vector<int>& arrSupportedTypes)
{
    bool bSilent = false;
    for (int nSupportedTypes : arrSupportedTypes) {
        if (ExitCodeOfPrinterCheck(nSupportedTypes) == kExitDone)
            return kExitDone;
        bSilent = bSilent || ExitCodeOfPrinterCheck(nSupportedTypes) == kExitNoAnswer;
    }
    return bSilent ? kExitNoAnswer : kExitPrinter;
}

namespace {
int ExitCodeOfOutcome(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::Sent:
        return kExitDone;
    case FileOutcome::SpoolFileFailed:
    case FileOutcome::SpoolerRefused:
    case FileOutcome::Cancelled:
    case FileOutcome::InternalError:
    case FileOutcome::PrinterError:
    case FileOutcome::PrinterOffline:
    case FileOutcome::PaperOut:
    case FileOutcome::JobPaused:
    case FileOutcome::JobBlocked:
    case FileOutcome::JobDeleted:
    case FileOutcome::PrinterTrouble:
    case FileOutcome::PrinterRefused:
    case FileOutcome::JobAborted:
    case FileOutcome::JobStalled:
        return kExitSpooler;
    case FileOutcome::NotFinished:  // at the printer, as a job still queued counts as sent
        return kExitDone;
    case FileOutcome::PrinterBusy:  // it cannot print now: a script may try again later
        return kExitPrinterStopped;
    case FileOutcome::NotReachedSafely:
        return kExitUnsafe;
    default:  // the file itself
        return kExitFilesRefused;
    }
}
}  // namespace

int ExitCodeOfFiles(const std::vector<FileReport>& arrReports)
{
    int nExit = kExitDone;
    for (const FileReport& report : arrReports)
        nExit = std::max(nExit, ExitCodeOfOutcome(report.reason.outcome));
    return nExit;
}
