#include "common/worker.h"

#include <thread>

#include "common/debug_log.h"

bool CWorker::Start(Job job)
{
    RequestStop();
    auto pShared = std::make_shared<Shared>();
    pShared->hWnd = m_hWnd;
    pShared->nTicket = ++m_nLastTicket;
    try {
        // Detached: nothing ever waits for a job. It owns what it needs and ends by itself.
        std::thread([pShared, job = std::move(job)] { job(Link(pShared)); }).detach();
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
