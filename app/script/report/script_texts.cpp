#include "app/script/report/script_texts.h"

#include <algorithm>

#include "common/placeholders.h"
#include "common/printable_text.h"
#include "files/file_types.h"
#include "job/outcome/print_summary.h"
#include "printer/state/printer_state_text.h"

namespace {
using Text = UIText;

constexpr Text kUsageHead{L"IDL_USAGE_HEAD", L"Usage:"};
constexpr Text kUsagePrint{L"IDL_USAGE_PRINT", L"/print sends the files without a window to the printer named "
                                               L"with /m, else to the default printer."};
constexpr Text kUsageProbe{L"IDL_USAGE_PROBE", L"/probe shows how the printer's device ID is read and which "
                                               L"files the printer takes."};
constexpr Text kUsageRanges{L"IDL_USAGE_RANGES", L"Copies 1-99, pages 1-9999, zoom 50-200 %, wait 0-3600 seconds "
                                                 L"(60 when not given). Options not given take the defaults of "
                                                 L"the sheet."};
constexpr Text kUsageSizes{L"IDL_USAGE_SIZES", L"Paper sizes: {1}"};
constexpr Text kUsageTypes{L"IDL_USAGE_TYPES", L"Paper types: {1}"};
constexpr Text kUsageNames{L"IDL_USAGE_NAMES", L"Put a name with blanks in double quotes. A * or ? in the last part "
                                               L"of a file name stands for the files that match."};
constexpr Text kUsageExit{L"IDL_USAGE_EXIT", L"Exit codes: 0 all sent; 1 bad usage; 2 unknown printer or no direct "
                                             L"printing; 3 the printer did not answer; 4 a file was refused or "
                                             L"unreadable; 5 the spooler refused a job."};
// A line of its own: a text of the string file holds at most 259 characters.
constexpr Text kUsageExitPrinter{L"IDL_USAGE_EXIT_PRINTER", L"5 also when the printer reported trouble after the run; 6 "
                                                           L"the printer reports it cannot print now (nothing was "
                                                           L"sent)."};
constexpr Text kUnknownOption{L"IDL_ERR_UNKNOWN_OPTION", L"Unknown option: {1}"};
constexpr Text kBadValue{L"IDL_ERR_BAD_VALUE", L"Value not valid for {1}: {2}"};
constexpr Text kNoValue{L"IDL_ERR_NO_VALUE", L"{1} needs a value."};
constexpr Text kNoFile{L"IDL_ERR_NO_FILE", L"No file to print."};
constexpr Text kTwoRuns{L"IDL_ERR_TWO_RUNS", L"/print and /probe cannot be used together."};
constexpr Text kNotForProbe{L"IDL_ERR_NOT_FOR_PROBE", L"/probe takes no file and no option but /m: {1}"};
constexpr Text kOnlyForProbe{L"IDL_ERR_ONLY_FOR_PROBE", L"{1} goes with /probe only."};
constexpr Text kAllAndPrinter{L"IDL_ERR_ALL_AND_PRINTER", L"/all and /m cannot be used together."};
constexpr Text kUsageJson{L"IDL_USAGE_JSON", L"/json writes one JSON document for scripts in place of these lines. "
                                             L"/all checks every installed printer."};
constexpr Text kUsageSignIn{L"IDL_USAGE_SIGNIN",
                            L"/user signs in with that name at a printer that asks; the password comes from the "
                            L"variable LUMEO_PASSWORD or is typed at the console. /trust takes the certificate the "
                            L"printer shows now in place of the one trusted before."};
constexpr Text kUsageExitSafe{L"IDL_USAGE_EXIT_SAFE", L"7 the printer could not be reached safely: its certificate "
                                                      L"or its sign-in was refused (nothing was sent)."};
constexpr Text kWordName{L"IDL_WORD_NAME", L"NAME"};
constexpr Text kNoRun{L"IDL_ERR_NO_RUN", L"Give /print, /probe or /?."};
constexpr Text kNoIppRoad{L"IDL_ERR_NO_IPP_ROAD", L"/via ipp: the printer \"{1}\" was not heard over IPP, so it has "
                                                 L"no IPP road. Leave out /via or use /via spooler."};
constexpr Text kNoSpoolerRoad{L"IDL_ERR_NO_SPOOLER_ROAD", L"/via spooler: {1} is installed nowhere, so it has no print "
                                                         L"queue. Leave out /via or use /via ipp."};
constexpr Text kUsageVia{L"IDL_USAGE_VIA", L"/via chooses the road: a printer heard over IPP takes the files over "
                                           L"IPP, any other through the spooler."};
constexpr Text kUnknownPrinter{L"IDL_UNKNOWN_PRINTER", L"No printer named \"{1}\" is installed."};
constexpr Text kFileSent{L"IDL_FILE_SENT", L"Sent: {1}"};
constexpr Text kFileRefused{L"IDL_FILE_REFUSED", L"Refused ({2}): {1}"};
constexpr Text kFileFailed{L"IDL_FILE_FAILED", L"Not sent ({2}): {1}"};
constexpr Text kFileTrouble{L"IDL_FILE_TROUBLE", L"Sent ({2}): {1}"};
constexpr Text kPrinterStopped{L"IDL_PRINTER_STOPPED", L"The printer reports it cannot print now: {1}"};
constexpr Text kCountRefused{L"IDL_COUNT_REFUSED", L"{1} refused: {2}"};
constexpr Text kCountFailed{L"IDL_COUNT_FAILED", L"{1} not sent: {2}"};
constexpr Text kCountTrouble{L"IDL_COUNT_TROUBLE", L"{1} sent, but {2}"};
constexpr Text kProbePrinter{L"IDL_PROBE_PRINTER", L"Printer: {1}"};
constexpr Text kProbePort{L"IDL_PROBE_PORT", L"Port: {1} ({2})"};
constexpr Text kPortUsb{L"IDL_PORT_USB", L"USB"};
constexpr Text kPortParallel{L"IDL_PORT_PARALLEL", L"parallel port"};
constexpr Text kPortFile{L"IDL_PORT_FILE", L"file port"};
constexpr Text kPortNetwork{L"IDL_PORT_NETWORK", L"network port"};
constexpr Text kReadUsb{L"IDL_PROBE_READ_USB", L"The device ID is asked of the USB printer on this port."};
constexpr Text kReadParallel{L"IDL_PROBE_READ_PARALLEL", L"The device ID is asked over the parallel port."};
constexpr Text kReadFile{L"IDL_PROBE_READ_FILE", L"A file port is not asked for a device ID; Lumeo uses this one:"};
constexpr Text kReadSnmp{L"IDL_PROBE_READ_SNMP", L"SNMP request to {1} with the community {2}: {3}"};
constexpr Text kReadWsd{L"IDL_PROBE_READ_WSD", L"WSD device at {1}"};
constexpr Text kReadIpp{L"IDL_PROBE_READ_IPP", L"IPP request to {1}: {2}"};
constexpr Text kUrlOnly{L"IDL_PROBE_URL_ONLY", L"Installed nowhere: reached by its URL alone."};
constexpr Text kAnswered{L"IDL_PROBE_ANSWERED", L"answered"};
constexpr Text kNoAnswer{L"IDL_PROBE_NO_ANSWER", L"no answer"};
constexpr Text kNoAddress{L"IDL_PROBE_NO_ADDRESS", L"No address was found for this port: nothing was asked."};
constexpr Text kDeviceId{L"IDL_PROBE_DEVICE_ID", L"Device ID: {1}"};
constexpr Text kTypes{L"IDL_PROBE_TYPES", L"Files it takes: {1}"};
constexpr Text kNone{L"IDL_PROBE_NONE", L"(none)"};
constexpr Text kVerdict{L"IDL_PROBE_VERDICT", L"Verdict: {1}"};
constexpr Text kNoPrinter{L"IDL_CHECK_NOPRINTER", L"No printer is installed."};
constexpr Text kNoSupport{L"IDL_CHECK_NOSUPPORT", L"Lumeo cannot print on this printer: it takes no PDF, JPEG, TIFF, PNG "
                                                  L"or BMP files directly. Name another printer with /m."};
constexpr Text kSilent{L"IDL_CHECK_NOANSWER", L"The printer did not answer. Another program may be using it, its "
                                              L"cable may be loose, or it may be turned off."};
constexpr Text kSilentNetwork{L"IDL_CHECK_NETNOANSWER", L"No printer answered over the network. It may be turned off or "
                                                          L"asleep, off the network, or its address may be wrong."};
// The words of the usage that stand for what the user gives.
constexpr Text kWordPrinter{L"IDL_WORD_PRINTER", L"PRINTER"};
constexpr Text kWordNumber{L"IDL_WORD_N", L"N"};
constexpr Text kWordFrom{L"IDL_WORD_FROM", L"FROM"};
constexpr Text kWordTo{L"IDL_WORD_TO", L"TO"};
constexpr Text kWordSize{L"IDL_WORD_SIZE", L"SIZE"};
constexpr Text kWordType{L"IDL_WORD_TYPE", L"TYPE"};
constexpr Text kWordSeconds{L"IDL_WORD_SECONDS", L"SECONDS"};
constexpr Text kWordFile{L"IDL_WORD_FILE", L"FILE"};
constexpr Text kWordValue{L"IDL_WORD_VALUE", L"VALUE"};
constexpr Text kUsageTicket{L"IDL_USAGE_TICKET", L"/tray, /bin and /finish take the values /probe lists (/tray also "
                                                 L"auto or bysize); /pin holds the job until its PIN is typed at the "
                                                 L"printer, read from LUMEO_PIN or asked at the console."};
constexpr Text kCanPrint{L"IDL_PROBE_OK", L"Lumeo can print on this printer."};
constexpr Text kCanPrintLater{L"IDL_PROBE_OK_NOT_NOW", L"Lumeo can print on this printer, but not now: {1}"};

std::wstring Say(const Text& text, std::initializer_list<std::wstring> values = {})
{
    return FilledUIText(L"COMMAND_LINE", text, values);
}

std::wstring Joined(std::span<const wchar_t* const> words)
{
    std::wstring strText;
    for (const wchar_t* pszWord : words)
        strText += (strText.empty() ? L"" : L" ") + std::wstring(pszWord ? pszWord : L"");
    return strText;
}

std::wstring OrNone(const std::wstring& strText) { return strText.empty() ? Say(kNone) : strText; }

// ".pdf .jpg .jpeg ..." of a mask.
std::wstring ExtensionsOf(int nSupportedTypes)
{
    std::wstring strList = AdmissionListOfMask(nSupportedTypes);
    for (wchar_t& ch : strList)
        if (ch == L'/')
            ch = L' ';
    while (!strList.empty() && strList.back() == L' ')
        strList.pop_back();
    return OrNone(strList);
}

const Text& PortKindText(PortKind kind)
{
    switch (kind) {
    case PortKind::Usb:
        return kPortUsb;
    case PortKind::Parallel:
        return kPortParallel;
    case PortKind::File:
        return kPortFile;
    default:
        return kPortNetwork;
    }
}
}  // namespace

std::vector<std::wstring> UsageLines(const std::wstring& strProgram, const OptionKeywords& keywords)
{
    const std::wstring strIndent(strProgram.size() + 3, L' ');
    const std::wstring strPrinter = Say(kWordPrinter), strN = Say(kWordNumber);
    return {Say(kUsageHead),
            L"  " + strProgram + L" /print [/m " + strPrinter + L"] [/copies " + strN + L"] [/pages " + Say(kWordFrom) +
                L"[-" + Say(kWordTo) + L"]] [/paper " + Say(kWordSize) + L"] [/type " + Say(kWordType) + L"]",
            strIndent + L"[/duplex none|long|short] [/color auto|bw] [/fit | /zoom " + strN + L"] [/wait " +
                Say(kWordSeconds) + L"]",
            strIndent + L"[/tray " + Say(kWordName) + L"] [/bin " + Say(kWordName) + L"] [/finish " +
                Say(kWordValue) + L"[," + Say(kWordValue) + L"...]] [/pin]",
            strIndent + L"[/via spooler|ipp] [/user " + Say(kWordName) + L"] [/json] " + Say(kWordFile) + L"...",
            L"  " + strProgram + L" /probe [/m " + strPrinter + L" [/trust] | /all] [/user " + Say(kWordName) +
                L"] [/json]",
            L"  " + strProgram + L" /?",
            Say(kUsagePrint),
            Say(kUsageProbe),
            Say(kUsageJson),
            Say(kUsageVia),
            Say(kUsageTicket),
            Say(kUsageRanges),
            Say(kUsageSizes, {Joined(keywords.paperSizes)}),
            Say(kUsageTypes, {Joined(keywords.paperTypes)}),
            Say(kUsageNames),
            Say(kUsageSignIn),
            Say(kUsageExit),
            Say(kUsageExitPrinter),
            Say(kUsageExitSafe)};
}

std::wstring UsageErrorLine(const CommandLine& cmd)
{
    switch (cmd.error) {
    case UsageError::UnknownOption:
        return Say(kUnknownOption, {cmd.strErrorToken});
    case UsageError::BadValue:
        return Say(kBadValue, {cmd.strErrorToken, cmd.strErrorValue});
    case UsageError::MissingValue:
        return Say(kNoValue, {cmd.strErrorToken});
    case UsageError::NoFile:
        return Say(kNoFile);
    case UsageError::TwoModes:
        return Say(kTwoRuns);
    case UsageError::NotForProbe:
        return Say(kNotForProbe, {cmd.strErrorToken});
    case UsageError::OnlyForProbe:
        return Say(kOnlyForProbe, {cmd.strErrorToken});
    case UsageError::AllAndPrinter:
        return Say(kAllAndPrinter);
    default:
        return {};
    }
}

std::wstring NoRunLine() { return Say(kNoRun); }

std::wstring UnknownPrinterLine(const std::wstring& strPrinter) { return Say(kUnknownPrinter, {strPrinter}); }

std::wstring NoRoadLine(PrintRoad road, const std::wstring& strPrinter)
{
    return PrintableText(Say(road == PrintRoad::Ipp ? kNoIppRoad : kNoSpoolerRoad, {strPrinter}));
}

std::wstring PrinterCheckLine(int nSupportedTypes, PortKind kind, const IppSafetyFacts& safety)
{
    if (nSupportedTypes == -1 && safety.safety != IppSafety::Safe)
        return IppSafetyText(safety) + L".";
    // Said to the one who typed the command, not to a user of the sheet. A cable is
    // advice for a printer that has one.
    if (nSupportedTypes == -2)
        return Say(kNoPrinter);
    if (nSupportedTypes == -1)
        return Say(kind == PortKind::Network ? kSilentNetwork : kSilent);
    return Say(kNoSupport);
}

std::wstring PrinterStoppedLine(const PrinterState& state) { return Say(kPrinterStopped, {PrinterReportText(state)}); }

std::wstring FileLine(const FileReport& report)
{
    if (report.reason.outcome == FileOutcome::Sent)
        return Say(kFileSent, {report.strShown});
    const Text& line = WasSent(report.reason) ? kFileTrouble : report.bAdmitted ? kFileFailed : kFileRefused;
    return Say(line, {report.strShown, FileReasonText(report.reason)});
}

std::vector<std::wstring> ReasonCountLines(const std::vector<FileReport>& arrReports)
{
    // Refused and not sent apart: the same cause may be found at either step.
    struct Count {
        bool bAdmitted;
        FileOutcome outcome;
        size_t nFiles;
    };
    std::vector<Count> arrCounts;
    for (const FileReport& report : arrReports) {
        if (report.reason.outcome == FileOutcome::Sent)
            continue;
        auto it = std::find_if(arrCounts.begin(), arrCounts.end(), [&](const Count& count) {
            return count.bAdmitted == report.bAdmitted && count.outcome == report.reason.outcome;
        });
        if (it == arrCounts.end())
            arrCounts.push_back({report.bAdmitted, report.reason.outcome, 1});
        else
            ++it->nFiles;
    }
    std::vector<std::wstring> arrLines;
    for (const Count& count : arrCounts) {
        const Text& line = WasSent(FileReason(count.outcome)) ? kCountTrouble
                           : count.bAdmitted                    ? kCountFailed
                                                                : kCountRefused;
        arrLines.push_back(Say(line, {std::to_wstring(count.nFiles), FileCauseText(count.outcome)}));
    }
    return arrLines;
}

std::wstring SummaryLine(const std::vector<FileReport>& arrReports, const std::wstring& strPrinter)
{
    std::vector<std::wstring> arrFiles;
    std::vector<FileReason> arrOutcomes;
    for (const FileReport& report : arrReports) {
        arrFiles.push_back(report.strShown);
        arrOutcomes.push_back(report.reason);
    }
    return SummarizePrintRun(strPrinter, arrFiles, arrOutcomes, false).strHeadline;
}

std::vector<std::wstring> ProbeLines(const std::wstring& strPrinter, const DeviceIdRoute& route, bool bObtained,
                                     const std::wstring& strDeviceID, int nSupportedTypes,
                                     const PrinterState* pStoppedNow, const std::vector<IppRequestRoute>& arrIpp)
{
    std::vector<std::wstring> arrLines = {Say(kProbePrinter, {strPrinter})};
    if (!arrIpp.empty())
        arrLines.push_back(Say(kUrlOnly));
    else
        arrLines.push_back(Say(kProbePort, {route.strPortName, Say(PortKindText(route.kind))}));
    // A URL given alone, or what the port's routes asked over IPP (a port monitor's refused
    // answer has no URL).
    for (const auto* pRequests : {&arrIpp, &route.arrIpp}) {
        for (const IppRequestRoute& request : *pRequests) {
            const std::wstring strReason(request.strReason.begin(), request.strReason.end());  // English, ASCII
            arrLines.push_back(
                Say(kReadIpp, {OrNone(request.strUrl), request.bAnswered ? Say(kAnswered) : strReason}));
            if (request.certificate)
                arrLines.push_back(CertificateLine(*request.certificate));
        }
    }
    if (route.kind == PortKind::Usb)
        arrLines.push_back(Say(kReadUsb));
    else if (route.kind == PortKind::Parallel)
        arrLines.push_back(Say(kReadParallel));
    else if (route.kind == PortKind::File)
        arrLines.push_back(Say(kReadFile));
    else if (route.arrSnmp.empty() && arrIpp.empty() && route.arrIpp.empty())
        arrLines.push_back(Say(kNoAddress));
    for (const SnmpRequestRoute& request : route.arrSnmp) {
        if (request.bWsd)
            arrLines.push_back(Say(kReadWsd, {OrNone(request.strWsdLocation)}));
        arrLines.push_back(Say(kReadSnmp, {OrNone(request.strAddress), request.strCommunity,
                                           Say(request.bDelivered ? kAnswered : kNoAnswer)}));
    }
    arrLines.push_back(Say(kDeviceId, {bObtained ? OrNone(strDeviceID) : Say(kNone)}));
    arrLines.push_back(Say(kTypes, {ExtensionsOf(nSupportedTypes)}));
    const std::wstring strVerdict = nSupportedTypes <= 0 ? PrinterCheckLine(nSupportedTypes, route.kind, UnsafeOfRequests(arrIpp, route.arrIpp))
                                    : pStoppedNow      ? Say(kCanPrintLater, {PrinterReportText(*pStoppedNow)})
                                                       : Say(kCanPrint);
    arrLines.push_back(Say(kVerdict, {strVerdict}));
    // Names, addresses and texts from the printer and the registry go onto a console.
    for (std::wstring& strLine : arrLines)
        strLine = PrintableText(strLine);
    return arrLines;
}
