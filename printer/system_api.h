#pragma once
// The system calls of printer discovery, reached through tables so that tests can stand
// in for devices, the spooler's port list and its XcvData channel. Windows build only.
#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

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

struct SpoolerPortApi {
    decltype(&::EnumPortsW) EnumPorts = ::EnumPortsW;
    decltype(&::OpenPrinterW) OpenPrinter = ::OpenPrinterW;
    decltype(&::XcvDataW) XcvData = ::XcvDataW;
    decltype(&::ClosePrinter) ClosePrinter = ::ClosePrinter;
};

// The tables in use; they start with the real calls.
DeviceIoApi& DeviceIo();
SpoolerPortApi& SpoolerPorts();
