#pragma once
// The IPP route to a printer: one Get-Printer-Attributes gives its device ID (or, without
// one, the document formats it takes) and its state, alerts, supplies and trays.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ipp/ipp_certificate.h"
#include "ipp/ipp_message.h"
#include "printer/ipp/ipp_safety.h"
#include "printer/state/printer_route.h"

// One IPP request of a lookup, as /probe shows it.
struct IppRequestRoute {
    std::wstring strUrl;
    bool bAnswered = false;
    std::string strReason;  // English, why it did not answer ("no connection"); empty when it did
    IppSafetyFacts safety;  // why it could not be reached safely, when so
    std::optional<ipp::Certificate> certificate;  // TLS: the certificate it showed, as judged
};

// The first request of these lists that could not be reached safely; Safe when none.
IppSafetyFacts UnsafeOfRequests(const std::vector<IppRequestRoute>& arrFirst,
                                const std::vector<IppRequestRoute>& arrSecond = {});

class IppPrinterRoute final : public PrinterRoute {
public:
    // strUrl: ipp://, ipps://, http:// or https://, as a port, a command line or a port
    // monitor gave it; a URL that does not parse makes every read fail.
    explicit IppPrinterRoute(std::wstring strUrl);
    ~IppPrinterRoute() override;

    // printer-device-id; a printer without one but with document-format-supported gets
    // an ID made of those formats ("CMD:PDF,JPEG;"), judged by the same rule.
    int ReadDeviceID(std::wstring& strDeviceID) override;
    int ReadState(PrinterState& state, bool bDetails = false) override;
    std::unique_ptr<PrinterRoute> Copy() const override;

    const std::wstring& Url() const { return m_strUrl; }
    // English reason of the last read that failed ("" after one that answered), naming the
    // printer's URL: what /probe and the debug log show.
    const std::string& LastFailure() const { return m_strLastFailure; }
    // The last read as /probe shows it.
    IppRequestRoute Request() const { return {m_strUrl, m_bAnswered, m_strLastReason, m_safety, m_certificate}; }

private:
    // Get-Printer-Attributes for `names` within nBudgetMs into `answer`; false, with the
    // reason kept, when no successful answer came.
    bool Ask(const std::vector<std::string>& names, uint32_t nBudgetMs, ipp::Message& answer);

    std::wstring m_strUrl;
    std::string m_strLastFailure;
    std::string m_strLastReason;
    bool m_bAnswered = false;
    IppSafetyFacts m_safety;
    std::optional<ipp::Certificate> m_certificate;
};

// The URL of a route that is an IPP route, else empty: a printer heard over IPP has an
// IPP road beside the spooler's.
std::wstring IppUrlOfRoute(const PrinterRoute* pRoute);
