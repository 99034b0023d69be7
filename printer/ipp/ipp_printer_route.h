#pragma once
// The IPP route to a printer: one Get-Printer-Attributes gives its device ID (or, without
// one, the document formats it takes) and its state, alerts, supplies and trays.
#include <memory>
#include <string>

#include "printer/state/printer_route.h"

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

private:
    std::wstring m_strUrl;
    std::string m_strLastFailure;
};
