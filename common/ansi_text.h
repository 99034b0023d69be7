#pragma once
// 8-bit text at the edges of the system: the printer stream, SNMP, device-ID replies.
#include <string>

// Wide to 8-bit with the thread's ANSI code page (CP_THREAD_ACP).
std::string ToThreadAnsi(const std::wstring& text);
// 8-bit to wide with the system ANSI code page (CP_ACP).
std::wstring FromAnsi(const std::string& text);
// Wide to 8-bit with the system ANSI code page (CP_ACP).
std::string ToAnsi(const std::wstring& text);
