#include "ui/finishing_choices.h"

#include "common/ui_text.h"
#include "printer/state/ticket_names.h"
#include "ui/access_keys.h"

namespace {
void Add(TicketChoiceList& list, std::wstring strName, std::string value)
{
    list.arrNames.push_back(std::move(strName));
    list.arrValues.push_back(std::move(value));
}

const std::string& ValueAt(const TicketChoiceList& list, int nEntry)
{
    static const std::string kNone;
    return nEntry > 0 && static_cast<size_t>(nEntry) < list.arrValues.size() ? list.arrValues[nEntry] : kNone;
}

std::wstring NameAt(const TicketChoiceList& list, int nEntry)
{
    return nEntry >= 0 && static_cast<size_t>(nEntry) < list.arrNames.size() ? list.arrNames[nEntry] : std::wstring();
}

std::wstring Label(const wchar_t* pszKey, const wchar_t* pszDefault)
{
    return WithoutAccessKey(GetUIText(L"UI_FINISHING_TAB", pszKey, pszDefault));
}
}  // namespace

FinishingLists ListsOfOffer(const TicketOffer& offer)
{
    FinishingLists lists;
    Add(lists.trays, TicketAutomaticText(), "");
    if (offer.KnowsTrayPaper())
        Add(lists.trays, TicketBySizeText(), kBySizeValue);
    for (const OfferedTray& tray : offer.trays)
        Add(lists.trays, TrayName(tray), tray.strValue);
    Add(lists.bins, TicketAutomaticText(), "");
    for (const OfferedBin& bin : offer.bins)
        Add(lists.bins, BinName(bin), bin.strValue);
    for (TicketChoiceList* pList : {&lists.staples, &lists.punches, &lists.folds})
        Add(*pList, TicketNoneText(), "");
    for (const int32_t nValue : offer.finishings) {
        const std::optional<FinishingKind> kind = KindOfFinishing(nValue);
        TicketChoiceList& list = *kind == FinishingKind::Staple  ? lists.staples
                                 : *kind == FinishingKind::Punch ? lists.punches
                                                                 : lists.folds;
        Add(list, FinishingName(nValue), FinishingKeyword(nValue));
    }
    return lists;
}

int EntryOfValue(const TicketChoiceList& list, const std::string& value)
{
    for (size_t i = 1; i < list.arrValues.size(); ++i)
        if (!value.empty() && list.arrValues[i] == value)
            return static_cast<int>(i);
    return 0;
}

FinishingEntries EntriesOfOptions(const FinishingLists& lists, const JobOptions& options, const JobPolicy& policy,
                                  const TicketOffer& offer)
{
    FinishingEntries entries;
    // Each field on its own: a preset the printer does not offer leaves the others as given.
    const JobOptions& d = policy.defaults;
    const auto Words = [](const std::optional<std::wstring>& given, const std::optional<std::wstring>& fallback) {
        return given.value_or(fallback.value_or(L""));
    };
    JobTicket ticket;
    bool bBySize = false;
    if (!TicketOfWords({Words(options.strTray, d.strTray), L"", L""}, offer, ticket, bBySize))
        entries.nTray = bBySize ? EntryOfValue(lists.trays, kBySizeValue) : EntryOfValue(lists.trays, ticket.strTray);
    if (!TicketOfWords({L"", Words(options.strOutputBin, d.strOutputBin), L""}, offer, ticket, bBySize))
        entries.nBin = EntryOfValue(lists.bins, ticket.strOutputBin);
    if (!TicketOfWords({L"", L"", Words(options.strFinishings, d.strFinishings)}, offer, ticket, bBySize))
        for (const int32_t nValue : ticket.arrFinishings) {
            const std::string keyword = FinishingKeyword(nValue);
            for (auto [pList, pnEntry] : {std::pair{&lists.staples, &entries.nStaple},
                                          std::pair{&lists.punches, &entries.nPunch},
                                          std::pair{&lists.folds, &entries.nFold}})
                if (const int nEntry = EntryOfValue(*pList, keyword); nEntry && !*pnEntry)
                    *pnEntry = nEntry;
        }
    return entries;
}

TicketRefusal TicketOfEntries(const FinishingLists& lists, const FinishingEntries& entries, const TicketOffer& offer,
                              int nPaperSize, const PaperSizeInfo& paper, JobTicket& ticket)
{
    ticket.strTray = ValueAt(lists.trays, entries.nTray);
    ticket.strOutputBin = ValueAt(lists.bins, entries.nBin);
    ticket.arrFinishings.clear();
    for (auto [pList, nEntry] : {std::pair{&lists.staples, entries.nStaple}, std::pair{&lists.punches, entries.nPunch},
                                 std::pair{&lists.folds, entries.nFold}})
        if (const std::optional<int32_t> nValue = FinishingOfKeyword(ValueAt(*pList, nEntry)))
            ticket.arrFinishings.push_back(*nValue);
    if (ticket.strTray == kBySizeValue)
        return TrayBySize(offer, nPaperSize, paper, ticket.strTray);
    return {};
}

std::vector<LabelledText> TicketPreviewTexts(const FinishingLists& lists, const FinishingEntries& entries, bool bPin)
{
    std::wstring strFinishing;
    for (auto [pList, nEntry] : {std::pair{&lists.staples, entries.nStaple}, std::pair{&lists.punches, entries.nPunch},
                                 std::pair{&lists.folds, entries.nFold}})
        if (nEntry > 0)
            strFinishing += (strFinishing.empty() ? L"" : L", ") + NameAt(*pList, nEntry);
    return {{Label(L"IDC_STATIC_TRAY", L"Tray"), NameAt(lists.trays, entries.nTray)},
            {Label(L"IDC_STATIC_OUTPUTBIN", L"Output bin"), NameAt(lists.bins, entries.nBin)},
            {Label(L"IDC_STATIC_FINISHING", L"Finishing"), strFinishing.empty() ? TicketNoneText() : strFinishing},
            {Label(L"IDC_STATIC_PINPRINT", L"PIN Printing"),
             bPin ? GetUIText(L"UI_FINISHING_TAB", L"IDL_PIN_ON", L"Held until its PIN is typed")
                  : GetUIText(L"UI_FINISHING_TAB", L"IDL_PIN_OFF", L"Off")}};
}
