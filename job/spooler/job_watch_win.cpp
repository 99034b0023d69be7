#include "job/spooler/job_watch.h"

#include <winspool.h>

#include "common/debug_log.h"
#include "printer/queue/spooler_api.h"

namespace {
// How often the queue is asked; the jobs are few and the question is cheap.
constexpr DWORD kPollMs = 250;
}  // namespace

CJobWatch::CJobWatch(std::wstring strPrinter, DWORD nWaitSeconds)
    : m_strPrinter(std::move(strPrinter)), m_nWaitMs(static_cast<ULONGLONG>(nWaitSeconds) * 1000)
{
}

CJobWatch::~CJobWatch()
{
    if (m_hPrinter)
        Spooler().ClosePrinter(m_hPrinter);
}

void CJobWatch::Add(size_t nFile, DWORD nJobId)
{
    m_jobs.push_back(Job{nFile, nJobId, GetTickCount64() + m_nWaitMs});
}

void CJobWatch::LookAt(Job& job)
{
    const SpoolerApi& api = Spooler();
    if (!m_bOpenTried) {
        m_bOpenTried = true;
        if (!api.OpenPrinterW(const_cast<wchar_t*>(m_strPrinter.c_str()), &m_hPrinter, nullptr))
            m_hPrinter = nullptr;
    }
    DWORD cbNeeded = 0;
    bool bQueued = false;
    if (m_hPrinter) {
        api.GetJobW(m_hPrinter, job.nJobId, 1, nullptr, 0, &cbNeeded);
        std::vector<BYTE> buffer(cbNeeded >= sizeof(JOB_INFO_1W) ? cbNeeded : 0);
        bQueued = !buffer.empty() &&
                  api.GetJobW(m_hPrinter, job.nJobId, 1, buffer.data(), cbNeeded, &cbNeeded);
        if (bQueued) {
            const DWORD nStatus = reinterpret_cast<const JOB_INFO_1W*>(buffer.data())->Status;
            const FileOutcome trouble = TroubleOfJobStatus(nStatus);
            if (trouble != FileOutcome::Sent) {
                DebugLog(L"CJobWatch / job %u status 0x%X", static_cast<unsigned>(job.nJobId),
                         static_cast<unsigned>(nStatus));
                job.outcome = trouble;
                job.bSettled = true;
                return;
            }
            if (IsJobStatusDone(nStatus))
                bQueued = false;
        }
    }
    // Gone from the queue (or no way to ask): sent. Still there when its time is up: sent.
    if (!bQueued || GetTickCount64() >= job.nDeadline)
        job.bSettled = true;
}

void CJobWatch::WaitAll(const std::function<bool()>& fnStop)
{
    for (;;) {
        bool bAllSettled = true;
        for (Job& job : m_jobs) {
            if (!job.bSettled)
                LookAt(job);
            bAllSettled = bAllSettled && job.bSettled;
        }
        if (bAllSettled || (fnStop && fnStop()))
            return;
        Sleep(kPollMs);
    }
}

std::vector<std::pair<size_t, FileOutcome>> CJobWatch::Outcomes() const
{
    std::vector<std::pair<size_t, FileOutcome>> arrOutcomes;
    for (const Job& job : m_jobs)
        arrOutcomes.emplace_back(job.nFile, job.outcome);
    return arrOutcomes;
}
