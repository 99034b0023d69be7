#pragma once
// Slow work off the window's thread. A job runs on a thread of its own and speaks to
// its window only through reports: it queues each one in the worker, under a lock, and
// posts a message that only wakes the window. The window then takes the reports of its
// current job from the worker; a message carries nothing, so a forged one, whatever its
// parameters, finds nothing to take. Starting a new job supersedes the one before
// without waiting for it: the old job's reports stay in its own queue, never taken.
// A job that throws is caught on its thread; its failure job then reports instead.
// Windows build only.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <typeinfo>

class CWorker {
    struct Report {
        UINT uMsg;
        const std::type_info* pType;
        std::unique_ptr<void, void (*)(void*)> pObject;
    };
    struct Shared {
        Shared() : hDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
        ~Shared() { CloseHandle(hDone); }
        HWND hWnd = nullptr;
        std::atomic<bool> bStop{false};
        std::mutex lock;
        std::deque<Report> reports;
        HANDLE hDone;  // set once the job (and its failure job) has returned
    };

public:
    // What a job holds: its stop request and the way back to its window.
    class Link {
    public:
        explicit Link(std::shared_ptr<Shared> pShared) : m_pShared(std::move(pShared)) {}
        bool StopRequested() const { return m_pShared->bStop.load(); }
        // Queues the report for the window and posts uMsg to wake it; the window takes
        // it with TakeReport<T>(uMsg).
        template <class T>
        void Post(UINT uMsg, std::unique_ptr<T> pReport) const
        {
            {
                const std::lock_guard<std::mutex> guard(m_pShared->lock);
                m_pShared->reports.push_back(
                    Report{uMsg, &typeid(T), {pReport.release(), [](void* p) { delete static_cast<T*>(p); }}});
            }
            PostMessageW(m_pShared->hWnd, uMsg, 0, 0);
        }

    private:
        std::shared_ptr<Shared> m_pShared;
    };
    using Job = std::function<void(const Link&)>;

    // Reports go to hWnd; set once the window exists.
    void SetWindow(HWND hWnd) { m_hWnd = hWnd; }

    // Runs the job on a new thread; the job before it is asked to stop and forgotten.
    // When the job throws, the cause is logged and fnFailed runs on the same thread to
    // post the job's failure report. False when no thread could be made (nothing runs).
    bool Start(Job job, Job fnFailed = nullptr);
    // Asks the current job to stop; the job decides where it can.
    void RequestStop();
    // Waits up to nMs for the current job to return; true when it has, or none runs.
    bool WaitForJob(DWORD nMs) const
    {
        return !m_pCurrent || WaitForSingleObject(m_pCurrent->hDone, nMs) == WAIT_OBJECT_0;
    }
    // True while a started job has not been marked finished.
    bool IsBusy() const { return m_pCurrent != nullptr; }
    // The oldest report of the current job posted with uMsg; nullptr when none waits.
    template <class T>
    std::unique_ptr<T> TakeReport(UINT uMsg)
    {
        if (!m_pCurrent)
            return nullptr;
        const std::lock_guard<std::mutex> guard(m_pCurrent->lock);
        auto& reports = m_pCurrent->reports;
        for (auto it = reports.begin(); it != reports.end(); ++it)
            if (it->uMsg == uMsg && *it->pType == typeid(T)) {
                std::unique_ptr<T> pReport(static_cast<T*>(it->pObject.release()));
                reports.erase(it);
                return pReport;
            }
        return nullptr;
    }
    // The current job has sent its last report.
    void Finish() { m_pCurrent.reset(); }

private:
    HWND m_hWnd = nullptr;
    std::shared_ptr<Shared> m_pCurrent;
};
