#include "app/script/report/script_json.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "app/script/report/script_json_ticket.h"
#include "common/printable_text.h"

using nlohmann::ordered_json;

namespace {
// UTF-8 of a wide string, a surrogate without its partner (or any value beyond Unicode)
// replaced by U+FFFD: the document must be valid UTF-8 whatever a name holds.
std::string Utf8(const std::wstring& strText)
{
    std::string strOut;
    for (size_t i = 0; i < strText.size(); ++i) {
        auto c = static_cast<char32_t>(strText[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < strText.size() && strText[i + 1] >= 0xDC00 &&
            strText[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(strText[++i]) - 0xDC00);
        else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            strOut += static_cast<char>(c);
        } else if (c < 0x800) {
            strOut += static_cast<char>(0xC0 | (c >> 6));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            strOut += static_cast<char>(0xE0 | (c >> 12));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            strOut += static_cast<char>(0xF0 | (c >> 18));
            strOut += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return strOut;
}

// A name or text from a printer or the registry, cleaned as for the lines.
std::string Outside(const std::wstring& strText) { return Utf8(PrintableText(strText)); }
ordered_json OutsideOrNull(const std::wstring& strText)
{
    return strText.empty() ? ordered_json() : ordered_json(Outside(strText));
}

const char* PortKindKey(PortKind kind)
{
    switch (kind) {
    case PortKind::Usb:
        return "usb";
    case PortKind::Parallel:
        return "parallel";
    case PortKind::File:
        return "file";
    default:
        return "network";
    }
}

const char* PrinterCheckKey(int nSupportedTypes)
{
    if (nSupportedTypes > 0)
        return "can-print";
    if (nSupportedTypes == -2)
        return "no-printer";
    return nSupportedTypes == -1 ? "no-answer" : "not-supported";
}

const char* UsageErrorKey(UsageError error)
{
    switch (error) {
    case UsageError::UnknownOption:
        return "unknown-option";
    case UsageError::BadValue:
        return "bad-value";
    case UsageError::MissingValue:
        return "missing-value";
    case UsageError::NoFile:
        return "no-file";
    case UsageError::TwoModes:
        return "print-and-probe";
    case UsageError::NotForProbe:
        return "not-for-probe";
    case UsageError::OnlyForProbe:
        return "only-for-probe";
    case UsageError::AllAndPrinter:
        return "all-and-printer";
    default:
        return "no-run";  // neither /print nor /probe
    }
}

const char* StatusKey(PrinterStatus status)
{
    constexpr const char* kKeys[] = {"unknown", "ready", "printing", "warming-up", "warning", "stopped"};
    return kKeys[static_cast<size_t>(status)];
}

const char* ConditionKey(ConditionKind kind)
{
    constexpr const char* kKeys[] = {"paper-jam",  "cover-open", "out-of-paper", "paper-low",         "out-of-toner",
                                     "toner-low",  "output-full", "offline",     "service-requested", "other"};
    return kKeys[static_cast<size_t>(kind)];
}

const char* DetailKey(ConditionDetail detail)
{
    constexpr const char* kKeys[] = {"none",           "device-down",    "input-tray-missing", "output-tray-missing",
                                     "supply-missing", "output-near-full", "input-tray-empty", "maintenance-overdue"};
    return kKeys[static_cast<size_t>(detail)];
}

const char* ReasonKey(FileOutcome outcome)
{
    constexpr const char* kKeys[] = {
        "sent",         "not-found",     "not-a-file",        "cannot-open",     "empty",
        "path-too-long", "type-not-taken", "not-of-its-type", "printer-commands", "changed",
        "spool-file-failed", "spooler-refused", "cancelled",  "internal-error",  "printer-error",
        "printer-offline", "paper-out",   "job-paused",       "job-blocked",     "job-deleted",
        "printer-trouble", "option-not-supported", "zoom-not-carried", "printer-refused", "job-aborted",
        "not-finished", "job-stalled", "printer-busy", "not-reached-safely"};
    static_assert(std::size(kKeys) == static_cast<size_t>(FileOutcome::NotReachedSafely) + 1);
    return kKeys[static_cast<size_t>(outcome)];
}

// The level in per cent, else "some-remaining" or "unknown".
ordered_json Level(int nLevel, int nMaxCapacity, bool bPercentUnit)
{
    if (const std::optional<int> percent = LevelPercent(nLevel, nMaxCapacity, bPercentUnit))
        return *percent;
    return nLevel == kLevelSomeRemaining ? "some-remaining" : "unknown";
}

ordered_json TypesOf(int nSupportedTypes)
{
    ordered_json types = ordered_json::array();
    constexpr const char* kTypes[] = {"pdf", "jpeg", "tiff", "png", "bmp"};
    for (size_t i = 0; i < std::size(kTypes); ++i)
        if (nSupportedTypes > 0 && (nSupportedTypes & (1 << i)))
            types.push_back(kTypes[i]);
    return types;
}

ordered_json IppRequestsOf(const std::vector<IppRequestRoute>& arrIpp)
{
    ordered_json requests = ordered_json::array();
    for (const IppRequestRoute& request : arrIpp)
        requests.push_back({{"url", OutsideOrNull(request.strUrl)},
                            {"answered", request.bAnswered},
                            {"reason", request.bAnswered ? ordered_json() : ordered_json(request.strReason)}});
    return requests;
}

// The certificate the printer showed over TLS, from the first request that had one.
ordered_json CertificateOf(const std::vector<IppRequestRoute>& arrFirst, const std::vector<IppRequestRoute>& arrSecond)
{
    for (const auto* pRequests : {&arrFirst, &arrSecond})
        for (const IppRequestRoute& request : *pRequests)
            if (const std::optional<ipp::Certificate>& c = request.certificate) {
                std::string sha256 = c->sha256;
                std::transform(sha256.begin(), sha256.end(), sha256.begin(),
                               [](char ch) { return static_cast<char>(ch >= 'A' && ch <= 'F' ? ch - 'A' + 'a' : ch); });
                const char* pszTrust = c->trust == ipp::CertificateTrust::Windows    ? "windows"
                                       : c->trust == ipp::CertificateTrust::FirstUse ? "first-use"
                                                                                     : nullptr;
                return {{"sha256", sha256},
                        {"subject", Outside(c->strSubject)},
                        {"trust", pszTrust ? ordered_json(pszTrust) : ordered_json()},
                        {"pinnedOn", c->pinnedOn.empty() ? ordered_json() : ordered_json(c->pinnedOn)}};
            }
    return ordered_json();
}

// A printer that did not answer because it could not be reached safely says why.
const char* VerdictKey(int nSupportedTypes, const IppSafetyFacts& safety)
{
    if (nSupportedTypes == -1 && safety.safety != IppSafety::Safe)
        return IppSafetyKey(safety.safety);
    return PrinterCheckKey(nSupportedTypes);
}

ordered_json RoadOf(const std::wstring& strIppUrl)
{
    return {{"kind", strIppUrl.empty() ? "spooler" : "ipp"}, {"url", OutsideOrNull(strIppUrl)}};
}

ordered_json RouteOf(const DeviceIdRoute& route, bool bObtained, const std::vector<IppRequestRoute>& arrIpp)
{
    if (!arrIpp.empty())
        return {{"kind", "ipp"}, {"answered", arrIpp.back().bAnswered}, {"requests", IppRequestsOf(arrIpp)}};
    ordered_json json = {{"kind", route.kind == PortKind::Network ? "snmp" : PortKindKey(route.kind)}};
    if (route.kind == PortKind::File) {
        json["answered"] = nullptr;  // a file port is not asked
        return json;
    }
    bool bAnswered = route.kind != PortKind::Network && bObtained;
    ordered_json requests = ordered_json::array();
    for (const SnmpRequestRoute& request : route.arrSnmp) {
        bAnswered = bAnswered || request.bDelivered;
        requests.push_back({{"address", OutsideOrNull(request.strAddress)},
                            {"community", Outside(request.strCommunity)},
                            {"wsdUrl", request.bWsd ? OutsideOrNull(request.strWsdLocation) : ordered_json()},
                            {"answered", request.bDelivered}});
    }
    // A network port may also have been asked over IPP: a port monitor's URL, IPP beside SNMP.
    const bool bIppAnswered = std::any_of(route.arrIpp.begin(), route.arrIpp.end(),
                                          [](const IppRequestRoute& request) { return request.bAnswered; });
    if (bIppAnswered && !bAnswered)
        json["kind"] = "ipp";
    json["answered"] = bAnswered || bIppAnswered;
    if (route.kind == PortKind::Network)
        json["requests"] = requests;
    if (!route.arrIpp.empty())
        json["ippRequests"] = IppRequestsOf(route.arrIpp);
    return json;
}

ordered_json ConditionOf(const PrinterCondition& condition)
{
    return {{"kind", ConditionKey(condition.kind)},
            {"severity", condition.severity == ConditionSeverity::Stop ? "stop" : "warning"},
            {"detail", DetailKey(condition.detail)},
            {"words", OutsideOrNull(condition.strWords)}};
}

ordered_json StateOf(const PrinterState& state)
{
    ordered_json conditions = ordered_json::array(), supplies = ordered_json::array(), trays = ordered_json::array();
    for (const PrinterCondition& condition : state.conditions)
        conditions.push_back(ConditionOf(condition));
    for (const PrinterSupply& s : state.supplies)
        supplies.push_back({{"name", Outside(s.strDescription)},
                            {"kind", s.bReceptacle ? "receptacle" : "supply"},
                            {"level", Level(s.nLevel, s.nMaxCapacity, s.bPercentUnit)}});
    for (const PrinterTray& t : state.trays)
        trays.push_back({{"name", Outside(t.strName)},
                         {"description", Outside(t.strDescription)},
                         {"media", OutsideOrNull(t.strMedia)},
                         {"level", Level(t.nLevel, t.nMaxCapacity, false)}});
    return {{"status", StatusKey(state.status)},
            {"conditions", conditions},
            {"pageCounter", state.nPageCounter ? ordered_json(*state.nPageCounter) : ordered_json()},
            {"supplies", supplies},
            {"trays", trays}};
}

const char* FileOutcomeKey(const FileReport& report)
{
    if (report.reason.outcome == FileOutcome::Sent || report.reason.outcome == FileOutcome::NotFinished)
        return "sent";
    if (WasSent(report.reason))
        return "sent-with-trouble";
    return report.bAdmitted ? "not-sent" : "refused";
}

const char* FollowKey(FollowVerdict verdict)
{
    constexpr const char* kKeys[] = {"following", "done", "trouble", "timed-out", "no-state"};
    return kKeys[static_cast<size_t>(verdict)];
}
}  // namespace

ScriptJson::ScriptJson(RunMode mode) : m_pDoc(std::make_unique<ordered_json>())
{
    (*m_pDoc)["version"] = kScriptJsonVersion;
    if (mode == RunMode::Print || mode == RunMode::Probe)
        (*m_pDoc)["command"] = mode == RunMode::Print ? "print" : "probe";
    else
        (*m_pDoc)["command"] = nullptr;
}

ScriptJson::~ScriptJson() = default;

void ScriptJson::UsageFault(const CommandLine& cmd)
{
    (*m_pDoc)["error"] = {{"key", cmd.mode == RunMode::Sheet ? "no-run" : UsageErrorKey(cmd.error)},
                          {"option", OutsideOrNull(cmd.strErrorToken)},
                          {"value", OutsideOrNull(cmd.strErrorValue)}};
}

void ScriptJson::LockedOption(const wchar_t* pszOption)
{
    (*m_pDoc)["error"] = {{"key", "locked-option"}, {"option", Utf8(pszOption ? pszOption : L"")}};
}

void ScriptJson::UnknownPrinter(const std::wstring& strPrinter)
{
    (*m_pDoc)["error"] = {{"key", "unknown-printer"}, {"printer", Outside(strPrinter)}};
}

void ScriptJson::PrinterCheckFault(int nSupportedTypes, const IppSafetyFacts& safety)
{
    (*m_pDoc)["error"] = {{"key", VerdictKey(nSupportedTypes, safety)}};
}

void ScriptJson::PrinterStopped(const PrinterState& state)
{
    (*m_pDoc)["error"] = {{"key", "printer-stopped"}, {"state", StateOf(state)}};
}

void ScriptJson::NoRoad(PrintRoad road, const std::wstring& strPrinter)
{
    (*m_pDoc)["error"] = {{"key", road == PrintRoad::Ipp ? "no-ipp-road" : "no-spooler-road"},
                          {"printer", Outside(strPrinter)}};
}

void ScriptJson::AddProbe(const ProbeFacts& facts)
{
    (*m_pDoc)["printers"].push_back(
        {{"printer", Outside(facts.strPrinter)},
         {"port", facts.arrIpp.empty() ? ordered_json{{"name", Outside(facts.route.strPortName)},
                                                      {"kind", PortKindKey(facts.route.kind)}}
                                       : ordered_json()},
         {"route", RouteOf(facts.route, facts.bObtained, facts.arrIpp)},
         {"deviceId", facts.bObtained ? ordered_json(Outside(facts.strDeviceID)) : ordered_json()},
         {"types", TypesOf(facts.nSupportedTypes)},
         {"verdict", facts.bStoppedNow ? "can-print-not-now"
                                       : VerdictKey(facts.nSupportedTypes, UnsafeOfRequests(facts.arrIpp, facts.route.arrIpp))},
         {"certificate", CertificateOf(facts.arrIpp, facts.route.arrIpp)},
         {"road", RoadOf(facts.strIppRoad)},
         {"state", StateOf(facts.state)},
         {"ticket", TicketOfferJson(facts.state.offer)}});
}

void ScriptJson::PrintRun(const std::wstring& strPrinter, const std::vector<FileReport>& arrReports,
                          const PrinterRunReport& printer, const std::wstring& strIppUrl)
{
    ordered_json files = ordered_json::array(), reasons = ordered_json::object(), trouble;
    size_t nSent = 0, nRefused = 0;
    for (const FileReport& report : arrReports) {
        const bool bTrouble =
            report.reason.outcome == FileOutcome::PrinterTrouble || report.reason.outcome == FileOutcome::JobAborted;
        const bool bSent = report.reason.outcome == FileOutcome::Sent;
        files.push_back({{"path", Outside(report.strShown)},
                         {"outcome", FileOutcomeKey(report)},
                         {"reason", bSent ? ordered_json() : ordered_json(ReasonKey(report.reason.outcome))},
                         {"pages", report.nPages && *report.nPages ? ordered_json(*report.nPages) : ordered_json()}});
        nSent += WasSent(report.reason) ? 1 : 0;
        nRefused += report.bAdmitted ? 0 : 1;
        if (report.reason.outcome != FileOutcome::Sent) {
            const char* pszKey = ReasonKey(report.reason.outcome);
            reasons[pszKey] = reasons.value(pszKey, 0) + 1;
        }
        if (bTrouble && trouble.is_null())
            trouble = OutsideOrNull(report.reason.strDetail);
    }
    (*m_pDoc)["printer"] = Outside(strPrinter);
    (*m_pDoc)["road"] = RoadOf(strIppUrl);
    (*m_pDoc)["files"] = files;
    (*m_pDoc)["counts"] = {{"files", arrReports.size()},
                           {"sent", nSent},
                           {"refused", nRefused},
                           {"notSent", arrReports.size() - nSent - nRefused},
                           {"reasons", reasons}};
    (*m_pDoc)["printerReport"] = {{"verdict", FollowKey(printer.verdict)},
                                  {"pages", printer.nPages && *printer.nPages ? ordered_json(*printer.nPages)
                                                                              : ordered_json()},
                                  {"trouble", trouble}};
}

std::string JsonTextOf(const std::wstring& strText) { return Outside(strText); }

std::string ScriptJson::Text(int nExitCode) const
{
    ordered_json doc = *m_pDoc;
    doc["exitCode"] = nExitCode;
    return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
