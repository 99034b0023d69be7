#pragma once
// Device ID of a locally attached printer, asked of the device. The USB and parallel
// reads of the process take turns. Windows build only.
#include <windows.h>

#include <string>

// The USB printing interface whose spooler port name ("Base Name" + "%03d" of "Port
// Number") equals `strPortName`. 1 with the ID when the device opened (the ID is empty
// when it would not answer), 0 when no such device could be opened.
int LocalUSBDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID);

// The first parallel port through its five device paths; `strPortName` is not used.
int LocalLPTDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID);

// One device-ID request to a parallel device path; 0 on success, else the system error.
DWORD ReadDeviceID(const wchar_t* pszPath, DWORD dwControlCode, wchar_t* pszBuffer, DWORD nChars);
