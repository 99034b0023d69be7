#include <gtest/gtest.h>

#include "app/shared/version_text.h"

TEST(VersionText, MinorVersionFollowsTheFileVersionAfterAColon)
{
    EXPECT_EQ(ComposeVersionText(L"Version", L"1.0.0.5", L"3"), L"Version : 1.0.0.5:3");
}

TEST(VersionText, WithoutMinorVersionTheTextEndsAfterTheFileVersion)
{
    EXPECT_EQ(ComposeVersionText(L"Version", L"1.0.0.5", L""), L"Version : 1.0.0.5");
    EXPECT_EQ(ComposeVersionText(L"Version", L"", L""), L"Version : ");
}

TEST(VersionText, LongTextsAreCutAtTheBuffer)
{
    const std::wstring strLong(400, L'x');
    EXPECT_EQ(ComposeVersionText(strLong, L"1.0", L"3").size(), 259u);
}
