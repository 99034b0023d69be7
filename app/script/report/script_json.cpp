#include "app/script/report/script_json.h"

#include <algorithm>
#include <span>

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

// The values of each key, by its enum's order: the only place they are spelt, and what
// ScriptJsonValues gives the README's tables to be checked against.
constexpr const char* kPortKindKeys[] = {"usb", "parallel", "file", "network"};
constexpr const char* kRouteKindKeys[] = {"usb", "parallel", "file", "snmp", "ipp"};
constexpr const char* kUsageErrorKeys[] = {"no-run",          "unknown-option", "bad-value",
                                           "missing-value",   "no-file",        "print-and-probe",
                                           "not-for-probe",   "only-for-probe", "all-and-printer"};
static_assert(std::size(kUsageErrorKeys) == static_cast<size_t>(UsageError::AllAndPrinter) + 1);
constexpr const char* kLockedOption = "locked-option";
constexpr const char* kUnknownPrinter = "unknown-printer";
constexpr const char* kPrinterStopped = "printer-stopped";
constexpr const char* kNoRoadKeys[] = {"no-ipp-road", "no-spooler-road"};
// A printer check: -2, -1, 0, and a printer that takes files.
constexpr const char* kCheckKeys[] = {"no-printer", "no-answer", "not-supported", "can-print"};
constexpr const char* kCanPrintNotNow = "can-print-not-now";
constexpr const char* kStatusKeys[] = {"unknown", "ready", "printing", "warming-up", "warning", "stopped"};
static_assert(std::size(kStatusKeys) == static_cast<size_t>(PrinterStatus::Stopped) + 1);
constexpr const char* kConditionKeys[] = {"paper-jam",  "cover-open",  "out-of-paper", "paper-low",
                                          "out-of-toner", "toner-low", "output-full",  "offline",
                                          "service-requested", "other"};
static_assert(std::size(kConditionKeys) == static_cast<size_t>(ConditionKind::Other) + 1);
constexpr const char* kSeverityKeys[] = {"warning", "stop"};
constexpr const char* kDetailKeys[] = {"none",           "device-down",      "input-tray-missing",
                                       "output-tray-missing", "supply-missing", "output-near-full",
                                       "input-tray-empty", "maintenance-overdue"};
static_assert(std::size(kDetailKeys) == static_cast<size_t>(ConditionDetail::MaintenanceOverdue) + 1);
constexpr const char* kSupplyKindKeys[] = {"supply", "receptacle"};
constexpr const char* kLevelKeys[] = {"some-remaining", "unknown"};
constexpr const char* kTypeKeys[] = {"pdf", "jpeg", "tiff", "png", "bmp"};
constexpr const char* kRoadKeys[] = {"spooler", "ipp"};
constexpr const char* kTrustKeys[] = {"windows", "first-use"};
constexpr const char* kOutcomeKeys[] = {"sent", "sent-with-trouble", "refused", "not-sent"};
constexpr const char* kReasonKeys[] = {
    "sent",         "not-found",     "not-a-file",        "cannot-open",     "empty",
    "path-too-long", "type-not-taken", "not-of-its-type", "printer-commands", "changed",
    "spool-file-failed", "spooler-refused", "cancelled",  "internal-error",  "printer-error",
    "printer-offline", "paper-out",   "job-paused",       "job-blocked",     "job-deleted",
    "printer-trouble", "option-not-supported", "zoom-not-carried", "printer-refused", "job-aborted",
    "not-finished", "job-stalled", "printer-busy", "not-reached-safely"};
static_assert(std::size(kReasonKeys) == static_cast<size_t>(FileOutcome::NotReachedSafely) + 1);
// A run's end: the printer still being followed when it ended is a wait that ran out.
constexpr const char* kFollowKeys[] = {"timed-out", "done", "trouble", "timed-out", "no-state"};
static_assert(std::size(kFollowKeys) == static_cast<size_t>(FollowVerdict::NoState) + 1);

const char* PortKindKey(PortKind kind) { return kPortKindKeys[static_cast<size_t>(kind)]; }

const char* PrinterCheckKey(int nSupportedTypes)
{
    if (nSupportedTypes > 0)
        return kCheckKeys[3];
    return kCheckKeys[nSupportedTypes == -2 ? 0 : nSupportedTypes == -1 ? 1 : 2];
}

const char* UsageErrorKey(UsageError error) { return kUsageErrorKeys[static_cast<size_t>(error)]; }

const char* StatusKey(PrinterStatus status) { return kStatusKeys[static_cast<size_t>(status)]; }

const char* ConditionKey(ConditionKind kind) { return kConditionKeys[static_cast<size_t>(kind)]; }

const char* DetailKey(ConditionDetail detail) { return kDetailKeys[static_cast<size_t>(detail)]; }

const char* ReasonKey(FileOutcome outcome) { return kReasonKeys[static_cast<size_t>(outcome)]; }

// The level in per cent, else "some-remaining" or "unknown".
ordered_json Level(int nLevel, int nMaxCapacity, bool bPercentUnit)
{
    if (const std::optional<int> percent = LevelPercent(nLevel, nMaxCapacity, bPercentUnit))
        return *percent;
    return kLevelKeys[nLevel == kLevelSomeRemaining ? 0 : 1];
}

ordered_json TypesOf(int nSupportedTypes)
{
    ordered_json types = ordered_json::array();
    for (size_t i = 0; i < std::size(kTypeKeys); ++i)
        if (nSupportedTypes > 0 && (nSupportedTypes & (1 << i)))
            types.push_back(kTypeKeys[i]);
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
                const char* pszTrust = c->trust == ipp::CertificateTrust::Windows    ? kTrustKeys[0]
                                       : c->trust == ipp::CertificateTrust::FirstUse ? kTrustKeys[1]
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
    return {{"kind", kRoadKeys[strIppUrl.empty() ? 0 : 1]}, {"url", OutsideOrNull(strIppUrl)}};
}

ordered_json RouteOf(const DeviceIdRoute& route, bool bObtained, const std::vector<IppRequestRoute>& arrIpp)
{
    constexpr const char* kIpp = kRouteKindKeys[4];
    if (!arrIpp.empty())
        return {{"kind", kIpp}, {"answered", arrIpp.back().bAnswered}, {"requests", IppRequestsOf(arrIpp)}};
    ordered_json json = {{"kind", kRouteKindKeys[static_cast<size_t>(route.kind)]}};
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
    // A port asked over IPP alone (its printer's URL, an adaptive monitor's IPP port) is
    // an IPP route whether it answered or not.
    if ((bIppAnswered && !bAnswered) || (route.kind == PortKind::Network && route.arrSnmp.empty() &&
                                         !route.arrIpp.empty()))
        json["kind"] = kIpp;
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
            {"severity", kSeverityKeys[condition.severity == ConditionSeverity::Stop ? 1 : 0]},
            {"detail", DetailKey(condition.detail)},
            {"words", OutsideOrNull(condition.strWords)}};
}

ordered_json StateOf(const PrinterState& state)
{
    ordered_json conditions = ordered_json::array(), supplies = ordered_json::array(), trays = ordered_json::array();
    ordered_json reports = ordered_json::array();
    for (const PrinterCondition& condition : state.conditions)
        conditions.push_back(ConditionOf(condition));
    for (const PrinterCondition& report : state.reports)
        reports.push_back(ConditionOf(report));
    for (const PrinterSupply& s : state.supplies)
        supplies.push_back({{"name", OutsideOrNull(s.strDescription)},
                            {"kind", kSupplyKindKeys[s.bReceptacle ? 1 : 0]},
                            {"level", Level(s.nLevel, s.nMaxCapacity, s.bPercentUnit)}});
    for (const PrinterTray& t : state.trays)
        trays.push_back({{"name", OutsideOrNull(t.strName)},
                         {"description", OutsideOrNull(t.strDescription)},
                         {"media", OutsideOrNull(t.strMedia)},
                         {"level", Level(t.nLevel, t.nMaxCapacity, false)}});
    return {{"status", StatusKey(state.status)},
            {"conditions", conditions},
            {"message", OutsideOrNull(state.strMessage)},
            {"reports", reports},
            {"pageCounter", state.nPageCounter ? ordered_json(*state.nPageCounter) : ordered_json()},
            {"supplies", supplies},
            {"trays", trays}};
}

const char* FileOutcomeKey(const FileReport& report)
{
    if (report.reason.outcome == FileOutcome::Sent || report.reason.outcome == FileOutcome::NotFinished)
        return kOutcomeKeys[0];
    if (WasSent(report.reason))
        return kOutcomeKeys[1];
    return kOutcomeKeys[report.bAdmitted ? 3 : 2];
}

const char* FollowKey(FollowVerdict verdict) { return kFollowKeys[static_cast<size_t>(verdict)]; }

// Every way a printer could not be reached safely: a verdict, and an error of a run.
std::vector<const char*> SafetyKeys()
{
    std::vector<const char*> arrKeys;
    for (int n = static_cast<int>(IppSafety::Safe) + 1; n <= static_cast<int>(IppSafety::PasswordUnencrypted); ++n)
        arrKeys.push_back(IppSafetyKey(static_cast<IppSafety>(n)));
    return arrKeys;
}

std::vector<std::string> Listed(std::initializer_list<std::span<const char* const>> tables)
{
    std::vector<std::string> arrValues;
    for (std::span<const char* const> table : tables)
        for (const char* pszValue : table)
            if (std::find(arrValues.begin(), arrValues.end(), pszValue) == arrValues.end())
                arrValues.emplace_back(pszValue);
    return arrValues;
}
}  // namespace

std::vector<JsonValueList> ScriptJsonValues()
{
    const std::span<const char* const> kOther[] = {
        std::span(&kLockedOption, 1), std::span(&kUnknownPrinter, 1), std::span(&kPrinterStopped, 1),
        std::span(&kCanPrintNotNow, 1)};
    const std::vector<const char*> arrSafety = SafetyKeys();
    return {
        {"error", Listed({kUsageErrorKeys, kOther[0], kOther[1], std::span(kCheckKeys).first(3), kOther[2],
                          kNoRoadKeys, arrSafety, TicketFaultKeys()})},
        {"port", Listed({kPortKindKeys})},
        {"route", Listed({kRouteKindKeys})},
        {"verdict", Listed({kCheckKeys, kOther[3], arrSafety})},
        {"certificate", Listed({kTrustKeys})},
        {"types", Listed({kTypeKeys})},
        {"state", Listed({kStatusKeys, kConditionKeys, kSeverityKeys, kDetailKeys, kSupplyKindKeys, kLevelKeys})},
        {"road", Listed({kRoadKeys})},
        {"files", Listed({kOutcomeKeys, std::span(kReasonKeys).subspan(1)})},
        {"printerReport", Listed({kFollowKeys})},
    };
}

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
    (*m_pDoc)["error"] = {{"key", UsageErrorKey(cmd.mode == RunMode::Sheet ? UsageError::None : cmd.error)},
                          {"option", OutsideOrNull(cmd.strErrorToken)},
                          {"value", OutsideOrNull(cmd.strErrorValue)}};
}

void ScriptJson::LockedOption(const wchar_t* pszOption)
{
    (*m_pDoc)["error"] = {{"key", kLockedOption}, {"option", OutsideOrNull(pszOption ? pszOption : L"")}};
}

void ScriptJson::UnknownPrinter(const std::wstring& strPrinter)
{
    (*m_pDoc)["error"] = {{"key", kUnknownPrinter}, {"printer", Outside(strPrinter)}};
}

void ScriptJson::PrinterCheckFault(int nSupportedTypes, const IppSafetyFacts& safety)
{
    (*m_pDoc)["error"] = {{"key", VerdictKey(nSupportedTypes, safety)}};
}

void ScriptJson::PrinterStopped(const PrinterState& state)
{
    (*m_pDoc)["error"] = {{"key", kPrinterStopped}, {"state", StateOf(state)}};
}

void ScriptJson::NoRoad(PrintRoad road, const std::wstring& strPrinter)
{
    (*m_pDoc)["error"] = {{"key", kNoRoadKeys[road == PrintRoad::Ipp ? 0 : 1]},
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
         {"verdict", facts.bStoppedNow ? kCanPrintNotNow
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
