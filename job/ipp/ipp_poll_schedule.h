#pragma once
// How long to wait before asking a printer again. Right after a change the next one is
// likely soon (a job taken is a job printing a moment later), so the first wait is short;
// while nothing changes each wait doubles, up to a ceiling that keeps a long job from
// costing the printer a request every few milliseconds.
#include <chrono>

class CPollSchedule {
public:
    using Wait = std::chrono::milliseconds;
    CPollSchedule(Wait first, Wait most);
    // The wait before the next question; the one after it is twice as long, up to `most`.
    Wait Next();
    // Something changed: the next wait is the first again.
    void Reset();

private:
    Wait m_first;
    Wait m_most;
    Wait m_next;
};
