#pragma once
// Host address of a printer on a WSD port, asked of the WSD port monitor and found in
// the Plug and Play registry. Windows build only.
#include <string>

#include "printer/port/wsd_location.h"

class WSDPrinterPort {
public:
    virtual ~WSDPrinterPort() = default;

    // Nonzero with the host (brackets removed) in `strAddress` when one was found;
    // `strAddress` is left alone otherwise.
    int GetWsdIP(const std::wstring& strPortName, std::wstring& strAddress);
    // 1 when the spooler lists a port of exactly this name under the WSD Port Monitor or
    // the adaptive port monitor ("WSD Port").
    int IsWSDPort(const std::wstring& strPortName);
    // Asks the port monitor for the port's DeviceID and PnPXID and looks them up.
    int GetXcvData(const std::wstring& strPortName);
    bool QueryRegistryWsdIP(const std::wstring& strDeviceID, const std::wstring& strPnPXID);

    // The device's "LocationInformation" URL as the last lookup read it, and the host
    // found in it. Kept per object: checks of two printers may run at once.
    std::wstring m_strLocation;
    std::wstring m_strHost;
};
