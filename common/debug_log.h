#pragma once
// Debug log: formatted wide lines for the system debugger (OutputDebugStringW).
// DebugLog writes only while g_wLogSwitch is not 0; DebugLogAlways writes always.
#include <cstdint>
#include <functional>
#include <string>

extern uint16_t g_wLogSwitch;

// Reads "LogKVQ" under HKLM\SOFTWARE\Corvane\KVQ into g_wLogSwitch (once, at start-up).
void ReadLogSwitch();

void DebugLog(const wchar_t* format, ...);
void DebugLogAlways(const wchar_t* format, ...);
// Writes the system's text for GetLastError() (Windows build only; no-op natively).
void LogLastError();

// Tests install a sink to see what was written; nullptr restores the debugger output.
// Safe on any thread: once SetLogSink returns, the sink it replaced is no longer called.
using LogSink = std::function<void(const std::wstring&)>;
void SetLogSink(LogSink sink);
