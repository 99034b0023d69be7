#include "printer/snmp/printer_mib_ticket.h"

#include <algorithm>
#include <map>

namespace {
enum { kTenThousandthsOfInch = 3, kMicrometres = 4 };

// A dimension in hundredths of a millimetre; 0 when the unit or the value says nothing.
int32_t Hundredths(int nUnit, int nValue)
{
    if (nValue <= 0 || nValue > 10000000)
        return 0;
    if (nUnit == kMicrometres)
        return nValue / 10;
    if (nUnit == kTenThousandthsOfInch)
        return static_cast<int32_t>(static_cast<int64_t>(nValue) * 254 / 1000);
    return 0;
}

// The items whose names make a keyword no other one makes, with that keyword.
template <class Item>
std::vector<std::pair<const Item*, std::string>> Unmistakable(const std::vector<Item>& items)
{
    std::map<std::string, int> counts;
    for (const Item& item : items)
        if (const std::string keyword = PjlKeywordOfName(item.strName); !keyword.empty())
            ++counts[keyword];
    std::vector<std::pair<const Item*, std::string>> named;
    for (const Item& item : items)
        if (std::string keyword = PjlKeywordOfName(item.strName);
            !keyword.empty() && counts[keyword] == 1 && named.size() < kMaxOfferedValues)
            named.emplace_back(&item, std::move(keyword));
    return named;
}
}  // namespace

TicketOffer TicketOfferOfPrinterMib(const PrinterMibValues& values)
{
    TicketOffer offer;
    offer.road = TicketRoad::Spooler;
    for (auto& [pInput, keyword] : Unmistakable(values.inputs)) {
        OfferedTray& tray = offer.trays.emplace_back(OfferedTray{keyword, CleanPrinterText(pInput->strName)});
        // The feed direction runs along the sheet's length on most trays, across it on some:
        // the paper is the same either way round.
        const int32_t nFeed = Hundredths(pInput->nDimUnit, pInput->nFeedDim);
        const int32_t nAcross = Hundredths(pInput->nDimUnit, pInput->nXFeedDim);
        if (nFeed > 0 && nAcross > 0) {
            tray.nWidth = std::min(nFeed, nAcross);
            tray.nHeight = std::max(nFeed, nAcross);
        }
    }
    for (auto& [pOutput, keyword] : Unmistakable(values.outputs))
        offer.bins.push_back({keyword, CleanPrinterText(pOutput->strName)});
    return offer;
}
