#include "context_menu/koretta_log.h"

#include <cstdarg>

#include "common/debug_log.h"
#include "common/wide_format.h"

void KorettaLog(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring line = FormatWideV(1024, format, args);
    va_end(args);
    DebugLogAlways(L"%s", line.c_str());
}
