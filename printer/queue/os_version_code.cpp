#include "printer/queue/os_version_code.h"

int OSVersionCodeOf(uint32_t dwPlatformId, uint32_t dwMajor, uint32_t dwMinor, wchar_t chServicePack2)
{
    switch (dwPlatformId) {
    case kPlatformWin32s:
        return 2;
    case kPlatformWindows9x:
        if (dwMinor == 0)  // 95, OSR2 carries "B" or "C"
            return (chServicePack2 == L'B' || chServicePack2 == L'C') ? 4 : 3;
        if (dwMinor == 10)  // 98, Second Edition carries "A"
            return chServicePack2 == L'A' ? 7 : 6;
        if (dwMinor == 90)  // Me
            return 9;
        return 10;
    case kPlatformWindowsNT:
        switch (dwMajor) {
        case 3: return 11;
        case 4: return 12;
        case 5:
            if (dwMinor == 0) return 14;  // 2000
            if (dwMinor == 2) return 16;  // Server 2003
            return 15;                    // XP
        case 6: return 18;
        default: return 13;
        }
    default:
        return -1;
    }
}

DefaultPrinterWay DefaultPrinterWayOf(int nOSCode)
{
    switch (nOSCode) {
    case 3: case 4: case 6: case 7: case 9:
        return DefaultPrinterWay::Win9x;
    case 11: case 12:
        return DefaultPrinterWay::WinNT;
    case 14: case 15: case 16: case 18:
        return DefaultPrinterWay::Win2k;
    default:
        return DefaultPrinterWay::Win2kFallback;
    }
}
