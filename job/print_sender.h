#pragma once
// The sending half of a print run: the printer's state read first, every file in list
// order to one printer, each as one raw document, then each job followed in the spooler
// and the printer followed until it is done. Runs on a worker thread: it owns its printer
// list and reads nothing that a window holds. Windows build only.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/file_reason.h"
#include "job/outcome/print_summary.h"
#include "job/spooler/pjl_envelope.h"
#include "printer/state/printer_route.h"
#include "printer/state/printer_state.h"

struct PrintRunInput {
    std::wstring strPrinter;
    JobSnapshot job;
    std::vector<std::wstring> arrFiles;
    // How long each job is followed in the spooler, and then the printer.
    DWORD nWaitSeconds = 60;
    // The route that answered the printer's check; none: its state is not read.
    std::shared_ptr<const PrinterRoute> stateTarget;
    // The state the caller read before the run: the files go whatever it says. Without
    // it the run reads the state first and sends nothing when the printer reports a stop
    // condition.
    std::optional<PrinterState> before;
    // The printer's IPP URL when the run goes over IPP: each file a job of its own there,
    // not through the queue.
    std::wstring strIppUrl;
};

struct PrintRunProgress {
    size_t nFile = 0;  // index of the file being sent
    size_t nFiles = 0;
    std::wstring strPath;
    int nPermille = 0;      // of the bytes of the whole run
    bool bWaiting = false;  // every file is sent; the spooler's jobs are being followed
    bool bFollowing = false;  // the jobs have left the queue; the printer is being followed
    PrinterState printerState;  // bFollowing: as the printer told it last
    int nSecondsLeft = 0;       // bFollowing: before the following ends
    std::wstring strJobState;   // over IPP: the state of the file's job while it is followed
    int nBusySecondsLeft = 0;   // over IPP: the printer is busy with another job, waited for so long yet
};

struct PrintRunEnd {
    std::vector<FileReason> arrOutcomes;  // one per file, in list order
    bool bCancelled = false;  // stopped before the printer was followed
    // The printer reported a stop condition before the run: nothing was sent.
    std::optional<PrinterState> stoppedBefore;
    PrinterRunReport printer;  // what the printer told after the run
    // Over IPP, one per file: the pages its own job made, when it counted them.
    std::vector<std::optional<uint32_t>> arrPages;
};

// fnStop is asked between blocks and while the jobs and the printer are followed (a stop
// then ends the following, not the jobs); fnProgress hears of every new file, every
// change of the per-mille and every state of the printer followed.
PrintRunEnd SendPrintFiles(const PrintRunInput& input, const std::function<bool()>& fnStop,
                           const std::function<void(const PrintRunProgress&)>& fnProgress);
