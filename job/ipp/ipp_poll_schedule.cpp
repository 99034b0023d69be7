#include "job/ipp/ipp_poll_schedule.h"

#include <algorithm>

CPollSchedule::CPollSchedule(Wait first, Wait most)
    : m_first(std::max(first, Wait(1))), m_most(std::max(most, m_first)), m_next(m_first)
{
}

CPollSchedule::Wait CPollSchedule::Next()
{
    const Wait wait = m_next;
    m_next = std::min(m_next * 2, m_most);
    return wait;
}

void CPollSchedule::Reset() { m_next = m_first; }
