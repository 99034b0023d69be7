#pragma once
// What a printer's answers say of a job it was sent over IPP: whether the job has ended and
// how, its state in words while it is at work or when the wait for it ended, its id, and the
// options the printer ignored. Portable: the road only asks.
#include <cstdint>
#include <optional>
#include <string>

#include "files/file_reason.h"
#include "ipp/ipp_message.h"

struct IppJobEnd {
    FileReason reason;               // Sent, PrinterTrouble (completed with errors) or JobAborted
    std::optional<uint32_t> nPages;  // the impressions it made, when it counted some the run could make
};

// A Get-Job-Attributes answer: the job's end once it has one (completed, aborted or cancelled),
// else nothing. nMostPages: the most impressions the job can make; a larger count is none.
std::optional<IppJobEnd> JobEndOfAnswer(const ipp::Message& answer, uint32_t nMostPages);

// "processing: Printing page 2": the job's state keyword and the printer's words for it.
std::wstring JobStateWords(const ipp::Message& answer);

// The wait ended before the job did, `answer` being the last that told of it: NotFinished
// while it was still to come or at work, JobStalled when the printer held or stopped it.
FileReason NotFinishedReason(const ipp::Message& answer, int nSeconds);

// The job-id of a Create-Job or Print-Job answer, when it is one (above zero).
std::optional<int32_t> JobIdOfAnswer(const ipp::Message& answer);

// "sides=two-sided-short-edge" of every job option in the answer's unsupported group: what a
// printer answering successful-ok-ignored-or-substituted-attributes left out.
std::wstring IgnoredOptions(const ipp::Message& answer);
