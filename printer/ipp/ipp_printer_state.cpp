#include "printer/ipp/ipp_printer_state.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "files/file_types.h"

namespace {

using ipp::Attribute;
using ipp::GroupTag;
using Kind = ConditionKind;
using Detail = ConditionDetail;
constexpr ConditionSeverity kStop = ConditionSeverity::Stop;
constexpr ConditionSeverity kWarn = ConditionSeverity::Warning;

// printer-state values.
enum { kIdle = 3, kProcessing = 4, kStopped = 5 };
// A device ID may be longer than a printer's words; past this it is no ID we could use.
constexpr size_t kMaxDeviceIdChars = 1023;

const Attribute* PrinterAttribute(const ipp::Message& answer, std::string_view name)
{
    return answer.Find(GroupTag::Printer, name);
}

std::vector<std::string> TextsOf(const ipp::Message& answer, std::string_view name)
{
    const Attribute* attribute = PrinterAttribute(answer, name);
    return attribute ? attribute->Texts() : std::vector<std::string>();
}

struct Meaning {
    Kind kind;
    Detail detail;
    ConditionSeverity severity;  // without a suffix
};

// printer-state-reasons keywords of RFC 8011 and PWG 5100.9 that say trouble.
struct Reason {
    std::string_view keyword;
    Meaning meaning;
};
constexpr Reason kReasons[] = {
    {"media-jam", {Kind::PaperJam, Detail::None, kStop}},
    {"cover-open", {Kind::CoverOpen, Detail::None, kStop}},
    {"door-open", {Kind::CoverOpen, Detail::None, kStop}},
    {"interlock-open", {Kind::CoverOpen, Detail::None, kStop}},
    {"media-empty", {Kind::OutOfPaper, Detail::None, kStop}},
    {"media-needed", {Kind::OutOfPaper, Detail::None, kStop}},
    {"input-tray-missing", {Kind::Other, Detail::InputTrayMissing, kWarn}},
    {"media-low", {Kind::PaperLow, Detail::None, kWarn}},
    {"toner-empty", {Kind::OutOfToner, Detail::None, kStop}},
    {"marker-supply-empty", {Kind::OutOfToner, Detail::None, kStop}},
    {"marker-ink-empty", {Kind::OutOfToner, Detail::None, kStop}},
    {"developer-empty", {Kind::OutOfToner, Detail::None, kStop}},
    {"marker-supply-missing", {Kind::Other, Detail::SupplyMissing, kWarn}},
    {"toner-low", {Kind::TonerLow, Detail::None, kWarn}},
    {"marker-supply-low", {Kind::TonerLow, Detail::None, kWarn}},
    {"marker-ink-almost-empty", {Kind::TonerLow, Detail::None, kWarn}},
    {"developer-low", {Kind::TonerLow, Detail::None, kWarn}},
    {"output-area-full", {Kind::OutputFull, Detail::None, kStop}},
    {"output-area-almost-full", {Kind::OutputFull, Detail::OutputNearFull, kWarn}},
    {"output-tray-missing", {Kind::Other, Detail::OutputTrayMissing, kWarn}},
    {"marker-waste-full", {Kind::ServiceRequested, Detail::None, kStop}},
    {"offline", {Kind::Offline, Detail::None, kStop}},
    {"shutdown", {Kind::Offline, Detail::None, kStop}},
    {"paused", {Kind::Offline, Detail::None, kStop}},
    {"stopped", {Kind::Offline, Detail::None, kStop}},
    {"timed-out", {Kind::Offline, Detail::None, kStop}},
    {"fuser-over-temp", {Kind::ServiceRequested, Detail::None, kStop}},
    {"fuser-under-temp", {Kind::ServiceRequested, Detail::None, kWarn}},
    {"opc-life-over", {Kind::ServiceRequested, Detail::None, kStop}},
    {"opc-near-eol", {Kind::ServiceRequested, Detail::None, kWarn}},
};
// News that is no trouble.
constexpr std::string_view kNews[] = {"none", "identify-printer-requested", "printer-restarted", "moving-to-paused"};

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A keyword of no table: a level running out warns; anything else needs attention, in the
// printer's keyword, which is all it gives.
Meaning MeaningOfOtherReason(std::string_view keyword)
{
    for (std::string_view end : {"-low", "-almost-empty", "-near-empty"})
        if (EndsWith(keyword, end))
            return {keyword.starts_with("media") ? Kind::PaperLow : Kind::TonerLow, Detail::None, kWarn};
    for (std::string_view end : {"-almost-full", "-near-full", "-near-limit", "-near-eol"})
        if (EndsWith(keyword, end))
            return {Kind::ServiceRequested, Detail::None, kWarn};
    if (EndsWith(keyword, "-jam"))
        return {Kind::PaperJam, Detail::None, kStop};
    if (EndsWith(keyword, "-open"))
        return {Kind::CoverOpen, Detail::None, kStop};
    if (EndsWith(keyword, "-empty"))
        return {keyword.starts_with("media") ? Kind::OutOfPaper : Kind::OutOfToner, Detail::None, kStop};
    return {Kind::Other, Detail::None, kWarn};
}

void AddReason(std::string_view keyword, PrinterState& state)
{
    std::optional<ConditionSeverity> suffix;
    // News keeps its words but is never trouble.
    const bool bNews = EndsWith(keyword, "-report");
    std::vector<PrinterCondition>& into = bNews ? state.reports : state.conditions;
    if (bNews)
        keyword.remove_suffix(7);
    else if (EndsWith(keyword, "-error"))
        suffix = kStop, keyword.remove_suffix(6);
    else if (EndsWith(keyword, "-warning"))
        suffix = kWarn, keyword.remove_suffix(8);
    if (std::find(std::begin(kNews), std::end(kNews), keyword) != std::end(kNews))
        return;
    const auto known = std::find_if(std::begin(kReasons), std::end(kReasons),
                                    [&](const Reason& r) { return r.keyword == keyword; });
    const Meaning meaning = known != std::end(kReasons) ? known->meaning : MeaningOfOtherReason(keyword);
    PrinterCondition condition{suffix.value_or(meaning.severity), meaning.kind, meaning.detail, {}};
    // A kind that says little keeps the printer's keyword, all it gives.
    if (meaning.detail == Detail::None && (meaning.kind == Kind::Other || meaning.kind == Kind::ServiceRequested))
        condition.strWords = CleanPrinterText(keyword);
    if (bNews)
        condition.severity = kWarn;
    const bool bSame = std::any_of(into.begin(), into.end(), [&](const PrinterCondition& c) {
        return c.kind == condition.kind && c.detail == condition.detail && c.strWords == condition.strWords;
    });
    if (bSame)
        return;
    // One below the bound: a stopped printer's own condition may still come first.
    if (!bNews && into.size() + 1 >= kMostListedOfAnAnswer)
        ++state.nMoreConditions;
    else if (into.size() < kMostListedOfAnAnswer)
        into.push_back(std::move(condition));
}

// "key=value;key=value;..." of printer-supply, printer-input-tray and printer-alert.
std::string_view Field(std::string_view entry, std::string_view key)
{
    while (!entry.empty()) {
        const size_t end = std::min(entry.find(';'), entry.size());
        const std::string_view pair = entry.substr(0, end);
        if (pair.size() > key.size() && pair.starts_with(key) && pair[key.size()] == '=')
            return pair.substr(key.size() + 1);
        entry.remove_prefix(std::min(end + 1, entry.size()));
    }
    return {};
}

int LevelField(std::string_view entry, std::string_view key)
{
    const std::string_view text = Field(entry, key);
    int nValue = kLevelUnknown;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (error != std::errc() || end != text.data() + text.size() || nValue < kLevelSomeRemaining)
        return kLevelUnknown;
    return nValue;
}

// The kind of a printer-alert's code (PWG 5100.9, the Printer MIB's alert names).
std::optional<Kind> KindOfAlertCode(std::string_view code)
{
    constexpr std::pair<std::string_view, Kind> kCodes[] = {
        {"jam", Kind::PaperJam},
        {"coverOpen", Kind::CoverOpen},
        {"doorOpen", Kind::CoverOpen},
        {"interlockOpen", Kind::CoverOpen},
        {"inputMediaSupplyEmpty", Kind::OutOfPaper},
        {"inputMediaSupplyLow", Kind::PaperLow},
        {"markerSupplyEmpty", Kind::OutOfToner},
        {"markerTonerEmpty", Kind::OutOfToner},
        {"markerInkEmpty", Kind::OutOfToner},
        {"markerSupplyLow", Kind::TonerLow},
        {"markerTonerAlmostEmpty", Kind::TonerLow},
        {"markerInkAlmostEmpty", Kind::TonerLow},
        {"outputMediaTrayFull", Kind::OutputFull},
        {"outputMediaTrayAlmostFull", Kind::OutputFull},
        {"subunitOffline", Kind::Offline},
        {"offline", Kind::Offline},
    };
    for (const auto& [name, kind] : kCodes)
        if (code == name)
            return kind;
    return std::nullopt;
}

// The printer's own words for its conditions: each alert's description goes to the first
// condition of its kind still without words. printer-state-message is the printer's
// general word ("Printing."), which belongs to no condition.
void AddWords(const ipp::Message& answer, std::vector<PrinterCondition>& conditions, std::wstring& strMessage)
{
    const std::vector<std::string> alerts = TextsOf(answer, "printer-alert");
    const std::vector<std::string> descriptions = TextsOf(answer, "printer-alert-description");
    for (size_t i = 0; i < alerts.size() && i < descriptions.size() && i < kMostListedOfAnAnswer; ++i) {
        const std::optional<Kind> kind = KindOfAlertCode(Field(alerts[i], "code"));
        auto it = std::find_if(conditions.begin(), conditions.end(), [&](const PrinterCondition& c) {
            return kind && c.kind == *kind && c.strWords.empty();
        });
        if (it != conditions.end())
            it->strWords = CleanPrinterText(descriptions[i]);
    }
    const Attribute* message = PrinterAttribute(answer, "printer-state-message");
    if (message && message->Text())
        strMessage = CleanPrinterText(*message->Text());
}

PrinterStatus StatusOf(std::optional<int32_t> nState, const std::vector<PrinterCondition>& conditions)
{
    const bool bStop = std::any_of(conditions.begin(), conditions.end(),
                                   [](const PrinterCondition& c) { return c.severity == kStop; });
    if (bStop || nState == kStopped)
        return PrinterStatus::Stopped;
    if (nState == kProcessing)
        return PrinterStatus::Printing;
    if (!conditions.empty())
        return PrinterStatus::Warning;
    return nState == kIdle ? PrinterStatus::Ready : PrinterStatus::Unknown;
}

// printer-supply (PWG 5100.13) with printer-supply-description, else CUPS' marker-names
// with marker-levels in per cent.
void AddSupplies(const ipp::Message& answer, PrinterState& state)
{
    std::vector<PrinterSupply>& supplies = state.supplies;
    const std::vector<std::string> entries = TextsOf(answer, "printer-supply");
    const std::vector<std::string> descriptions = TextsOf(answer, "printer-supply-description");
    state.nMoreSupplies = entries.size() - std::min(entries.size(), kMostListedOfAnAnswer);
    for (size_t i = 0; i < entries.size() && i < kMostListedOfAnAnswer; ++i) {
        const std::string_view entry = entries[i];
        std::wstring strName = CleanPrinterText(i < descriptions.size() ? descriptions[i] : std::string());
        if (strName.empty())
            strName = CleanPrinterText(std::string(Field(entry, "colorantname")) + " " +
                                       std::string(Field(entry, "type")));
        const bool bReceptacle = Field(entry, "class") == "receptacleThatIsFilled" ||
                                 Field(entry, "type").starts_with("waste");
        supplies.push_back({strName, bReceptacle, Field(entry, "unit") == "percent", LevelField(entry, "maxcapacity"),
                            LevelField(entry, "level")});
    }
    if (!supplies.empty())
        return;
    const std::vector<std::string> names = TextsOf(answer, "marker-names");
    const std::vector<std::string> types = TextsOf(answer, "marker-types");
    const Attribute* levels = PrinterAttribute(answer, "marker-levels");
    state.nMoreSupplies = names.size() - std::min(names.size(), kMostListedOfAnAnswer);
    for (size_t i = 0; i < names.size() && i < kMostListedOfAnAnswer; ++i) {
        int nLevel = kLevelUnknown;
        if (levels && i < levels->values.size() && levels->values[i].tag == ipp::ValueTag::Integer)
            nLevel = std::clamp(levels->values[i].integer, kLevelSomeRemaining, 100);
        if (nLevel == kLevelOther)
            nLevel = kLevelUnknown;
        const bool bReceptacle = i < types.size() && types[i].starts_with("waste");
        supplies.push_back({CleanPrinterText(names[i]), bReceptacle, true, 100, nLevel});
    }
}

std::string SourceOf(const ipp::Value& value)
{
    const Attribute* source = value.Member("media-source");
    return source && source->Text() ? *source->Text() : std::string();
}

// The media of each source of media-col-ready: the first of its entries that names one. Read
// once, so a printer listing thousands of trays costs one pass, not one pass per tray.
std::unordered_map<std::string, std::string> MediaBySource(const Attribute* ready)
{
    std::unordered_map<std::string, std::string> media;
    if (!ready)
        return media;
    for (const ipp::Value& value : ready->values) {
        const Attribute* from = value.Member("media-source");
        if (!from || !from->Text() || media.count(*from->Text()))
            continue;
        std::string source = *from->Text();
        for (const char* name : {"media-size-name", "media-key", "media-type"})
            if (const Attribute* named = value.Member(name); named && named->Text()) {
                media.emplace(std::move(source), *named->Text());
                break;
            }
    }
    return media;
}

// A self-describing media name as people say it: "na_letter_8.5x11in" Letter,
// "iso_a4_210x297mm" A4, "jis_b5_182x257mm" JIS B5; any other name as it is.
std::string ReadableMediaName(const std::string& strName)
{
    const size_t nFirst = strName.find('_'), nLast = strName.rfind('_');
    const std::string_view size = std::string_view(strName).substr(nLast == std::string::npos ? 0 : nLast + 1);
    if (nFirst == std::string::npos || nFirst == nLast || size.find('x') == std::string_view::npos ||
        !(size.ends_with("mm") || size.ends_with("in")))
        return strName;
    std::string strReadable = strName.substr(nFirst + 1, nLast - nFirst - 1);
    const bool bCode = strReadable.size() <= 3;  // a4, b5, dl, c6: a code, written in capitals
    for (size_t i = 0; i < strReadable.size(); ++i)
        if (bCode || i == 0)
            strReadable[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(strReadable[i])));
    return strName.starts_with("jis_") ? "JIS " + strReadable : strReadable;
}

// printer-input-tray, with each tray's media from media-col-ready; else the sources of
// media-col-ready alone, their levels unknown.
void AddTrays(const ipp::Message& answer, PrinterState& state)
{
    std::vector<PrinterTray>& trays = state.trays;
    const Attribute* ready = PrinterAttribute(answer, "media-col-ready");
    const std::unordered_map<std::string, std::string> media = MediaBySource(ready);
    const auto MediaOf = [&](const std::string& source) {
        const auto found = media.find(source);
        return CleanPrinterText(ReadableMediaName(found == media.end() ? std::string() : found->second));
    };
    const std::vector<std::string> entries = TextsOf(answer, "printer-input-tray");
    state.nMoreTrays = entries.size() - std::min(entries.size(), kMostListedOfAnAnswer);
    for (size_t i = 0; i < entries.size() && i < kMostListedOfAnAnswer; ++i) {
        const std::string name(Field(entries[i], "name"));
        trays.push_back({CleanPrinterText(name), {}, MediaOf(name), LevelField(entries[i], "maxcapacity"),
                         LevelField(entries[i], "level")});
    }
    if (!trays.empty() || !ready)
        return;
    state.nMoreTrays = ready->values.size() - std::min(ready->values.size(), kMostListedOfAnAnswer);
    for (size_t i = 0; i < ready->values.size() && i < kMostListedOfAnAnswer; ++i) {
        const std::string source = SourceOf(ready->values[i]);
        trays.push_back({CleanPrinterText(source), {}, MediaOf(source)});
    }
}

}  // namespace

const std::vector<std::string>& IppDeviceIdAttributes()
{
    static const std::vector<std::string> kNames = {"printer-device-id", "document-format-supported"};
    return kNames;
}

const std::vector<std::string>& IppStateAttributes(bool bDetails)
{
    static const std::vector<std::string> kState = {"printer-state", "printer-state-reasons", "printer-state-message",
                                                    "printer-alert", "printer-alert-description"};
    static const std::vector<std::string> kDetails = [] {
        std::vector<std::string> names = kState;
        names.insert(names.end(), {"printer-supply", "printer-supply-description", "marker-names", "marker-types",
                                   "marker-levels", "printer-input-tray", "media-col-ready"});
        return names;
    }();
    return bDetails ? kDetails : kState;
}

std::wstring DeviceIdOfIppAnswer(const ipp::Message& answer)
{
    const Attribute* id = PrinterAttribute(answer, "printer-device-id");
    if (id && id->Text() && !id->Text()->empty())
        return CleanPrinterText(*id->Text(), kMaxDeviceIdChars);
    const std::vector<std::string> formats = TextsOf(answer, "document-format-supported");
    std::string strId = "CMD:";
    for (int bit = kTypePDF; bit <= kTypeBMP; bit <<= 1)
        if (std::find(formats.begin(), formats.end(), DocumentFormatOfType(bit)) != formats.end()) {
            const std::wstring language = PrinterLanguageOfType(bit);
            strId.append(strId.size() > 4 ? "," : "").append(language.begin(), language.end());
        }
    return strId.size() > 4 ? CleanPrinterText(strId + ';') : std::wstring();
}

PrinterState StateOfIppAnswer(const ipp::Message& answer)
{
    PrinterState state;
    for (const std::string& keyword : TextsOf(answer, "printer-state-reasons"))
        AddReason(keyword, state);
    std::stable_sort(state.conditions.begin(), state.conditions.end(),
                     [](const PrinterCondition& a, const PrinterCondition& b) {
                         return a.severity == kStop && b.severity != kStop;
                     });
    const Attribute* printerState = PrinterAttribute(answer, "printer-state");
    state.status = StatusOf(printerState ? printerState->Integer() : std::nullopt, state.conditions);
    if (state.status == PrinterStatus::Stopped && (state.conditions.empty() || state.conditions[0].severity != kStop))
        state.conditions.insert(state.conditions.begin(), {kStop, Kind::Other, Detail::DeviceDown, {}});
    AddWords(answer, state.conditions, state.strMessage);
    AddSupplies(answer, state);
    AddTrays(answer, state);
    return state;
}
