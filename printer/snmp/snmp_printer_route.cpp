#include "printer/snmp/snmp_printer_route.h"

#include <utility>

#include "common/debug_log.h"
#include "printer/snmp/network_device_id.h"
#include "printer/snmp/printer_state_read.h"

SnmpPrinterRoute::SnmpPrinterRoute(std::wstring strAddress, std::wstring strCommunity)
    : m_strAddress(std::move(strAddress)), m_strCommunity(std::move(strCommunity))
{
}

SnmpPrinterRoute::~SnmpPrinterRoute() = default;

int SnmpPrinterRoute::ReadDeviceID(std::wstring& strDeviceID)
{
    return QueryNetworkDeviceID(m_strAddress, m_strCommunity, strDeviceID, &m_bNotSnmp);
}

int SnmpPrinterRoute::ReadState(PrinterState& state, bool bDetails)
{
    state = PrinterState();
    if (!m_pReader) {
        DebugLog(L"[PrinterState] %s with the community %s", m_strAddress.c_str(), m_strCommunity.c_str());
        m_pReader = std::make_unique<PrinterStateReader>(m_strAddress, m_strCommunity);
    }
    return bDetails ? m_pReader->ReadDetails(state) : m_pReader->Read(state);
}

std::unique_ptr<PrinterRoute> SnmpPrinterRoute::Copy() const
{
    return std::make_unique<SnmpPrinterRoute>(m_strAddress, m_strCommunity);
}
