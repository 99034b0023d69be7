#pragma once
// The sending half of a print run: every file in list order to one printer, each as
// one raw document, then each job followed in the spooler. Runs on a worker thread:
// it owns its printer list and reads nothing that a window holds. Windows build only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "job/pjl_envelope.h"
#include "job/print_outcome.h"

struct PrintRunInput {
    std::wstring strPrinter;
    JobSnapshot job;
    std::vector<std::wstring> arrFiles;
    DWORD nWaitSeconds = 60;  // how long each job is followed in the spooler
};

struct PrintRunProgress {
    size_t nFile = 0;  // index of the file being sent
    size_t nFiles = 0;
    std::wstring strPath;
    int nPermille = 0;      // of the bytes of the whole run
    bool bWaiting = false;  // every file is sent; the spooler's jobs are being followed
};

struct PrintRunEnd {
    std::vector<FileReason> arrOutcomes;  // one per file, in list order
    bool bCancelled = false;
};

// fnStop is asked between blocks and while the jobs are followed; fnProgress hears of
// every new file and every change of the per-mille.
PrintRunEnd SendPrintFiles(const PrintRunInput& input, const std::function<bool()>& fnStop,
                           const std::function<void(const PrintRunProgress&)>& fnProgress);
