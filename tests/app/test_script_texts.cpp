#include <gtest/gtest.h>

#include "app/program_arguments.h"
#include "app/script_texts.h"

TEST(ScriptTexts, ValuesGoWhereTheTranslationPutsThemAndNothingElseIsAFormat)
{
    EXPECT_EQ(FillText(L"%2 of %1:%3%9 100% %s %d %n %%1", {L"a", L"b"}), L"b of a: 100% %s %d %n %a");
    EXPECT_EQ(FillText(L"%", {}), L"%");
}

TEST(ProgramArguments, WhatFollowsTheProgramsName)
{
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\Program Files\\Lumeo\\LumeoCmd.exe\"  /print \"a b.pdf\""),
              L"/print \"a b.pdf\"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"LumeoCmd.exe\t/probe"), L"/probe");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"LumeoCmd.exe"), L"");
    // As the C runtime reads it for Lumeo.exe: a quote does not end the name.
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\Lumeo\\LumeoCmd.exe\"/print a.pdf"), L"a.pdf");
}
