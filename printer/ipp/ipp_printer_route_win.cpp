#include "printer/ipp/ipp_printer_route.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "common/debug_log.h"
#include "common/url_password.h"
#include "common/utf8_text.h"
#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"
#include "printer/ipp/ipp_printer_state.h"
#include "printer/ipp/ipp_ticket_offer.h"

namespace {

// The device ID and the state cost a silent printer no more than SNMP's two one-second
// requests; /probe's details, read once from a printer that answered, get a little more.
constexpr uint32_t kReadBudgetMs = 2000;
constexpr uint32_t kDetailsBudgetMs = 4000;
}  // namespace

// A URL holding a password is refused when asked; kept without it, it is shown and logged safely.
IppPrinterRoute::IppPrinterRoute(std::wstring strUrl) : m_strUrl(WithoutUrlPassword(strUrl)) {}

IppPrinterRoute::~IppPrinterRoute() = default;

bool IppPrinterRoute::Ask(const std::vector<std::string>& names, uint32_t nBudgetMs, ipp::Message& answer)
{
    const std::string url = Utf8OfWide(m_strUrl);
    const std::optional<ipp::PrinterUrl> parsed = ipp::ParsePrinterUrl(url);
    m_bAnswered = false;
    m_safety = IppSafetyFacts();
    m_certificate.reset();
    if (!parsed) {
        m_strLastReason = "not a printer URL";
    } else {
        ipp::ExchangeOptions options;
        options.budgetMs = nBudgetMs;
        ipp::Answer reply = ipp::GetPrinterAttributes(*parsed, std::string(), names, options);
        m_safety = SafetyOfAnswer(reply);
        m_certificate = reply.certificate;
        const std::string strPrefix = "IPP request to " + reply.printer + ": ";
        if (!reply.Ok()) {
            const std::string strText = ipp::FailureText(reply);
            m_strLastReason = strText.starts_with(strPrefix) ? strText.substr(strPrefix.size()) : strText;
        } else if (!ipp::IsSuccess(reply.message.code)) {
            // Something answered, but no printer took the request: the line must not read as
            // though a printer had answered, since the verdict is that none did.
            const char* pszKeyword = ipp::StatusKeyword(reply.message.code);
            const std::string strStatus = pszKeyword ? pszKeyword : "status " + std::to_string(reply.message.code);
            m_strLastReason = reply.message.code == ipp::status::kClientNotFound
                                  ? "no printer at this URL (" + strStatus + ")"
                                  : "the address answered " + strStatus + ", not as a printer";
        } else {
            m_bAnswered = true;
            m_strLastReason.clear();
            answer = std::move(reply.message);
        }
    }
    m_strLastFailure = m_bAnswered ? std::string() : "IPP request to " + url + ": " + m_strLastReason;
    const std::string strLine = m_bAnswered ? "IPP request to " + url + ": answered" : m_strLastFailure;
    DebugLog(L"[IppPrinterRoute] %s", WideOfUtf8(strLine).c_str());
    return m_bAnswered;
}

int IppPrinterRoute::ReadDeviceID(std::wstring& strDeviceID)
{
    strDeviceID.clear();
    ipp::Message answer;
    if (!Ask(IppDeviceIdAttributes(), kReadBudgetMs, answer))
        return 0;
    strDeviceID = DeviceIdOfIppAnswer(answer);
    DebugLog(L"[IppPrinterRoute] device ID: %s", strDeviceID.c_str());
    return 1;
}

int IppPrinterRoute::ReadState(PrinterState& state, bool bDetails)
{
    state = PrinterState();
    ipp::Message answer;
    std::vector<std::string> names = IppStateAttributes(bDetails);
    if (bDetails)
        names.insert(names.end(), IppTicketAttributes().begin(), IppTicketAttributes().end());
    if (!Ask(names, bDetails ? kDetailsBudgetMs : kReadBudgetMs, answer))
        return 0;
    state = StateOfIppAnswer(answer);
    if (bDetails) {
        const std::optional<ipp::PrinterUrl> url = ipp::ParsePrinterUrl(Utf8OfWide(m_strUrl));
        state.offer = TicketOfferOfIppAnswer(answer, url && url->Secure());
    }
    return 1;
}

std::unique_ptr<PrinterRoute> IppPrinterRoute::Copy() const
{
    return std::make_unique<IppPrinterRoute>(m_strUrl);
}

std::wstring IppUrlOfRoute(const PrinterRoute* pRoute)
{
    const auto* pIpp = dynamic_cast<const IppPrinterRoute*>(pRoute);
    return pIpp ? pIpp->Url() : std::wstring();
}
