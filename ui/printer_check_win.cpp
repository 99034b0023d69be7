#include "ui/printer_check.h"

#include "common/debug_log.h"
#include "common/utf8_text.h"
#include "printer/check_supported_types.h"

PrinterCheckReport CheckPrinterByName(const std::wstring& strPrinter)
{
    PrinterCheckReport report;
    CPrtControl prtControl;
    if (!prtControl.SelectPrinter(strPrinter)) {
        DebugLog(L"CheckPrinterByName / not installed : %s", strPrinter.c_str());
        return report;
    }
    DeviceIdRoute route;
    report.nSupportedTypes = CheckSupportedTypes(prtControl, route);
    for (const SnmpRequestRoute& request : route.arrSnmp)
        report.bNotSnmp |= report.nSupportedTypes == -1 && request.bNotSnmp;
    if (report.nSupportedTypes == -1 && route.arrSnmp.empty() && !route.arrIpp.empty() && !route.arrIpp.back().bAnswered)
        report.strIppReason.assign(route.arrIpp.back().strReason.begin(), route.arrIpp.back().strReason.end());
    for (const IppRequestRoute& request : route.arrIpp) {
        if (request.bAnswered && request.certificate)
            report.certificate = request.certificate;
        if (request.safety.safety != IppSafety::Safe && report.safety.safety == IppSafety::Safe) {
            report.safety = request.safety;
            if (const std::optional<ipp::PrinterUrl> url = ipp::ParsePrinterUrl(Utf8OfWide(request.strUrl)))
                report.pinName = ipp::PinName(*url);
        }
    }
    // Its state with its supplies only where it can print: before a run, and for the sheet.
    if (report.nSupportedTypes > 0 && route.answered && route.answered->ReadState(report.state, true))
        report.stateTarget = route.answered->Copy();  // kept without the check's socket
    return report;
}
