#pragma once
// Collects what the debug log writes while it is alive.
#include <algorithm>
#include <string>
#include <vector>

#include "common/debug_log.h"

class LogCapture {
public:
    explicit LogCapture(uint16_t wSwitch = 1) : m_wSaved(g_wLogSwitch)
    {
        g_wLogSwitch = wSwitch;
        SetLogSink([this](const std::wstring& line) { m_lines.push_back(line); });
    }
    ~LogCapture()
    {
        SetLogSink(nullptr);
        g_wLogSwitch = m_wSaved;
    }
    const std::vector<std::wstring>& Lines() const { return m_lines; }
    bool Contains(const std::wstring& line) const
    {
        return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
    }

private:
    uint16_t m_wSaved;
    std::vector<std::wstring> m_lines;
};
