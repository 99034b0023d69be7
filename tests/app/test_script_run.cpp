#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>

#include <nlohmann/json.hpp>

#include "app/script/report/script_json.h"
#include "app/script/report/script_run.h"
#include "app/script/report/script_texts.h"
#include "app/shared/program_arguments.h"
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
    for (FileOutcome trouble : {JobAborted, JobStalled})  // the IPP road's printer ended or held the job
        EXPECT_EQ(Exit({NotFound, trouble, Sent}), 5) << static_cast<int>(trouble);
    EXPECT_EQ(Exit({Sent, NotFinished}), 0);  // still processing when the wait ended: sent
    EXPECT_EQ(Exit({Sent, PrinterBusy}), 6);  // busy all the wait: try again later
    // Their words in /json: a job the printer aborted is not sent, one held is sent with trouble.
    ScriptJson json(RunMode::Print);
    json.PrintRun(L"Office", {{L"a", JobAborted, true}, {L"b", JobStalled, true}, {L"c", NotFinished, true},
                              {L"d", PrinterBusy, true}, {L"e", Sent, true, 0}},
                  OwnCountsReport({JobAborted, JobStalled, NotFinished, PrinterBusy, Sent}, {}), L"ipp://h/ipp");
    const nlohmann::json doc = nlohmann::json::parse(json.Text(5));
    const char* kOutcomes[][2] = {{"not-sent", "job-aborted"}, {"sent-with-trouble", "job-stalled"},
                                  {"sent", "not-finished"}, {"not-sent", "printer-busy"}};
    for (size_t i = 0; i < std::size(kOutcomes); ++i) {
        EXPECT_EQ(doc["files"][i]["outcome"], kOutcomes[i][0]);
        EXPECT_EQ(doc["files"][i]["reason"], kOutcomes[i][1]);
    }
    EXPECT_TRUE(doc["files"][4]["pages"].is_null());  // "printed, 0 pages" is no count
    EXPECT_EQ(doc["counts"]["sent"], 3);
    EXPECT_EQ(doc["printerReport"]["verdict"], "trouble");
    // /probe /all: a printer that can print outranks a silent one, which outranks the others.
    EXPECT_EQ(ExitCodeOfPrinterChecks({0, -1, 1, -2}), 0);
    EXPECT_EQ(ExitCodeOfPrinterChecks({0, -1, -2}), 3);
    EXPECT_EQ(ExitCodeOfPrinterChecks({0, -2}), 2);
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
    // A silent printer is told of its cable only when it has one.
    EXPECT_EQ(ProbeLines(L"Office", route, false, L"", -1).back().find(L"cable"), std::wstring::npos);
    route = {L"USB001", PortKind::Usb};
    EXPECT_NE(ProbeLines(L"Office", route, false, L"", -1).back().find(L"cable"), std::wstring::npos);
}

TEST(ScriptJson, HostileStringsOfThePrinterAndTheRegistryMakeADocumentThatParses)
{
    const std::wstring strLone(1, static_cast<wchar_t>(0xD800));
    ProbeFacts facts{L"Office \"A\"\\\r\n" + strLone, {L"IP_\x1B]0;x\x07", PortKind::Network, {}}, true,
                     L"MFG:A;\x1B[2JCMD:PDF,PNG;", 9, {}, false, {}};
    facts.route.arrSnmp = {{L"10.0.0.1", L"pub\"lic\\", true, L"http://h/\x202Ex" + strLone, true}};
    facts.state.conditions = {{ConditionSeverity::Stop, ConditionKind::CoverOpen, ConditionDetail::None,
                               CleanPrinterText("Cover \"open\"\\\xFF\xFE\x1B")}};
    facts.state.supplies = {{CleanPrinterText("Toner\xC3\x28\x07"), false, true, 100, 40}};
    ScriptJson json(RunMode::Probe);
    json.AddProbe(facts);
    const std::string strText = json.Text(0);
    EXPECT_EQ(std::count_if(strText.begin(), strText.end(), [](char c) { return c >= 0 && c < 0x20; }), 0);
    const nlohmann::json doc = nlohmann::json::parse(strText);
    EXPECT_EQ(doc["version"], 1);
    const nlohmann::json& printer = doc["printers"][0];
    EXPECT_EQ(printer["printer"], "Office \"A\"\\\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(printer["port"]["name"], "IP_\uFFFD]0;x\uFFFD");
    EXPECT_EQ(printer["route"]["requests"][0]["community"], "pub\"lic\\");
    EXPECT_EQ(printer["route"]["requests"][0]["wsdUrl"], "http://h/\uFFFDx\uFFFD");
    EXPECT_EQ(printer["deviceId"], "MFG:A;\uFFFD[2JCMD:PDF,PNG;");
    EXPECT_EQ(printer["types"], nlohmann::json::array({"pdf", "png"}));
    EXPECT_EQ(printer["state"]["conditions"][0]["words"], "Cover \"open\"\\\u00FF\u00FE");
    EXPECT_EQ(printer["state"]["supplies"][0]["name"], "Toner\u00C3(");
    EXPECT_EQ(printer["state"]["supplies"][0]["level"], 40);

    // A port whose SNMP agent is silent and whose printer answered over IPP: an IPP route, both asked.
    facts.route.arrSnmp[0].bDelivered = false;
    facts.route.arrIpp = {{L"", false, "not an IPP port"}, {L"ipp://h\x1B:631/ipp/print", true, ""}};
    ScriptJson port(RunMode::Probe);
    port.AddProbe(facts);
    const nlohmann::json route = nlohmann::json::parse(port.Text(0))["printers"][0]["route"];
    EXPECT_EQ(route["kind"], "ipp");
    EXPECT_EQ(route["answered"], true);
    EXPECT_EQ(route["requests"][0]["answered"], false);
    EXPECT_EQ(route["ippRequests"][0], nlohmann::json::parse(R"({"url":null,"answered":false,"reason":"not an IPP port"})"));
    EXPECT_EQ(route["ippRequests"][1]["url"], "ipp://h\uFFFD:631/ipp/print");
    // Asked over IPP alone, a port is an IPP route whether it answered or not; absent is null.
    ScriptJson alone(RunMode::Probe);
    alone.AddProbe({L"P", {L"ipp://h/", PortKind::Network, {}, {{L"ipp://h/", false, "no connection"}}}, false, L"",
                    -1, {.trays = {{L"main", L"", L"Letter"}}}});
    const nlohmann::json printer2 = nlohmann::json::parse(alone.Text(3))["printers"][0];
    EXPECT_TRUE(printer2["route"]["kind"] == "ipp" && printer2["state"]["trays"][0]["description"].is_null());
    facts.route.arrIpp = {{L"", false, "not an IPP port"}, {L"ipp://h\x1B:631/ipp/print", true, ""}};
    const std::vector<std::wstring> arrLines = ProbeLines(L"Office", facts.route, true, L"CMD:PDF;", 1);
    EXPECT_EQ(std::count(arrLines.begin(), arrLines.end(), L"IPP request to ipp://h\uFFFD:631/ipp/print: answered"), 1);
}

// Every value the document can write stands in its row of the README's /json table, so a
// value added to the code without its documentation fails here.
TEST(ScriptJson, EveryValueTheCodeCanWriteStandsInTheReadmesTable)
{
    std::ifstream readme(LUMEO_README);
    std::map<std::string, std::string> rows;  // each key of a row's first cell: its second cell
    bool bInSection = false;
    const std::regex quoted("`([^`]+)`");
    for (std::string strLine; std::getline(readme, strLine);) {
        bInSection = strLine.starts_with("#") ? strLine.find("/json") != std::string::npos : bInSection;
        const size_t nSplit = strLine.find(" | ", 2);
        if (!bInSection || !strLine.starts_with("| ") || nSplit == std::string::npos)
            continue;
        const std::string strKeys = strLine.substr(0, nSplit);
        for (std::sregex_iterator it(strKeys.begin(), strKeys.end(), quoted), end; it != end; ++it)
            rows[(*it)[1]] += strLine.substr(nSplit);
    }
    ASSERT_TRUE(rows.contains("files")) << LUMEO_README;
    for (const JsonValueList& list : ScriptJsonValues())
        for (const std::string& strValue : list.arrValues)
            EXPECT_NE(rows[list.strRow].find("`\"" + strValue + "\"`"), std::string::npos)
                << "`" << list.strRow << "`: \"" << strValue << "\" is not in the README's table";
}
