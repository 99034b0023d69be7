#pragma once
// The system code that decides how the default printer is looked up.
#include <cstdint>

// Platform identifiers as the version structure reports them.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformWindowsNT = 2;

// chServicePack2 is the second character of the service-pack text (0 when it is shorter).
int OSVersionCodeOf(uint32_t dwPlatformId, uint32_t dwMajor, uint32_t dwMinor, wchar_t chServicePack2);

// How GetDefaultPrinterIndex finds the default printer's name for a code.
enum class DefaultPrinterWay { Win9x, WinNT, Win2k, Win2kFallback };
DefaultPrinterWay DefaultPrinterWayOf(int nOSCode);
