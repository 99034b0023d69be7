#include "printer/state/printer_state_text.h"

#include <cwctype>

#include "common/placeholders.h"

namespace {
using Text = UIText;

constexpr Text kStatusTexts[] = {
    {L"IDL_STATE_UNKNOWN", L"Unknown"},        {L"IDL_STATE_READY", L"Ready"},
    {L"IDL_STATE_PRINTING", L"Printing"},      {L"IDL_STATE_WARMINGUP", L"Warming up"},
    {L"IDL_STATE_WARNING", L"Warning"},        {L"IDL_STATE_STOPPED", L"Stopped"},
};
constexpr Text kKindTexts[] = {
    {L"IDL_COND_PAPERJAM", L"Paper jam"},
    {L"IDL_COND_COVEROPEN", L"Cover open"},
    {L"IDL_COND_OUTOFPAPER", L"Out of paper"},
    {L"IDL_COND_PAPERLOW", L"Paper low"},
    {L"IDL_COND_OUTOFTONER", L"Out of toner"},
    {L"IDL_COND_TONERLOW", L"Toner low"},
    {L"IDL_COND_OUTPUTFULL", L"Output tray full"},
    {L"IDL_COND_OFFLINE", L"Offline"},
    {L"IDL_COND_SERVICE", L"Service requested"},
    {L"IDL_COND_OTHER", L"Attention needed"},
};
constexpr Text kDetailTexts[] = {
    {nullptr, nullptr},
    {L"IDL_COND_DEVICEDOWN", L"The printer is down"},
    {L"IDL_COND_INPUTTRAYMISSING", L"Input tray missing"},
    {L"IDL_COND_OUTPUTTRAYMISSING", L"Output tray missing"},
    {L"IDL_COND_SUPPLYMISSING", L"Supply missing"},
    {L"IDL_COND_OUTPUTNEARFULL", L"Output tray almost full"},
    {L"IDL_COND_INPUTTRAYEMPTY", L"A paper tray is empty"},
    {L"IDL_COND_MAINTENANCE", L"Maintenance overdue"},
};
constexpr Text kWithWords{L"IDL_COND_WORDS", L"{1}: {2}"};
constexpr Text kPercent{L"IDL_LEVEL_PERCENT", L"{1} %"};
constexpr Text kPercentFull{L"IDL_LEVEL_FULL", L"{1} % full"};
constexpr Text kSomeRemaining{L"IDL_LEVEL_SOME", L"some remaining"};
constexpr Text kUnknownLevel{L"IDL_LEVEL_UNKNOWN", L"unknown"};
constexpr Text kProbeState{L"IDL_PROBE_STATE", L"State: {1}"};
constexpr Text kProbeStop{L"IDL_PROBE_STOP", L"Cannot print: {1}"};
constexpr Text kProbeWarning{L"IDL_PROBE_WARNING", L"Warning: {1}"};
constexpr Text kProbeMessage{L"IDL_PROBE_MESSAGE", L"The printer says: {1}"};
constexpr Text kProbeReport{L"IDL_PROBE_REPORT", L"Information: {1}"};
constexpr Text kReportWithMessage{L"IDL_REPORT_MESSAGE", L"{1}. The printer says: {2}"};
constexpr Text kProbeCounter{L"IDL_PROBE_COUNTER", L"Page counter: {1}"};
constexpr Text kProbeSupply{L"IDL_PROBE_SUPPLY", L"Supply: {1}: {2}"};
constexpr Text kProbeTray{L"IDL_PROBE_TRAY", L"Tray: {1} ({2}): {3}"};
constexpr Text kSupplyNumber{L"IDL_SUPPLY_NUMBER", L"Supply {1}"};
constexpr Text kTrayNumber{L"IDL_TRAY_NUMBER", L"Tray {1}"};
constexpr Text kMediaUnknown{L"IDL_MEDIA_UNKNOWN", L"media unknown"};
constexpr Text kProbeMore{L"IDL_PROBE_MORE", L"\x2026 and {1} more"};
constexpr Text kNotRead{L"IDL_PROBE_NO_STATE", L"State unknown: it is read from network printers only."};

std::wstring Say(const Text& text, std::initializer_list<std::wstring> values = {})
{
    return FilledUIText(L"PRINTER_STATE", text, values);
}

bool ContainsCaseless(const std::wstring& strText, const std::wstring& strPart)
{
    const auto Lower = [](std::wstring s) {
        for (wchar_t& ch : s)
            ch = static_cast<wchar_t>(std::towlower(ch));
        return s;
    };
    return !strPart.empty() && Lower(strText).find(Lower(strPart)) != std::wstring::npos;
}

std::wstring FirstOf(const std::wstring& a, const std::wstring& b, const Text& numbered, size_t nIndex)
{
    if (!a.empty())
        return a;
    return b.empty() ? Say(numbered, {std::to_wstring(nIndex + 1)}) : b;
}
}  // namespace

std::wstring PrinterStatusText(PrinterStatus status) { return Say(kStatusTexts[static_cast<int>(status)]); }

std::wstring PrinterConditionText(const PrinterCondition& condition)
{
    const std::wstring strLabel = condition.detail == ConditionDetail::None
                                      ? Say(kKindTexts[static_cast<int>(condition.kind)])
                                      : Say(kDetailTexts[static_cast<int>(condition.detail)]);
    // "Paper jam in tray 1" needs no "Paper jam: " before it.
    if (condition.strWords.empty() || ContainsCaseless(condition.strWords, strLabel))
        return condition.strWords.empty() ? strLabel : condition.strWords;
    return Say(kWithWords, {strLabel, condition.strWords});
}

namespace {
// The printer's message is its main condition's words when it speaks of that condition
// ("Paper jam in tray 1") and the condition has none of its own; else it stands apart.
bool MessageSpeaksOfMain(const PrinterState& state)
{
    const PrinterCondition* pMain = MainCondition(state);
    return pMain && pMain->strWords.empty() && ContainsCaseless(state.strMessage, PrinterConditionText(*pMain));
}

std::wstring ConditionTextIn(const PrinterState& state, const PrinterCondition& condition)
{
    return &condition == MainCondition(state) && MessageSpeaksOfMain(state) ? state.strMessage
                                                                            : PrinterConditionText(condition);
}
}  // namespace

std::wstring PrinterStateLine(const PrinterState& state)
{
    const PrinterCondition* pMain = MainCondition(state);
    return pMain ? ConditionTextIn(state, *pMain) : PrinterStatusText(state.status);
}

std::wstring PrinterReportText(const PrinterState& state)
{
    const std::wstring strLine = PrinterStateLine(state);
    if (state.strMessage.empty() || ContainsCaseless(strLine, state.strMessage))
        return strLine;
    return Say(kReportWithMessage, {strLine, state.strMessage});
}

namespace {
std::wstring ConditionLine(const PrinterState& state, const PrinterCondition& condition)
{
    return Say(condition.severity == ConditionSeverity::Stop ? kProbeStop : kProbeWarning,
               {ConditionTextIn(state, condition)});
}

// The message and the news, after the conditions.
void AddMessageAndNews(const PrinterState& state, std::vector<std::wstring>& arrLines)
{
    if (!state.strMessage.empty() && !MessageSpeaksOfMain(state))
        arrLines.push_back(Say(kProbeMessage, {state.strMessage}));
    for (const PrinterCondition& report : state.reports)
        arrLines.push_back(Say(kProbeReport, {PrinterConditionText(report)}));
}
}  // namespace

std::vector<std::wstring> PrinterStateDetails(const PrinterState& state)
{
    std::vector<std::wstring> arrLines;
    const PrinterCondition* pMain = MainCondition(state);
    for (const PrinterCondition& condition : state.conditions)
        if (&condition != pMain)
            arrLines.push_back(ConditionLine(state, condition));
    AddMessageAndNews(state, arrLines);
    return arrLines;
}

std::wstring PrinterLevelText(int nLevel, int nMaxCapacity, bool bPercentUnit, bool bReceptacle)
{
    if (const std::optional<int> percent = LevelPercent(nLevel, nMaxCapacity, bPercentUnit))
        return Say(bReceptacle ? kPercentFull : kPercent, {std::to_wstring(*percent)});
    return Say(nLevel == kLevelSomeRemaining ? kSomeRemaining : kUnknownLevel);
}

std::wstring PrinterTrayLine(const PrinterTray& tray, size_t nIndex)
{
    return Say(kProbeTray, {FirstOf(tray.strName, tray.strDescription, kTrayNumber, nIndex),
                            tray.strMedia.empty() ? Say(kMediaUnknown) : tray.strMedia,
                            PrinterLevelText(tray.nLevel, tray.nMaxCapacity, false, false)});
}

std::vector<std::wstring> ProbeStateLines(PortKind kind, const PrinterState& state)
{
    if (kind != PortKind::Network)
        return {Say(kNotRead)};
    std::vector<std::wstring> arrLines = {Say(kProbeState, {PrinterStatusText(state.status)})};
    const auto AddMore = [&](size_t nMore) {
        if (nMore)
            arrLines.push_back(Say(kProbeMore, {std::to_wstring(nMore)}));
    };
    for (const PrinterCondition& condition : state.conditions)
        arrLines.push_back(ConditionLine(state, condition));
    AddMore(state.nMoreConditions);
    AddMessageAndNews(state, arrLines);
    if (state.nPageCounter)
        arrLines.push_back(Say(kProbeCounter, {std::to_wstring(*state.nPageCounter)}));
    for (size_t i = 0; i < state.supplies.size(); ++i) {
        const PrinterSupply& s = state.supplies[i];
        arrLines.push_back(Say(kProbeSupply, {FirstOf(s.strDescription, {}, kSupplyNumber, i),
                                              PrinterLevelText(s.nLevel, s.nMaxCapacity, s.bPercentUnit,
                                                               s.bReceptacle)}));
    }
    AddMore(state.nMoreSupplies);
    for (size_t i = 0; i < state.trays.size(); ++i)
        arrLines.push_back(PrinterTrayLine(state.trays[i], i));
    AddMore(state.nMoreTrays);
    return arrLines;
}
