#pragma once
// Slow work off the window's thread. A job runs on a thread of its own and speaks to
// its window only by posting messages; it never touches a window otherwise. Each job
// carries a ticket: starting a new job supersedes the one before without waiting for
// it, and whatever the old one posts afterwards is known to be stale.
// Windows build only.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

class CWorker {
    struct Shared {
        HWND hWnd = nullptr;
        UINT_PTR nTicket = 0;
        std::atomic<bool> bStop{false};
    };

public:
    // What a job holds: its stop request and the way back to its window.
    class Link {
    public:
        explicit Link(std::shared_ptr<Shared> pShared) : m_pShared(std::move(pShared)) {}
        bool StopRequested() const { return m_pShared->bStop.load(); }
        // Posts uMsg with the ticket as wParam and the report as lParam; the window
        // takes the report with TakeReport. A report that cannot be posted is freed.
        template <class T>
        void Post(UINT uMsg, std::unique_ptr<T> pReport) const
        {
            if (PostMessageW(m_pShared->hWnd, uMsg, m_pShared->nTicket, reinterpret_cast<LPARAM>(pReport.get())))
                pReport.release();
        }

    private:
        std::shared_ptr<Shared> m_pShared;
    };
    using Job = std::function<void(const Link&)>;

    // Reports go to hWnd; set once the window exists.
    void SetWindow(HWND hWnd) { m_hWnd = hWnd; }

    // Runs the job on a new thread; the job before it is asked to stop and forgotten.
    // False when no thread could be made (nothing runs then).
    bool Start(Job job);
    // Asks the current job to stop; the job decides where it can.
    void RequestStop();
    // True while a started job has not been marked finished.
    bool IsBusy() const { return m_pCurrent != nullptr; }
    // True when a message carrying this ticket comes from the current job.
    bool IsCurrent(WPARAM nTicket) const { return m_pCurrent && m_pCurrent->nTicket == nTicket; }
    // The current job has sent its last report.
    void Finish() { m_pCurrent.reset(); }

private:
    HWND m_hWnd = nullptr;
    UINT_PTR m_nLastTicket = 0;
    std::shared_ptr<Shared> m_pCurrent;
};

// The report a worker posted, owned again by the window's side.
template <class T>
std::unique_ptr<T> TakeReport(LPARAM lParam)
{
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}
