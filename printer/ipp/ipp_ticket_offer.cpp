#include "printer/ipp/ipp_ticket_offer.h"

#include <algorithm>

#include "common/debug_log.h"

namespace {
using ipp::Attribute;
using ipp::GroupTag;

// A keyword this client may send back as it came: lower-case letters, digits, '-', '_'
// and '.', as IPP keywords are made, and short.
bool IsSafeKeyword(const std::string& text)
{
    return !text.empty() && text.size() <= 63 && std::all_of(text.begin(), text.end(), [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' || ch == '.';
    });
}

// The keywords of `name`, without "auto" (which is no choice: the printer's own) and
// without any that could not be sent back as they are.
std::vector<std::string> Choices(const ipp::Message& answer, const char* pszName)
{
    std::vector<std::string> arrChoices;
    const Attribute* pSupported = answer.Find(GroupTag::Printer, pszName);
    if (!pSupported)
        return arrChoices;
    for (const std::string& value : pSupported->Texts()) {
        if (value == "auto" || std::find(arrChoices.begin(), arrChoices.end(), value) != arrChoices.end())
            continue;
        if (!IsSafeKeyword(value)) {
            const std::string name = pszName;
            DebugLog(L"[IppTicketOffer] %s: a value not offered", std::wstring(name.begin(), name.end()).c_str());
            continue;
        }
        if (arrChoices.size() < kMaxOfferedValues)
            arrChoices.push_back(value);
    }
    return arrChoices;
}

// The paper media-col-ready says a source holds.
void AddPaper(const ipp::Message& answer, OfferedTray& tray)
{
    const Attribute* pReady = answer.Find(GroupTag::Printer, "media-col-ready");
    if (!pReady)
        return;
    for (const ipp::Value& value : pReady->values) {
        const Attribute* pSource = value.Member("media-source");
        const Attribute* pSize = value.Member("media-size");
        if (!pSource || !pSource->Text() || *pSource->Text() != tray.strValue || !pSize || pSize->values.empty())
            continue;
        const Attribute* pX = pSize->values[0].Member("x-dimension");
        const Attribute* pY = pSize->values[0].Member("y-dimension");
        const int32_t nX = pX ? pX->Integer().value_or(0) : 0;
        const int32_t nY = pY ? pY->Integer().value_or(0) : 0;
        // A roll's length is a range, and no paper is larger than a few metres.
        if (nX > 0 && nY > 0 && nX < 1000000 && nY < 1000000) {
            tray.nWidth = nX;
            tray.nHeight = nY;
            return;
        }
    }
}

bool Lists(const ipp::Message& answer, const char* pszName, const char* pszValue)
{
    const Attribute* pAttribute = answer.Find(GroupTag::Printer, pszName);
    if (!pAttribute)
        return false;
    const std::vector<std::string> values = pAttribute->Texts();
    return std::find(values.begin(), values.end(), pszValue) != values.end();
}
}  // namespace

const std::vector<std::string>& IppTicketAttributes()
{
    static const std::vector<std::string> kNames = {
        "media-source-supported", "media-col-supported",  "media-col-ready", "output-bin-supported",
        "finishings-supported",   "job-password-supported", "job-password-encryption-supported"};
    return kNames;
}

TicketOffer TicketOfferOfIppAnswer(const ipp::Message& answer, bool bEncrypted)
{
    TicketOffer offer;
    offer.road = TicketRoad::Ipp;
    // A source goes in media-col, which must take it.
    if (Lists(answer, "media-col-supported", "media-source"))
        for (const std::string& value : Choices(answer, "media-source-supported")) {
            OfferedTray& tray = offer.trays.emplace_back();
            tray.strValue = value;
            AddPaper(answer, tray);
        }
    for (const std::string& value : Choices(answer, "output-bin-supported"))
        offer.bins.push_back({value, {}});
    if (const Attribute* pFinishings = answer.Find(GroupTag::Printer, "finishings-supported"))
        for (const ipp::Value& value : pFinishings->values)
            if (value.tag == ipp::ValueTag::Enum && KindOfFinishing(value.integer) &&
                std::find(offer.finishings.begin(), offer.finishings.end(), value.integer) == offer.finishings.end() &&
                offer.finishings.size() < kMaxOfferedValues)
                offer.finishings.push_back(value.integer);
    const Attribute* pPassword = answer.Find(GroupTag::Printer, "job-password-supported");
    const int32_t nMax = pPassword ? pPassword->Integer().value_or(0) : 0;
    const Attribute* pEncryption = answer.Find(GroupTag::Printer, "job-password-encryption-supported");
    offer.bPinHashed = Lists(answer, "job-password-encryption-supported", "sha2-256");
    // Without the list the printer takes the PIN as typed.
    const bool bPlain = !pEncryption || Lists(answer, "job-password-encryption-supported", "none");
    if (nMax > 0 && (offer.bPinHashed || (bPlain && bEncrypted)))
        offer.nPinMaxDigits = std::min<int32_t>(nMax, kMaxPinDigits);
    return offer;
}
