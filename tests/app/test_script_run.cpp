#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_arguments.h"
#include "app/script_run.h"
#include "app/script_texts.h"
#include "common/printable_text.h"

TEST(ScriptRun, TheSpoolersTroubleOutweighsARefusedFile)
{
    using enum FileOutcome;
    const auto Exit = [](std::initializer_list<FileOutcome> outcomes) {
        std::vector<FileReport> arrReports;
        for (FileOutcome outcome : outcomes)
            arrReports.push_back({L"f", outcome, true});
        return ExitCodeOfFiles(arrReports);
    };
    EXPECT_EQ(Exit({Sent, Sent}), 0);
    for (FileOutcome refused : {NotFound, NotAFile, CannotOpen, Empty, PathTooLong, TypeNotTaken, NotOfItsType,
                                PrinterCommands, Changed})
        EXPECT_EQ(Exit({Sent, refused}), 4) << static_cast<int>(refused);
    for (FileOutcome trouble : {SpoolFileFailed, SpoolerRefused, Cancelled, InternalError, PrinterError, PrinterOffline, PaperOut,
                                JobPaused, JobBlocked, JobDeleted, PrinterTrouble})
        EXPECT_EQ(Exit({NotFound, trouble, Sent}), 5) << static_cast<int>(trouble);
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

TEST(ScriptTexts, ProbeLinesCarryNoControlCharacterOfThePrinterOrTheRegistry)
{
    DeviceIdRoute route;
    route.strPortName = L"IP_\x1B]0;x\x07";
    route.arrSnmp = {{L"10.0.0.1\r\nVerdict: ok", L"pub\x85lic", true, L"http://10.0.0.1/\x202Ecod.exe", false}};
    const std::vector<std::wstring> arrLines =
        ProbeLines(L"Office\r\nVerdict: fine", route, true, L"MFG:A;\x1B[2JCMD:PDF;", 1);
    ASSERT_GE(arrLines.size(), 6u);
    for (const std::wstring& strLine : arrLines)
        EXPECT_EQ(std::count_if(strLine.begin(), strLine.end(), IsControlCharacter), 0) << strLine.size();
}
