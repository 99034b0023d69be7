#pragma once
// Following a printer once a run's jobs have left the queue: its successive states tell
// whether it is still at work, has printed and is idle again with a steady page counter,
// has run into trouble, or the time is up; and by how many pages its counter rose.
#include <cstdint>
#include <optional>

#include "printer/state/printer_state.h"

enum class FollowVerdict {
    Following,  // ask again
    Done,       // idle again with a steady counter
    Trouble,    // a stop condition appeared (MainCondition of Last() says which)
    TimedOut,   // still at work, or not answering, when the time was up
    NoState,    // the printer gives no state: nothing to follow
};

class PrinterFollow {
public:
    // How long an idle printer whose counter never moved is waited for: the job may still
    // be on its way, or the printer may not count what it did.
    static constexpr int64_t kQuietMs = 8000;

    // `before`: the state read before the run; `nLimitMs`: how long to follow at most;
    // `nMostPages`: the most pages the run can make, so a larger rise is no count of it.
    PrinterFollow(const PrinterState& before, int64_t nLimitMs, uint32_t nMostPages);

    // One sample, taken `nElapsedMs` after the following began; `bAnswered` is false when
    // the printer did not answer (it may be busy).
    FollowVerdict Add(const PrinterState& sample, bool bAnswered, int64_t nElapsedMs);

    // The pages the counter rose by since the state before the run; nothing when either
    // count is unknown, the counter went back (replaced or reset) or rose by more than
    // the run can make. Only samples of the device and unit seen before the run count.
    std::optional<uint32_t> PagesPrinted() const;
    const PrinterState& Last() const { return m_last; }

private:
    PrinterState m_before;
    PrinterState m_last;
    int64_t m_nLimitMs;
    uint32_t m_nMostPages;
    bool m_bBegun = false;     // seen at work, or its counter rose
    bool m_bLastIdle = false;  // the sample before the latest was idle
    std::optional<uint32_t> m_nLastCounter;
    std::optional<uint32_t> m_nLatestCounter;
};
