#pragma once
// The lock and the condition by which a document's blocks are handed from the thread that
// reads them to the one that sends them. On Windows they are the system's slim lock and
// condition variable, which wait in user mode: the threads library's condition waits on a
// kernel semaphore, a trip to the kernel (under Wine, to its server) on both sides of every
// block handed over.
#include <mutex>

#ifdef _WIN32
#include <windows.h>

namespace ipp {

class BlockLock {
public:
    void lock() { AcquireSRWLockExclusive(&m_lock); }
    void unlock() { ReleaseSRWLockExclusive(&m_lock); }
    SRWLOCK* Native() { return &m_lock; }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
};

class BlockCondition {
public:
    template <typename Ready>
    void wait(std::unique_lock<BlockLock>& guard, Ready ready)
    {
        while (!ready())
            SleepConditionVariableSRW(&m_condition, guard.mutex()->Native(), INFINITE, 0);
    }
    void notify_all() { WakeAllConditionVariable(&m_condition); }

private:
    CONDITION_VARIABLE m_condition = CONDITION_VARIABLE_INIT;
};

}  // namespace ipp
#else
#include <condition_variable>

namespace ipp {
using BlockLock = std::mutex;
using BlockCondition = std::condition_variable;
}  // namespace ipp
#endif
