#include "printer/state/ticket_names.h"

#include <string_view>

#include "common/placeholders.h"
#include "common/ui_text.h"

namespace {
constexpr wchar_t kSection[] = L"TICKET";

struct KeywordText {
    std::string_view keyword;
    UIText text;
};
// Keywords of media-source and output-bin both name.
constexpr KeywordText kPlaces[] = {
    {"top", {L"IDL_AT_TOP", L"Top"}},          {"middle", {L"IDL_AT_MIDDLE", L"Middle"}},
    {"bottom", {L"IDL_AT_BOTTOM", L"Bottom"}}, {"side", {L"IDL_AT_SIDE", L"Side"}},
    {"left", {L"IDL_AT_LEFT", L"Left"}},       {"right", {L"IDL_AT_RIGHT", L"Right"}},
    {"center", {L"IDL_AT_CENTER", L"Center"}}, {"rear", {L"IDL_AT_REAR", L"Rear"}},
};
constexpr KeywordText kSources[] = {
    {"main", {L"IDL_SOURCE_MAIN", L"Main tray"}},
    {"alternate", {L"IDL_SOURCE_ALTERNATE", L"Alternate tray"}},
    {"large-capacity", {L"IDL_SOURCE_LARGE", L"Large-capacity tray"}},
    {"manual", {L"IDL_SOURCE_MANUAL", L"Manual feed"}},
    {"envelope", {L"IDL_SOURCE_ENVELOPE", L"Envelope feeder"}},
    {"by-pass-tray", {L"IDL_SOURCE_BYPASS", L"Bypass tray"}},
};
constexpr KeywordText kBins[] = {
    {"face-up", {L"IDL_BIN_FACE_UP", L"Face up"}},
    {"face-down", {L"IDL_BIN_FACE_DOWN", L"Face down"}},
    {"large-capacity", {L"IDL_BIN_LARGE", L"Large-capacity bin"}},
    {"my-mailbox", {L"IDL_BIN_MY_MAILBOX", L"My mailbox"}},
};
// "tray-2": a word and a number from 1 to 99.
constexpr KeywordText kNumbered[] = {
    {"tray-", {L"IDL_NUMBERED_TRAY", L"Tray {1}"}},
    {"roll-", {L"IDL_NUMBERED_ROLL", L"Roll {1}"}},
    {"stacker-", {L"IDL_NUMBERED_STACKER", L"Stacker {1}"}},
    {"mailbox-", {L"IDL_NUMBERED_MAILBOX", L"Mailbox {1}"}},
};
constexpr UIText kKinds[] = {{L"IDL_FINISH_STAPLE", L"Staple"}, {L"IDL_FINISH_PUNCH", L"Punch"},
                             {L"IDL_FINISH_FOLD", L"Fold"}};
constexpr UIText kCorners[] = {{L"IDL_CORNER_TOP_LEFT", L"top left"}, {L"IDL_CORNER_BOTTOM_LEFT", L"bottom left"},
                               {L"IDL_CORNER_TOP_RIGHT", L"top right"},
                               {L"IDL_CORNER_BOTTOM_RIGHT", L"bottom right"}};
constexpr UIText kEdges[] = {{L"IDL_EDGE_LEFT", L"left"}, {L"IDL_EDGE_TOP", L"top"}, {L"IDL_EDGE_RIGHT", L"right"},
                             {L"IDL_EDGE_BOTTOM", L"bottom"}};
constexpr UIText kFolds[] = {
    {L"IDL_FOLD_ACCORDION", L"accordion"}, {L"IDL_FOLD_DOUBLE_GATE", L"double gate"},
    {L"IDL_FOLD_GATE", L"gate"},           {L"IDL_FOLD_HALF", L"half"},
    {L"IDL_FOLD_HALF_Z", L"half Z"},       {L"IDL_FOLD_LEFT_GATE", L"left gate"},
    {L"IDL_FOLD_LETTER", L"letter"},       {L"IDL_FOLD_PARALLEL", L"parallel"},
    {L"IDL_FOLD_POSTER", L"poster"},       {L"IDL_FOLD_RIGHT_GATE", L"right gate"},
    {L"IDL_FOLD_Z", L"Z"},                 {L"IDL_FOLD_ENGINEERING_Z", L"engineering Z"},
};
constexpr UIText kPlaced{L"IDL_FINISH_PLACED", L"{1} ({2})"};
constexpr UIText kCounted{L"IDL_FINISH_COUNTED", L"{1} ({2}\x00D7, {3})"};
constexpr UIText kSeveral{L"IDL_FINISH_SEVERAL", L"{1} (several, {2})"};
constexpr UIText kShown{L"IDL_VALUE_SHOWN", L"{1} ({2})"};

std::wstring Text(const UIText& text, std::initializer_list<std::wstring> values = {})
{
    return FilledUIText(kSection, text, values);
}

std::wstring Wide(std::string_view text) { return std::wstring(text.begin(), text.end()); }

template <size_t N>
const UIText* Find(const KeywordText (&table)[N], std::string_view keyword)
{
    for (const KeywordText& row : table)
        if (row.keyword == keyword)
            return &row.text;
    return nullptr;
}

// A standard keyword in the user's words; any other as the printer sent it.
std::wstring KeywordName(std::string_view keyword, bool bSource)
{
    if (const UIText* pText = bSource ? Find(kSources, keyword) : Find(kBins, keyword))
        return Text(*pText);
    if (const UIText* pText = Find(kPlaces, keyword))
        return Text(*pText);
    for (const KeywordText& row : kNumbered) {
        if (!keyword.starts_with(row.keyword))
            continue;
        const std::string_view number = keyword.substr(row.keyword.size());
        if (!number.empty() && number.size() <= 2 && number[0] != '0' &&
            number.find_first_not_of("0123456789") == std::string_view::npos)
            return Text(row.text, {Wide(number)});
    }
    return Wide(keyword);
}

std::wstring Listed(std::vector<std::wstring> arrItems)
{
    if (arrItems.empty())
        return GetUIText(L"COMMAND_LINE", L"IDL_PROBE_NONE", L"(none)");
    std::wstring strList;
    for (const std::wstring& strItem : arrItems)
        strList += (strList.empty() ? L"" : L", ") + strItem;
    return strList;
}
}  // namespace

std::wstring TrayName(const OfferedTray& tray)
{
    return tray.strName.empty() ? KeywordName(tray.strValue, true) : tray.strName;
}

std::wstring BinName(const OfferedBin& bin) { return bin.strName.empty() ? KeywordName(bin.strValue, false) : bin.strName; }

std::wstring FinishingName(int32_t nValue)
{
    const std::optional<FinishingKind> kind = KindOfFinishing(nValue);
    if (!kind)
        return std::to_wstring(nValue);
    const std::wstring strKind = Text(kKinds[static_cast<int>(*kind)]);
    if (nValue >= 90)
        return Text(kPlaced, {strKind, Text(kFolds[nValue - 90])});
    const int32_t nBase = nValue >= 70 ? 70 : 20;
    const int32_t nAt = nValue - nBase;
    if (nAt < 0)
        return strKind;
    if (nAt < 4)
        return Text(kPlaced, {strKind, Text(kCorners[nAt])});
    // 28-35 are staple's dual and triple rows, 74-89 punch's dual, triple, quad and many.
    const int32_t nRow = (nValue >= 70 ? nAt : nAt - 4) / 4;
    const std::wstring strEdge = Text(kEdges[nAt % 4]);
    if (nValue >= 86)
        return Text(kSeveral, {strKind, strEdge});
    return Text(kCounted, {strKind, std::to_wstring(nRow + 1), strEdge});
}

std::wstring TicketAutomaticText() { return Text({L"IDL_AUTOMATIC", L"Automatic"}); }
std::wstring TicketBySizeText() { return Text({L"IDL_BY_PAPER_SIZE", L"By paper size"}); }
std::wstring TicketNoneText() { return Text({L"IDL_NONE", L"None"}); }

std::wstring OfferedTraysText(const TicketOffer& offer)
{
    std::vector<std::wstring> arrItems;
    for (const OfferedTray& tray : offer.trays)
        arrItems.push_back(Text(kShown, {TrayName(tray), Wide(tray.strValue)}));
    return Listed(std::move(arrItems));
}

std::wstring OfferedBinsText(const TicketOffer& offer)
{
    std::vector<std::wstring> arrItems;
    for (const OfferedBin& bin : offer.bins)
        arrItems.push_back(Text(kShown, {BinName(bin), Wide(bin.strValue)}));
    return Listed(std::move(arrItems));
}

std::wstring OfferedFinishingsText(const TicketOffer& offer)
{
    std::vector<std::wstring> arrItems;
    for (const int32_t nValue : offer.finishings)
        arrItems.push_back(Text(kShown, {FinishingName(nValue), Wide(FinishingKeyword(nValue))}));
    return Listed(std::move(arrItems));
}

std::vector<std::wstring> TicketOfferLines(const TicketOffer& offer)
{
    if (offer.road == TicketRoad::None)
        return {};
    return {Text({L"IDL_PROBE_TRAYS", L"Trays to choose (/tray): {1}"}, {OfferedTraysText(offer)}),
            Text({L"IDL_PROBE_BINS", L"Output bins (/bin): {1}"}, {OfferedBinsText(offer)}),
            Text({L"IDL_PROBE_FINISHINGS", L"Finishing (/finish): {1}"}, {OfferedFinishingsText(offer)}),
            offer.nPinMaxDigits > 0
                ? Text({L"IDL_PROBE_PIN", L"PIN printing (/pin): up to {1} digits"}, {std::to_wstring(offer.nPinMaxDigits)})
                : Text({L"IDL_PROBE_NO_PIN", L"PIN printing (/pin): not offered"})};
}
