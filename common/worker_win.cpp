#include "common/worker.h"

#include <thread>

#include "common/debug_log.h"
#include "common/internal_error.h"

namespace {
// False when the job threw; what it threw is logged.
bool RunCaught(const CWorker::Job& job, const CWorker::Link& link)
{
    try {
        job(link);
        return true;
    } catch (...) {
        LogInternalError(L"CWorker");
        return false;
    }
}
}  // namespace

bool CWorker::Start(Job job, Job fnFailed)
{
    RequestStop();
    auto pShared = std::make_shared<Shared>();
    pShared->hWnd = m_hWnd;
    try {
        // Detached: nothing ever waits for a job. It owns what it needs and ends by itself.
        std::thread([pShared, job = std::move(job), fnFailed = std::move(fnFailed)] {
            const Link link(pShared);
            if (!RunCaught(job, link) && fnFailed)
                RunCaught(fnFailed, link);
            SetEvent(pShared->hDone);
        }).detach();
    } catch (const std::exception&) {
        DebugLog(L"CWorker::Start / no thread");
        m_pCurrent.reset();
        return false;
    }
    m_pCurrent = std::move(pShared);
    return true;
}

void CWorker::RequestStop()
{
    if (m_pCurrent)
        m_pCurrent->bStop = true;
}
