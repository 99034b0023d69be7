#include "context_menu/koretta_log.h"

#include <atomic>
#include <cstdarg>

#include "common/debug_log.h"
#include "common/wide_format.h"

namespace {
std::atomic<bool> g_bSwitchRead{false};

void WriteLine(const wchar_t* format, va_list args) noexcept
{
    try {
        std::wstring line = FormatWideV(1024, format, args);
        DebugLogAlways(L"%s", line.c_str());
    } catch (...) {
        // A line that cannot be formatted is dropped: logging never fails a call.
    }
}
}  // namespace

bool KorettaLogOn()
{
    static const bool bRead = [] {
        ReadLogSwitch();
        g_bSwitchRead = true;
        return true;
    }();
    return bRead && g_wLogSwitch != 0;
}

void KorettaLog(const wchar_t* format, ...)
{
    if (!KorettaLogOn())
        return;
    va_list args;
    va_start(args, format);
    WriteLine(format, args);
    va_end(args);
}

void KorettaLogInLoader(const wchar_t* format, ...)
{
    if (!g_bSwitchRead || g_wLogSwitch == 0)
        return;
    va_list args;
    va_start(args, format);
    WriteLine(format, args);
    va_end(args);
}
