#include "printer/state/printer_follow.h"

PrinterFollow::PrinterFollow(const PrinterState& before, int64_t nLimitMs, uint32_t nMostPages)
    : m_before(before), m_last(before), m_nLimitMs(nLimitMs), m_nMostPages(nMostPages)
{
}

FollowVerdict PrinterFollow::Add(const PrinterState& answer, bool bAnswered, int64_t nElapsedMs)
{
    // A counter of another device or unit than before the run (the agent's devices were
    // renumbered, or it now counts sheets) says nothing of this run.
    PrinterState sample = answer;
    if (m_before.nPageCounter && (sample.nCounterDevice != m_before.nCounterDevice ||
                                  sample.nCounterUnit != m_before.nCounterUnit))
        sample.nPageCounter.reset();
    const FollowVerdict notYet = nElapsedMs >= m_nLimitMs ? FollowVerdict::TimedOut : FollowVerdict::Following;
    if (!bAnswered) {
        m_bLastIdle = false;
        return notYet;
    }
    m_last = sample;
    const bool bKnown = sample.status != PrinterStatus::Unknown || sample.nPageCounter;
    if (!bKnown && m_before.status == PrinterStatus::Unknown && !m_before.nPageCounter)
        return FollowVerdict::NoState;
    if (sample.nPageCounter)
        m_nLatestCounter = sample.nPageCounter;
    if (HasStopCondition(sample))
        return FollowVerdict::Trouble;
    if (sample.status == PrinterStatus::Printing || sample.status == PrinterStatus::WarmingUp ||
        (sample.nPageCounter && m_before.nPageCounter && *sample.nPageCounter != *m_before.nPageCounter))
        m_bBegun = true;
    // A printer that gives only its counter is idle when the counter stands still.
    const bool bIdle = sample.status == PrinterStatus::Ready || sample.status == PrinterStatus::Warning ||
                       (sample.status == PrinterStatus::Unknown && sample.nPageCounter);
    const bool bSteady = bIdle && m_bLastIdle && sample.nPageCounter == m_nLastCounter;
    m_bLastIdle = bIdle;
    m_nLastCounter = sample.nPageCounter;
    if (bSteady && (m_bBegun || nElapsedMs >= kQuietMs))
        return FollowVerdict::Done;
    return notYet;
}

std::optional<uint32_t> PrinterFollow::PagesPrinted() const
{
    if (!m_before.nPageCounter || !m_nLatestCounter || *m_nLatestCounter < *m_before.nPageCounter ||
        *m_nLatestCounter - *m_before.nPageCounter > m_nMostPages)
        return std::nullopt;
    return *m_nLatestCounter - *m_before.nPageCounter;
}
