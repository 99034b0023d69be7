// The device-ID members of CPrtControl; the work is done by the port-name routes.
#include "printer/device/local_device_id.h"
#include "printer/port/port_device_id.h"
#include "printer/queue/prt_control.h"
#include "printer/snmp/network_device_id.h"

std::atomic<bool> g_bUnsupportedPort{false};

int CPrtControl::GetCurrentPrinterDeviceID(std::wstring& strDeviceID)
{
    return DeviceIDForPort(GetPrinterPortName(GetCurrentIndex()), strDeviceID);
}

int CPrtControl::GetLocalUSBDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID)
{
    return LocalUSBDeviceID(strPortName, strDeviceID);
}

int CPrtControl::GetLocalLPTDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID)
{
    return LocalLPTDeviceID(strPortName, strDeviceID);
}

int CPrtControl::GetNetworkDeviceID(std::wstring strAddress, std::wstring strCommunity, std::wstring& strDeviceID)
{
    return QueryNetworkDeviceID(strAddress, strCommunity, strDeviceID);
}
