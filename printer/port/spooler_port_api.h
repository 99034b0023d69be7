#pragma once
// The spooler's port list and its XcvData channel, reached through a table so that tests
// can stand in for the ports and the WSD port monitor's answers. Windows build only.
#include <windows.h>
#include <winspool.h>

struct SpoolerPortApi {
    decltype(&::EnumPortsW) EnumPorts = ::EnumPortsW;
    decltype(&::OpenPrinterW) OpenPrinter = ::OpenPrinterW;
    decltype(&::XcvDataW) XcvData = ::XcvDataW;
    decltype(&::ClosePrinter) ClosePrinter = ::ClosePrinter;
};

// The table in use; it starts with the real calls.
inline SpoolerPortApi& SpoolerPorts()
{
    static SpoolerPortApi api;
    return api;
}
