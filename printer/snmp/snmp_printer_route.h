#pragma once
// The SNMP route to a network printer: its agent's address and community give the device
// ID (network_device_id.h) and the Printer MIB state (printer_state_read.h).
#include <memory>
#include <string>

#include "printer/state/printer_route.h"

class PrinterStateReader;

class SnmpPrinterRoute final : public PrinterRoute {
public:
    SnmpPrinterRoute(std::wstring strAddress, std::wstring strCommunity);
    ~SnmpPrinterRoute() override;

    int ReadDeviceID(std::wstring& strDeviceID) override;
    int ReadState(PrinterState& state, bool bDetails = false) override;
    std::unique_ptr<PrinterRoute> Copy() const override;
    // After ReadDeviceID: datagrams came back, none of them an SNMP answer (another protocol).
    bool AnsweredNotAsSnmp() const { return m_bNotSnmp; }

private:
    std::wstring m_strAddress;
    std::wstring m_strCommunity;
    bool m_bNotSnmp = false;
    std::unique_ptr<PrinterStateReader> m_pReader;  // made at the first state read, kept for the next
};
