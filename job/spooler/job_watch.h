#pragma once
// Follows the spooler jobs of a print run after they were submitted: a job that leaves
// the queue counts as sent, unless its status showed trouble first (an error, offline,
// out of paper, paused, blocked or deleted); a job still queued when its time is up
// counts as sent too. Runs on the print run's worker; Windows build only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "job/spooler/print_outcome.h"

class CJobWatch {
public:
    CJobWatch(std::wstring strPrinter, DWORD nWaitSeconds);
    ~CJobWatch();
    CJobWatch(const CJobWatch&) = delete;
    CJobWatch& operator=(const CJobWatch&) = delete;

    // Watches a job from now on, for the file at nFile of the run.
    void Add(size_t nFile, DWORD nJobId);
    // Looks at every job until each is settled or fnStop says so; a job not settled
    // by then counts as sent.
    void WaitAll(const std::function<bool()>& fnStop);
    // What was learned: (file index, outcome) of every job, in the order added.
    std::vector<std::pair<size_t, FileOutcome>> Outcomes() const;

private:
    struct Job {
        size_t nFile;
        DWORD nJobId;
        ULONGLONG nDeadline;
        FileOutcome outcome = FileOutcome::Sent;
        bool bSettled = false;
    };
    void LookAt(Job& job);

    std::wstring m_strPrinter;
    ULONGLONG m_nWaitMs;
    HANDLE m_hPrinter = nullptr;
    bool m_bOpenTried = false;
    std::vector<Job> m_jobs;
};
