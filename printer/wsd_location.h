#pragma once
// The host part of a WSD device's "LocationInformation" URL, e.g. http://192.0.2.10:80/ws.
#include <cstddef>
#include <string>

// Room for the host text, terminator included.
inline constexpr size_t kWsdIPChars = 130;

enum class WsdCut { Found, NoHttp, NoColon };

// Takes what follows the first "http://" up to, not including, the last ":" (so a
// bracketed IPv6 host keeps its brackets), cut to kWsdIPChars - 1 characters.
// Only the first 259 characters of the location count.
WsdCut CutWsdHost(const std::wstring& strLocation, std::wstring& strHost);

// Removes every "[" and "]".
std::wstring RemoveBrackets(const std::wstring& strText);
