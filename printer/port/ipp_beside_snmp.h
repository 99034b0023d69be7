#pragma once
// The IPP request made at a Standard TCP/IP port's address while its SNMP agent is asked:
// a printer whose SNMP is off may still answer IPP, and asking both at once keeps a silent
// address as quick to judge as before. Windows build only.
#include <chrono>
#include <future>
#include <memory>
#include <string>

#include "printer/ipp/ipp_printer_route.h"

// The port the IPP request goes to; tests point it at their own printer.
unsigned short& IppPortBesideSnmp();

class IppBesideSnmp {
public:
    // Starts the request on a thread of its own; nothing when no URL can be made of the address.
    explicit IppBesideSnmp(const std::wstring& strAddress);
    bool Started() const { return m_pRoute != nullptr; }
    const std::wstring& Url() const { return m_strUrl; }
    // Waits for the answer, but not past the SNMP check's own time from the start; 1 with
    // the ID as ReadDeviceID gives it, else 0. `request` tells what came.
    int Wait(std::wstring& strDeviceID, IppRequestRoute& request);
    // The route, to be kept only after Wait gave 1.
    std::shared_ptr<IppPrinterRoute> Route() const { return m_pRoute; }

private:
    struct Answer {
        int nResult = 0;
        std::wstring strDeviceID;
        IppRequestRoute request;
    };
    std::wstring m_strUrl;
    std::shared_ptr<IppPrinterRoute> m_pRoute;
    std::future<Answer> m_answer;
    std::chrono::steady_clock::time_point m_until;
};
