#include "common/debug_log.h"

#include <cstdarg>
#include <mutex>

#include "common/wide_format.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <cstdlib>
#endif

uint16_t g_wLogSwitch = 0;

namespace {
constexpr size_t kLogBufferChars = 1024;

LogSink& Sink()
{
    static LogSink sink;
    return sink;
}

// Workers log too, some after the call that started them has returned: the sink is
// called and replaced under one lock, so a sink once removed is never called again.
std::recursive_mutex& SinkLock()
{
    static std::recursive_mutex lock;
    return lock;
}

void Emit(const std::wstring& line)
{
    {
        std::lock_guard<std::recursive_mutex> guard(SinkLock());
        if (Sink()) {
            Sink()(line);
            return;
        }
    }
#ifdef _WIN32
    OutputDebugStringW(line.c_str());
#else
    // Natively there is no debugger channel; LUMEO_LOG_STDERR shows the lines.
    if (std::getenv("LUMEO_LOG_STDERR"))
        std::fwprintf(stderr, L"%ls\n", line.c_str());
#endif
}
}  // namespace

void SetLogSink(LogSink sink)
{
    std::lock_guard<std::recursive_mutex> guard(SinkLock());
    Sink() = std::move(sink);
}

void ReadLogSwitch()
{
#ifdef _WIN32
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvane\\KVQ", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD value = 0;
    DWORD size = sizeof(value);
    // The type is not checked; up to four bytes, the low 16 bits count.
    if (RegQueryValueExW(key, L"LogKVQ", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
        g_wLogSwitch = static_cast<uint16_t>(value & 0xFFFF);
    RegCloseKey(key);
#endif
}

void DebugLog(const wchar_t* format, ...)
{
    if (g_wLogSwitch == 0)
        return;
    va_list args;
    va_start(args, format);
    std::wstring line = FormatWideV(kLogBufferChars, format, args);
    va_end(args);
    Emit(line);
}

void DebugLogAlways(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
#ifdef _WIN32
    wchar_t buffer[kLogBufferChars] = {};
    // wvsprintfW stops at 1024 characters by itself.
    wvsprintfW(buffer, format, args);
    std::wstring line(buffer);
#else
    std::wstring line = FormatWideV(kLogBufferChars, format, args);
#endif
    va_end(args);
    Emit(line);
}

void LogLastError()
{
#ifdef _WIN32
    DWORD error = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (text) {
        // The text is data, never a format: a "%1" in it must stay as it is.
        DebugLogAlways(L"%s", text);
        LocalFree(text);
    }
#endif
}
