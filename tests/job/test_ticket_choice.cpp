#include <gtest/gtest.h>

#include "job/settings/paper_tables.h"
#include "job/settings/ticket_choice.h"

namespace {
TicketOffer IppOffer()
{
    TicketOffer offer;
    offer.road = TicketRoad::Ipp;
    offer.trays = {{"tray-1", L"", 21590, 27940}, {"tray-2", L"", 29699, 20999}, {"by-pass-tray", L"", 0, 0}};
    offer.bins = {{"face-up", L""}};
    offer.finishings = {4, 74};
    offer.nPinMaxDigits = 8;
    return offer;
}
}  // namespace

// The words of a script over the policies' defaults, each checked against the offer.
TEST(TicketChoice, ScriptsWordsOverThePoliciesDefaultsAndEachValueTheOfferHasNot)
{
    const PaperSizeTable sizes = BuildPaperSizeTable(true);
    struct {
        const char* pszCase;
        JobOptions options;
        JobPolicy policy;
        int nPaper;
        std::wstring strPin;
        TicketFault fault;
        std::string strTray, strBin;
        std::vector<int32_t> finishings;
    } cases[] = {
        {"nothing asked", {}, {}, 0, L"", TicketFault::None, "", "", {}},
        {"a name in any letter case", {.strTray = L"TRAY 2", .strOutputBin = L"face-up"}, {}, 0, L"", TicketFault::None,
         "tray-2", "face-up", {}},
        {"a tray it has not", {.strTray = L"tray-9"}, {}, 0, L"", TicketFault::NotOffered, "", "", {}},
        {"a default it has not gives way", {}, {.defaults = {.strTray = L"tray-9", .strFinishings = L"staple"}}, 0, L"",
         TicketFault::None, "", "", {4}},
        {"the line over the default", {.strOutputBin = L"auto"}, {.defaults = {.strOutputBin = L"face-up"}}, 0, L"",
         TicketFault::None, "", "", {}},
        {"finishings", {.strFinishings = L"staple, PUNCH-DUAL-LEFT,staple"}, {}, 0, L"", TicketFault::None, "", "",
         {4, 74}},
        {"a finishing it has not", {.strFinishings = L"staple,bind"}, {}, 0, L"", TicketFault::NotOffered, "", "", {}},
        {"A4 by size, either way round and as a Printer MIB rounds it", {.strTray = L"bysize"}, {}, 4, L"", TicketFault::None, "tray-2", "", {}},
        {"the document's own size", {.strTray = L"bysize"}, {}, 0, L"", TicketFault::None, "", "", {}},
        {"A3 in no tray", {.strTray = L"bysize"}, {}, 15, L"", TicketFault::NoTrayForSize, "", "", {}},
        {"A3 by the policy", {}, {.defaults = {.strTray = L"bysize"}}, 15, L"", TicketFault::None, "", "", {}},
        {"a PIN", {.bPin = true}, {}, 0, L"1234", TicketFault::None, "", "", {}},
        {"a PIN too long", {.bPin = true}, {}, 0, L"123456789", TicketFault::BadPin, "", "", {}},
        {"a PIN of letters", {}, {.bRequirePin = true}, 0, L"12a4", TicketFault::BadPin, "", "", {}},
        {"no PIN given", {.bPin = true}, {}, 0, L"", TicketFault::BadPin, "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        JobTicket ticket;
        const TicketRefusal refusal = TicketOfOptions(c.options, c.policy, IppOffer(), c.nPaper, sizes[c.nPaper],
                                                      [&] { return c.strPin; }, ticket);
        EXPECT_EQ(refusal.fault, c.fault);
        if (refusal)
            continue;
        EXPECT_EQ(ticket.strTray, c.strTray);
        EXPECT_EQ(ticket.strOutputBin, c.strBin);
        EXPECT_EQ(ticket.arrFinishings, c.finishings);
        EXPECT_EQ(ticket.strPin, c.options.bPin ? "1234" : "");
    }
    // The reason names the printer and what it offers; the other road offers nothing.
    JobTicket ticket;
    const TicketRefusal refusal = TicketOfOptions({.strTray = L"tray-9"}, {}, IppOffer(), 0, sizes[0], nullptr, ticket);
    EXPECT_EQ(TicketRefusalText(refusal, L"Office"),
              L"The printer \"Office\" does not offer tray-9. It offers: Tray 1 (tray-1), Tray 2 (tray-2), Bypass tray "
              L"(by-pass-tray)");
    const TicketOffer spooler = OfferOnRoad(IppOffer(), TicketRoad::Spooler);
    EXPECT_EQ(TicketOfOptions({.bPin = true}, {}, spooler, 0, sizes[0], nullptr, ticket).fault,
              TicketFault::NoPinPrinting);
    EXPECT_EQ(TicketOfOptions({}, {.bRequirePin = true}, spooler, 0, sizes[0], nullptr, ticket).fault,
              TicketFault::PinRequired);
}
