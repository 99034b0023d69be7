// The device-ID members of CPrtControl; the work is done by the port-name routes.
#include "printer/local_device_id.h"
#include "printer/port_device_id.h"
#include "printer/prt_control.h"

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
