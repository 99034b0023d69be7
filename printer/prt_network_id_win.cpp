// CPrtControl's SNMP device-ID query; the portable query does the work.
#include "printer/network_device_id.h"
#include "printer/prt_control.h"

int CPrtControl::GetNetworkDeviceID(std::wstring strAddress, std::wstring strCommunity, std::wstring& strDeviceID)
{
    return QueryNetworkDeviceID(strAddress, strCommunity, strDeviceID);
}
