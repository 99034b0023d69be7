#include "ipp/ipp_log.h"

#include <atomic>

namespace ipp {
namespace {
std::atomic<LogWriter> g_writer{nullptr};
}

void SetLogWriter(LogWriter writer) { g_writer = writer; }

void Log(const std::wstring& strLine)
{
    if (const LogWriter writer = g_writer)
        writer(strLine);
}

}  // namespace ipp
