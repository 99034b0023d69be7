#pragma once
// What became of each file of a print run, and what the spooler's job status says.
#include <cstdint>

enum class FileOutcome {
    Sent,            // the spooler took every byte, and its job showed no trouble
    Unreadable,      // the file or the spool file could not be read, made or mapped
    Refused,         // its bytes are not of its type, or hold printer commands
    NotTakenWhole,   // the spooler refused the document or took part of it
    Cancelled,       // the run was stopped before the file reached the printer
    PrinterError,    // the spooler's job showed one of these before it left the queue
    PrinterOffline,
    PaperOut,
    JobPaused,
    JobBlocked,
    JobDeleted,
    InternalError,   // the sending threw; the file's job was aborted
};

// The trouble a job status shows (the bits of JOB_INFO_1's Status), or Sent when none.
// A job that was printed and is being removed from the queue shows no trouble.
FileOutcome TroubleOfJobStatus(uint32_t nStatus);
// True when a status says the job has been printed, so nothing is left to watch.
bool IsJobStatusDone(uint32_t nStatus);
