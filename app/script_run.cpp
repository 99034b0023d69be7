#include "app/script_run.h"

int ExitCodeOfPrinterCheck(int nSupportedTypes)
{
    if (nSupportedTypes > 0)
        return kExitDone;
    return nSupportedTypes == -1 ? kExitNoAnswer : kExitPrinter;
}

int ExitCodeOfFiles(const std::vector<FileReport>& arrReports)
{
    int nExit = kExitDone;
    for (const FileReport& report : arrReports) {
        if (report.outcome == FileOutcome::Failed)
            return kExitSpooler;
        if (report.outcome != FileOutcome::Sent)
            nExit = kExitFilesRefused;
    }
    return nExit;
}
