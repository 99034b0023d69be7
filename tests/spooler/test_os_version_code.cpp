// The system codes and the default-printer way each code takes.
#include <gtest/gtest.h>

#include "printer/queue/os_version_code.h"

TEST(OSVersionCode, Windows9xFamilyByMinorAndServicePackLetter)
{
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 0, L'\0'), 3);   // 95
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 0, L'B'), 4);    // 95 OSR2
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 0, L'C'), 4);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 0, L'A'), 3);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 10, L'\0'), 6);  // 98
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 10, L'A'), 7);   // 98 SE
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 10, L'B'), 6);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 90, L'\0'), 9);  // Me
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindows9x, 4, 20, L'\0'), 10);
}

TEST(OSVersionCode, NTFamilyByMajorAndMinor)
{
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 3, 51, L'\0'), 11);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 4, 0, L'\0'), 12);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 5, 0, L'\0'), 14);  // 2000
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 5, 1, L'\0'), 15);  // XP
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 5, 2, L'\0'), 16);  // Server 2003
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 6, 0, L'\0'), 18);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 6, 3, L'\0'), 18);
    EXPECT_EQ(OSVersionCodeOf(kPlatformWindowsNT, 10, 0, L'\0'), 13);
}

TEST(OSVersionCode, OtherPlatforms)
{
    EXPECT_EQ(OSVersionCodeOf(kPlatformWin32s, 3, 10, L'\0'), 2);
    EXPECT_EQ(OSVersionCodeOf(3, 5, 0, L'\0'), -1);
}

TEST(OSVersionCode, DefaultPrinterWayOfEachCode)
{
    for (int nCode : {3, 4, 6, 7, 9})
        EXPECT_EQ(DefaultPrinterWayOf(nCode), DefaultPrinterWay::Win9x) << nCode;
    for (int nCode : {11, 12})
        EXPECT_EQ(DefaultPrinterWayOf(nCode), DefaultPrinterWay::WinNT) << nCode;
    for (int nCode : {14, 15, 16, 18})
        EXPECT_EQ(DefaultPrinterWayOf(nCode), DefaultPrinterWay::Win2k) << nCode;
    for (int nCode : {-1, 2, 10, 13})
        EXPECT_EQ(DefaultPrinterWayOf(nCode), DefaultPrinterWay::Win2kFallback) << nCode;
}
