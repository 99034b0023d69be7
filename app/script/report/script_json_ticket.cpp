#include "app/script/report/script_json_ticket.h"

#include "app/script/report/script_json.h"

using nlohmann::ordered_json;

namespace {
ordered_json NameOrNull(const std::wstring& strName) { return strName.empty() ? ordered_json() : ordered_json(JsonTextOf(strName)); }

ordered_json FinishingsOf(const TicketOffer& offer)
{
    ordered_json finishings = ordered_json::array();
    for (const int32_t nValue : offer.finishings)
        finishings.push_back(FinishingKeyword(nValue));
    return finishings;
}

// By TicketFault's order, None left out.
constexpr const char* kFaultKeys[] = {"not-offered", "no-tray-for-size", "no-pin-printing", "pin-required", "bad-pin"};
static_assert(std::size(kFaultKeys) == static_cast<size_t>(TicketFault::BadPin));

const char* FaultKey(TicketFault fault)
{
    return fault == TicketFault::None ? kFaultKeys[0] : kFaultKeys[static_cast<size_t>(fault) - 1];
}
}  // namespace

std::span<const char* const> TicketFaultKeys() { return kFaultKeys; }

ordered_json TicketOfferJson(const TicketOffer& offer)
{
    if (offer.road == TicketRoad::None)
        return ordered_json();
    ordered_json trays = ordered_json::array(), bins = ordered_json::array();
    for (const OfferedTray& tray : offer.trays)
        trays.push_back({{"value", tray.strValue},
                         {"name", NameOrNull(tray.strName)},
                         {"paper", tray.nWidth > 0 ? ordered_json{{"width", tray.nWidth}, {"height", tray.nHeight}}
                                                   : ordered_json()}});
    for (const OfferedBin& bin : offer.bins)
        bins.push_back({{"value", bin.strValue}, {"name", NameOrNull(bin.strName)}});
    return {{"road", offer.road == TicketRoad::Ipp ? "ipp" : "spooler"},
            {"trays", trays},
            {"bins", bins},
            {"finishings", FinishingsOf(offer)},
            {"pinPrinting", offer.nPinMaxDigits > 0
                                ? ordered_json{{"maxDigits", offer.nPinMaxDigits}, {"hashed", offer.bPinHashed}}
                                : ordered_json()}};
}

void ScriptJson::TicketRefused(const TicketRefusal& refusal, const std::wstring& strPrinter, const TicketOffer& offer)
{
    ordered_json offered = ordered_json::array();
    if (refusal.strOption == L"/tray")
        for (const OfferedTray& tray : offer.trays)
            offered.push_back(tray.strValue);
    else if (refusal.strOption == L"/bin")
        for (const OfferedBin& bin : offer.bins)
            offered.push_back(bin.strValue);
    else if (refusal.strOption == L"/finish")
        offered = FinishingsOf(offer);
    (*m_pDoc)["error"] = ordered_json{{"key", FaultKey(refusal.fault)},
                          {"option", JsonTextOf(refusal.strOption)},
                          {"value", refusal.strValue.empty() ? ordered_json() : ordered_json(JsonTextOf(refusal.strValue))},
                          {"printer", JsonTextOf(strPrinter)},
                          {"offered", offered}};
}
