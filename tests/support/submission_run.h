#pragma once
// SendDataToDevice runs for the spooler tests, with what they logged kept for the checks
// after them. Windows build only.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "job/spooler/send_data_to_device.h"
#include "printer/queue/prt_control.h"
#include "tests/support/log_capture.h"

// The spool file a run named in its log; empty when it named none.
inline std::wstring SpoolFileOf(const LogCapture& log)
{
    const std::wstring strPrefix = L"SendDataToDevice / szTempName : ";
    for (const std::wstring& line : log.Lines())
        if (line.rfind(strPrefix, 0) == 0)
            return line.substr(strPrefix.size());
    return {};
}

inline bool FileExists(const std::wstring& strPath)
{
    return GetFileAttributesW(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A test fixture's part that sends a file and keeps the run's spool file name and log.
class SubmissionRecorder {
protected:
    // Sends the file to prt's current printer; the spool file must be gone afterwards.
    int SendRecorded(CPrtControl& prt, const std::wstring& strPath)
    {
        LogCapture log;
        const int nResult = SendDataToDevice(prt, strPath);
        m_strSpoolFile = SpoolFileOf(log);
        m_log = log.Lines();
        if (!m_strSpoolFile.empty()) {
            EXPECT_FALSE(FileExists(m_strSpoolFile)) << "spool file left behind";
        }
        return nResult;
    }
    // The last run logged exactly this line.
    bool Logged(const std::wstring& strLine) const
    {
        return std::find(m_log.begin(), m_log.end(), strLine) != m_log.end();
    }

    std::wstring m_strSpoolFile;
    std::vector<std::wstring> m_log;
};
