#pragma once
// What became of a job after the spooler took it whole. The spooler may still fail it
// (error, offline, out of paper, paused, blocked, deleting); a follow-up watches the job
// for a while and says whether it was sent.
#include <string>

struct SubmittedJob {
    std::wstring strPrinter;   // the printer's name
    std::wstring strDocName;   // "KVQ_" and the file name
    unsigned long nJobId = 0;  // the spooler's job id; 0 when the submission did not tell it
};

struct JobFollowUpResult {
    bool bSent = true;
    std::wstring strReason;  // why not, when not sent
};

class JobFollowUp {
public:
    virtual ~JobFollowUp() = default;
    // Follows the job for at most nWaitSeconds; a job still queued then counts as sent.
    virtual JobFollowUpResult Follow(const SubmittedJob& job, int nWaitSeconds) = 0;
};

// No watching: a job the spooler took whole counts as sent.
class TakenJobsAreSent : public JobFollowUp {
public:
    JobFollowUpResult Follow(const SubmittedJob&, int) override { return {}; }
};
