#pragma once
// Registry keys of the network print monitors that may hold a port's address.
// All under HKEY_LOCAL_MACHINE; the port name is appended to the prefix.

inline constexpr wchar_t kStandardTcpIpPortKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
inline constexpr wchar_t kDefaultCommunity[] = L"mirlan";
inline constexpr wchar_t kWsdMonitorName[] = L"WSD Port Monitor";

// A vendor monitor keeps the address in the value "IP" of its port key.
struct VendorPortMonitor {
    const wchar_t* pszName;
    const wchar_t* pszKeyPrefix;
    const wchar_t* pszOpened;
    const wchar_t* pszNotOpened;
    const wchar_t* pszNoValue;
};

inline constexpr VendorPortMonitor kVendorPortMonitors[] = {
    {L"Corvane Network Printer Port", L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Corvane Network Printer Port\\",
     L"Corvane : Success Open reg Key(IP Ports)", L"Corvane : Can't Open reg Key(IP Ports)",
     L"Corvane : Can't query ip reg value"},
    {L"Osmira Port Type S", L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Osmira Port Type S\\",
     L"Osmira : Success Open reg Key(IP Ports)", L"Osmira : Can't Open reg Key(IP Ports)",
     L"Osmira : Can't query ip reg value"},
    {L"Quindar Network Printer Port", L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quindar Network Printer Port\\",
     L"Quindar : Success Open reg Key(IP Ports)", L"Quindar : Can't Open reg Key(IP Ports)",
     L"Quindar : Can't query ip reg value"},
    {L"Brenlo Network Printer Port", L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Brenlo Network Printer Port\\",
     L"Brenlo : Success Open reg Key(IP Ports)", L"Brenlo : Can't Open reg Key(IP Ports)",
     L"Brenlo : Can't query ip reg value"},
};

// On Windows the adaptive port monitor, whose key and so whose ports' monitor name is
// "WSD Port", serves WSD and IPP printers alike.
inline constexpr wchar_t kAdaptiveMonitorName[] = L"WSD Port";
