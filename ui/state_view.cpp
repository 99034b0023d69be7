#include "ui/state_view.h"

#include "common/placeholders.h"
#include "printer/state/printer_state_text.h"

namespace {
constexpr UIText kNoAnswerName{L"IDL_STATE_NOANSWER", L"Not answering"};
constexpr UIText kSupplyLine{L"IDL_PROBE_SUPPLY", L"Supply: {1}: {2}"};
constexpr UIText kNoAnswerLine{L"IDL_STATUS_NOANSWER",
                               L"The printer does not answer: no answer within "
                               L"the time-out. F5 asks again."};
constexpr UIText kNoAnswerWhyLine{L"IDL_STATUS_NOANSWERWHY", L"The printer does not answer: {1}. F5 asks again."};
constexpr UIText kNotSnmpLine{L"IDL_STATUS_NOTSNMP",
                               L"The printer does not answer: something answered, but not as a printer. F5 asks again."};
constexpr UIText kUnsafeLine{L"IDL_STATUS_UNSAFE", L"{1}. F5 asks again."};
constexpr UIText kNoSupportLine{L"IDL_STATUS_NOSUPPORT", L"Lumeo cannot print on this printer. F5 checks again."};
constexpr UIText kFilesWait{L"IDL_STATUS_FILESWAIT",
                            L"{1} {1:file waits|files wait} for a printer that takes "
                            L"{1:it|them}."};
constexpr UIText kSupplyNumber{L"IDL_SUPPLY_NUMBER", L"Supply {1}"};
constexpr UIText kMore{L"IDL_PROBE_MORE", L"\x2026 and {1} more"};
}  // namespace

StateView ViewOfCheck(int nSupportedTypes, size_t nWaitingFiles, bool bNotSnmp, const std::wstring& strIppReason,
                      const std::wstring& strUnsafe, const std::wstring& strUnsafeDetail)
{
    StateView view;
    // One that answered but could not be reached safely: nothing of "does not answer".
    const bool bUnsafe = nSupportedTypes == -1 && !strUnsafe.empty();
    view.severity = bUnsafe ? StateSeverity::Stop : nSupportedTypes == -1 ? StateSeverity::NoAnswer : StateSeverity::Unknown;
    const bool bWhy = nSupportedTypes == -1 && !strIppReason.empty();
    view.strLine = FilledUIText(L"UI_PRINT_RUN",
                                nSupportedTypes != -1 ? kNoSupportLine
                                : bUnsafe             ? kUnsafeLine
                                : bWhy                ? kNoAnswerWhyLine
                                : bNotSnmp            ? kNotSnmpLine
                                                      : kNoAnswerLine,
                                {bUnsafe ? strUnsafe : strIppReason});
    if (bUnsafe && !strUnsafeDetail.empty() && strUnsafeDetail != strUnsafe)
        view.arrDetails.push_back(strUnsafeDetail);
    if (nWaitingFiles)
        view.strLine += L" " + FilledUIText(L"UI_PRINT_RUN", kFilesWait, {std::to_wstring(nWaitingFiles)});
    return view;
}

StateSeverity SeverityOf(const PrinterState& state)
{
    if (HasStopCondition(state))
        return StateSeverity::Stop;
    if (state.status == PrinterStatus::Warning || MainCondition(state))
        return StateSeverity::Warning;
    return state.status == PrinterStatus::Unknown ? StateSeverity::Unknown : StateSeverity::Ready;
}

StateView ViewOfState(const PrinterState& state)
{
    StateView view;
    view.severity = SeverityOf(state);
    view.strLine = PrinterStateLine(state);
    view.arrDetails = PrinterStateDetails(state);
    for (size_t i = 0; i < state.trays.size(); ++i)
        view.arrDetails.push_back(PrinterTrayLine(state.trays[i], i));
    view.nMore = state.nMoreConditions + state.nMoreSupplies + state.nMoreTrays;
    for (const PrinterSupply& s : state.supplies)
        view.supplies.push_back({s.strDescription.empty() ? FilledUIText(L"PRINTER_STATE", kSupplyNumber,
                                                                         {std::to_wstring(view.supplies.size() + 1)})
                                                          : s.strDescription,
                                 LevelPercent(s.nLevel, s.nMaxCapacity, s.bPercentUnit),
                                 PrinterLevelText(s.nLevel, s.nMaxCapacity, s.bPercentUnit, s.bReceptacle)});
    return view;
}

std::wstring SeverityName(StateSeverity severity)
{
    switch (severity) {
        case StateSeverity::Ready:
            return PrinterStatusText(PrinterStatus::Ready);
        case StateSeverity::Warning:
            return PrinterStatusText(PrinterStatus::Warning);
        case StateSeverity::Stop:
            return PrinterStatusText(PrinterStatus::Stopped);
        case StateSeverity::NoAnswer:
            return FilledUIText(L"PRINTER_STATE", kNoAnswerName, {});
        default:
            return PrinterStatusText(PrinterStatus::Unknown);
    }
}

std::wstring CardText(const std::wstring& strLine, const std::vector<SupplyLevel>& supplies, size_t nMore)
{
    std::wstring strText = strLine;
    for (const SupplyLevel& supply : supplies)
        strText += L"\r\n" + FilledUIText(L"PRINTER_STATE", kSupplyLine, {supply.strName, supply.strLevel});
    if (nMore)
        strText += L"\r\n" + PrinterMoreText(nMore);
    return strText;
}

std::wstring PrinterMoreText(size_t nMore)
{
    return FilledUIText(L"PRINTER_STATE", kMore, {std::to_wstring(nMore)});
}

size_t CardEntriesThatFit(const std::vector<int>& arrHeights, int cyMore, int cyRoom, size_t nMoreBeyond)
{
    int y = 0;
    size_t n = 0;
    for (; n < arrHeights.size(); ++n) {
        // Each entry keeps room below it for the line that tells what comes after it.
        const bool bLeftOut = n + 1 < arrHeights.size() || nMoreBeyond;
        if (n && y + arrHeights[n] + (bLeftOut ? cyMore : 0) > cyRoom)
            break;
        y += arrHeights[n];
    }
    return n;
}
