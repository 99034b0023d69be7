#pragma once
// The system calls of the local device-ID reads, reached through a table so that tests can
// stand in for devices. Windows build only.
#include <windows.h>
#include <setupapi.h>

struct DeviceIoApi {
    decltype(&::SetupDiGetClassDevsW) GetClassDevs = ::SetupDiGetClassDevsW;
    decltype(&::SetupDiEnumDeviceInterfaces) EnumDeviceInterfaces = ::SetupDiEnumDeviceInterfaces;
    decltype(&::SetupDiOpenDeviceInterfaceRegKey) OpenDeviceInterfaceRegKey = ::SetupDiOpenDeviceInterfaceRegKey;
    decltype(&::SetupDiGetDeviceInterfaceDetailW) GetDeviceInterfaceDetail = ::SetupDiGetDeviceInterfaceDetailW;
    decltype(&::SetupDiDestroyDeviceInfoList) DestroyDeviceInfoList = ::SetupDiDestroyDeviceInfoList;
    decltype(&::RegQueryValueExW) QueryValue = ::RegQueryValueExW;
    decltype(&::RegCloseKey) CloseKey = ::RegCloseKey;
    decltype(&::CreateFileW) CreateFile = ::CreateFileW;
    decltype(&::DeviceIoControl) IoControl = ::DeviceIoControl;
    decltype(&::CloseHandle) CloseHandle = ::CloseHandle;
    decltype(&::Sleep) Sleep = ::Sleep;
};

// The table in use; it starts with the real calls.
inline DeviceIoApi& DeviceIo()
{
    static DeviceIoApi api;
    return api;
}
