// Koretta's lines follow Lumeo's log switch: Explorer must not pay for lines nobody reads.
#include <gtest/gtest.h>

#include "context_menu/koretta_log.h"
#include "tests/support/log_capture.h"

TEST(KorettaLog, WritesOnlyWhenSwitchedOnAndFormatsWideArguments)
{
    LogCapture log(0);
    KorettaLog(L"CContextMenuExt::Initialize");
    EXPECT_TRUE(log.Lines().empty());
    g_wLogSwitch = 1;
    KorettaLog(L"CContextMenuExt::Initialize: szFile : %s", L"C:\\100% sure\\a.pdf");
    KorettaLog(L"CContextMenuExt::Initialize: nValidFileCount : %d", 2);
    EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"CContextMenuExt::Initialize: szFile : C:\\100% sure\\a.pdf",
                                                      L"CContextMenuExt::Initialize: nValidFileCount : 2"}));
}

TEST(KorettaLog, LongLinesAreCutAtTheBuffer)
{
    LogCapture log(1);
    KorettaLog(L"%s", std::wstring(3000, L'x').c_str());
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], std::wstring(1023, L'x'));
}
