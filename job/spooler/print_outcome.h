#pragma once
// What the spooler's job status says of a file's job.
#include <cstdint>

#include "files/file_reason.h"

// The trouble a job status shows (the bits of JOB_INFO_1's Status), or Sent when none.
// A job that was printed and is being removed from the queue shows no trouble.
FileOutcome TroubleOfJobStatus(uint32_t nStatus);
// True when a status says the job has been printed, so nothing is left to watch.
bool IsJobStatusDone(uint32_t nStatus);
