#include "job/spooler/print_outcome.h"

namespace {
// JOB_STATUS_* of the spooler.
constexpr uint32_t kPaused = 0x1;
constexpr uint32_t kError = 0x2;
constexpr uint32_t kDeleting = 0x4;
constexpr uint32_t kOffline = 0x20;
constexpr uint32_t kPaperOut = 0x40;
constexpr uint32_t kPrinted = 0x80;
constexpr uint32_t kDeleted = 0x100;
constexpr uint32_t kBlockedDevq = 0x200;
constexpr uint32_t kComplete = 0x1000;
}  // namespace

bool IsJobStatusDone(uint32_t nStatus) { return (nStatus & (kPrinted | kComplete)) != 0; }

FileOutcome TroubleOfJobStatus(uint32_t nStatus)
{
    // The printer's own state first: it says most about why the job did not go.
    if (nStatus & kError)
        return FileOutcome::PrinterError;
    if (nStatus & kOffline)
        return FileOutcome::PrinterOffline;
    if (nStatus & kPaperOut)
        return FileOutcome::PaperOut;
    if (nStatus & kBlockedDevq)
        return FileOutcome::JobBlocked;
    if (nStatus & kPaused)
        return FileOutcome::JobPaused;
    if ((nStatus & (kDeleting | kDeleted)) && !IsJobStatusDone(nStatus))
        return FileOutcome::JobDeleted;
    return FileOutcome::Sent;
}
