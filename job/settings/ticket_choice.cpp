#include "job/settings/ticket_choice.h"

#include <algorithm>
#include <cstdlib>

#include "common/ascii_case.h"
#include "common/placeholders.h"
#include "printer/state/ticket_names.h"

namespace {
constexpr wchar_t kSection[] = L"TICKET";
constexpr int32_t kSizeSlack = 200;  // hundredths of a millimetre: paper tables round to the millimetre

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool Names(const std::wstring& strWords, const std::string& strValue, const std::wstring& strName)
{
    return SameIgnoringAsciiCase(strWords, Wide(strValue)) || SameIgnoringAsciiCase(strWords, strName);
}

bool IsAutomatic(const std::wstring& strWords) { return strWords.empty() || SameIgnoringAsciiCase(strWords, L"auto"); }

TicketRefusal NotOffered(const wchar_t* pszOption, const std::wstring& strValue, std::wstring strOffered)
{
    return {TicketFault::NotOffered, pszOption, strValue, std::move(strOffered)};
}

std::wstring Trimmed(const std::wstring& text)
{
    const size_t nFirst = text.find_first_not_of(L' ');
    return nFirst == std::wstring::npos ? std::wstring() : text.substr(nFirst, text.find_last_not_of(L' ') - nFirst + 1);
}

TicketRefusal FinishingsOfWords(const std::wstring& strWords, const TicketOffer& offer, std::vector<int32_t>& out)
{
    out.clear();
    if (strWords.empty() || SameIgnoringAsciiCase(strWords, L"none"))
        return {};
    size_t nStart = 0;
    while (nStart <= strWords.size()) {
        const size_t nComma = std::min(strWords.find(L',', nStart), strWords.size());
        const std::wstring strValue = Trimmed(strWords.substr(nStart, nComma - nStart));
        nStart = nComma + 1;
        std::string keyword;
        for (const wchar_t ch : strValue)
            keyword += ch < 0x80 ? static_cast<char>(ch >= L'A' && ch <= L'Z' ? ch - L'A' + L'a' : ch) : '?';
        const std::optional<int32_t> nValue = FinishingOfKeyword(keyword);
        if (!nValue || std::find(offer.finishings.begin(), offer.finishings.end(), *nValue) == offer.finishings.end())
            return NotOffered(L"/finish", strValue, OfferedFinishingsText(offer));
        if (std::find(out.begin(), out.end(), *nValue) == out.end())
            out.push_back(*nValue);
    }
    return {};
}
}  // namespace

TicketOffer OfferOnRoad(const TicketOffer& offer, TicketRoad road)
{
    if (offer.road == road)
        return offer;
    TicketOffer none;
    none.road = road;
    return none;
}

TicketRefusal TicketOfWords(const TicketWords& words, const TicketOffer& offer, JobTicket& ticket, bool& bBySize)
{
    bBySize = false;
    ticket.strTray.clear();
    if (SameIgnoringAsciiCase(words.strTray, L"bysize")) {
        if (!offer.KnowsTrayPaper())
            return NotOffered(L"/tray", words.strTray, OfferedTraysText(offer));
        bBySize = true;
    } else if (!IsAutomatic(words.strTray)) {
        const auto it = std::find_if(offer.trays.begin(), offer.trays.end(), [&](const OfferedTray& tray) {
            return Names(words.strTray, tray.strValue, TrayName(tray));
        });
        if (it == offer.trays.end())
            return NotOffered(L"/tray", words.strTray, OfferedTraysText(offer));
        ticket.strTray = it->strValue;
    }
    ticket.strOutputBin.clear();
    if (!IsAutomatic(words.strOutputBin)) {
        const auto it = std::find_if(offer.bins.begin(), offer.bins.end(), [&](const OfferedBin& bin) {
            return Names(words.strOutputBin, bin.strValue, BinName(bin));
        });
        if (it == offer.bins.end())
            return NotOffered(L"/bin", words.strOutputBin, OfferedBinsText(offer));
        ticket.strOutputBin = it->strValue;
    }
    return FinishingsOfWords(words.strFinishings, offer, ticket.arrFinishings);
}

TicketRefusal TrayBySize(const TicketOffer& offer, int nPaperSize, const PaperSizeInfo& paper, std::string& strTray)
{
    strTray.clear();
    if (nPaperSize == 0)
        return {};
    const int32_t nWidth = paper.nWidthMM * 100, nHeight = paper.nHeightMM * 100;
    const auto near = [](int32_t a, int32_t b) { return std::abs(a - b) <= kSizeSlack; };
    for (const OfferedTray& tray : offer.trays)
        if ((near(tray.nWidth, nWidth) && near(tray.nHeight, nHeight)) ||
            (near(tray.nWidth, nHeight) && near(tray.nHeight, nWidth))) {
            strTray = tray.strValue;
            return {};
        }
    return {TicketFault::NoTrayForSize, L"/tray", paper.strName, OfferedTraysText(offer)};
}

TicketRefusal PinRequiredRefusal(const TicketOffer& offer, bool bRequired)
{
    if (bRequired && offer.nPinMaxDigits <= 0)
        return {TicketFault::PinRequired, L"/pin", {}, {}};
    return {};
}

TicketRefusal CheckPin(const std::wstring& strPin, const TicketOffer& offer, bool bRequired, std::string& strDigits)
{
    strDigits.clear();
    if (TicketRefusal refusal = PinRequiredRefusal(offer, bRequired))
        return refusal;
    if (offer.nPinMaxDigits <= 0)
        return {TicketFault::NoPinPrinting, L"/pin", {}, {}};
    const bool bDigits = std::all_of(strPin.begin(), strPin.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; });
    if (strPin.empty() || !bDigits || strPin.size() > static_cast<size_t>(offer.nPinMaxDigits))
        return {TicketFault::BadPin, L"/pin", {}, std::to_wstring(offer.nPinMaxDigits)};
    strDigits.assign(strPin.begin(), strPin.end());
    return {};
}

bool AsksForTicket(const JobOptions& options, const JobPolicy& policy)
{
    const JobOptions& d = policy.defaults;
    return options.strTray || options.strOutputBin || options.strFinishings || options.bPin || policy.bRequirePin ||
           d.strTray || d.strOutputBin || d.strFinishings;
}

TicketRefusal TicketOfOptions(const JobOptions& options, const JobPolicy& policy, const TicketOffer& offer,
                              int nPaperSize, const PaperSizeInfo& paper, const std::function<std::wstring()>& fnPin,
                              JobTicket& ticket)
{
    ticket = JobTicket();
    const JobOptions& d = policy.defaults;
    TicketWords words{options.strTray.value_or(d.strTray.value_or(L"")),
                      options.strOutputBin.value_or(d.strOutputBin.value_or(L"")),
                      options.strFinishings.value_or(d.strFinishings.value_or(L""))};
    bool bBySize = false;
    TicketRefusal refusal = TicketOfWords(words, offer, ticket, bBySize);
    // Each default the printer does not offer gives way, one at a time; the line's own words stay.
    for (int nTry = 0; refusal && nTry < 3; ++nTry) {
        std::wstring* pWords = refusal.strOption == L"/tray"  ? (options.strTray ? nullptr : &words.strTray)
                               : refusal.strOption == L"/bin" ? (options.strOutputBin ? nullptr : &words.strOutputBin)
                                                              : (options.strFinishings ? nullptr : &words.strFinishings);
        if (!pWords)
            return refusal;
        pWords->clear();
        refusal = TicketOfWords(words, offer, ticket, bBySize);
    }
    if (refusal)
        return refusal;
    if (bBySize)
        if (TicketRefusal bySize = TrayBySize(offer, nPaperSize, paper, ticket.strTray); bySize && options.strTray)
            return bySize;
    if (TicketRefusal required = PinRequiredRefusal(offer, policy.bRequirePin))
        return required;
    if (options.bPin || policy.bRequirePin) {
        if (offer.nPinMaxDigits <= 0)
            return {TicketFault::NoPinPrinting, L"/pin", {}, {}};
        return CheckPin(fnPin ? fnPin() : std::wstring(), offer, policy.bRequirePin, ticket.strPin);
    }
    return {};
}

std::wstring TicketRefusalText(const TicketRefusal& refusal, const std::wstring& strPrinter)
{
    switch (refusal.fault) {
    case TicketFault::NotOffered:
        return FilledUIText(kSection, {L"IDL_REFUSED_NOT_OFFERED", L"The printer \"{1}\" does not offer {2}. It offers: {3}"},
                            {strPrinter, refusal.strValue, refusal.strOffered});
    case TicketFault::NoTrayForSize:
        return FilledUIText(kSection, {L"IDL_REFUSED_NO_TRAY", L"No tray of the printer \"{1}\" holds {2}. Its trays: {3}"},
                            {strPrinter, refusal.strValue, refusal.strOffered});
    case TicketFault::NoPinPrinting:
        return FilledUIText(kSection, {L"IDL_REFUSED_NO_PIN", L"The printer \"{1}\" has no PIN printing."}, {strPrinter});
    case TicketFault::PinRequired:
        return FilledUIText(kSection,
                            {L"IDL_REFUSED_PIN_REQUIRED",
                             L"Your administrator requires PIN printing, and the printer \"{1}\" has none."},
                            {strPrinter});
    case TicketFault::BadPin:
        return FilledUIText(kSection, {L"IDL_REFUSED_BAD_PIN", L"Type a PIN of digits only, at most {1} of them."},
                            {refusal.strOffered});
    case TicketFault::None:
        break;
    }
    return {};
}
