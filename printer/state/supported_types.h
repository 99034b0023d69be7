#pragma once
// The capability rule: which direct-print types a device ID's "CMD:" (or "COMMAND SET:")
// field names.
#include <string>

// Bits 1 PDF, 2 JPEG, 4 TIFF, 8 PNG, 16 BMP; 0 when the field is missing, unterminated
// or names none of them.
int SupportedTypesFromDeviceID(const std::wstring& strDeviceID);

// The mask after a device-ID lookup: -1 (busy or off) or 0 (port not supported) when
// the lookup did not deliver, else the rule above.
int SupportedTypesOfLookup(int nLookupResult, bool bUnsupportedPort, const std::wstring& strDeviceID);
