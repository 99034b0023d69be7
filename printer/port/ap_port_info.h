#pragma once
// The adaptive port monitor's answer to "GetAPPortInfo": an APPORT_DATA_1 block
// { DWORD Version (1); DWORD Protocol (1 WSD, 2 IPP); WCHAR DeviceOrServiceUrl[260] },
// little-endian, read as a monitor of unknown make may fill it.
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kApPortUrlChars = 260;
inline constexpr size_t kApPortDataBytes = 8 + kApPortUrlChars * 2;

enum class ApPortProtocol { Wsd = 1, Ipp = 2 };

struct ApPortInfo {
    ApPortProtocol protocol = ApPortProtocol::Wsd;
    std::wstring strUrl;  // as the monitor wrote it; empty is possible for WSD
};

// True with `info` when the `cb` bytes at `p` hold version 1, a known protocol and a URL
// terminated within its 260 characters (an IPP port's must be a printer URL); else false
// with the reason in English in `strWhy`.
bool ReadApPortInfo(const uint8_t* p, size_t cb, ApPortInfo& info, std::string& strWhy);
