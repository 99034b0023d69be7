#pragma once
// The IPP road of a print run: every file to a printer reached over IPP as a job of its
// own (Create-Job and Send-Document, or Print-Job; the file's bytes in its own document
// format, no PJL), its options as
// IPP attributes the printer has said it supports, and each job followed at the printer
// until it ends. Runs on a worker thread. Windows build only.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/file_reason.h"
#include "job/settings/job_settings.h"

struct IppRunInput {
    std::wstring strUrl;
    JobSettings settings;
    std::vector<std::wstring> arrFiles;
    uint32_t nWaitSeconds = 60;  // how long each job is followed at the printer
};

struct IppFileEnd {
    FileReason reason{FileOutcome::Cancelled};
    int32_t nJobId = 0;                // the printer's job, once it took one
    std::optional<uint32_t> nPages;    // the impressions of a completed job, when it counted some
};

// What the road tells while it runs, for a progress bar and a status line.
struct IppRunHooks {
    std::function<void(size_t nFile)> fnFileStarts;
    // The bytes of the current file sent so far, counted twice as the spooler road counts them.
    std::function<void(unsigned long long nDone)> fnFileProgress;
    std::function<void(size_t nFile)> fnFileEnds;
    // While the file's job is followed: its state as the printer words it ("processing").
    std::function<void(const std::wstring& strJobState)> fnJobState;
    // While the printer is busy with another job and the file waits: the seconds left.
    std::function<void(int nSecondsLeft)> fnPrinterBusy;
};

// One per file, in list order. fnStop is asked between blocks, while a busy printer is
// waited for and while a job is followed: a stop cancels the job at the printer, and a job
// that had ended before is what the printer says of it.
std::vector<IppFileEnd> SendFilesOverIpp(const IppRunInput& input, const std::function<bool()>& fnStop,
                                         const IppRunHooks& hooks = {});
