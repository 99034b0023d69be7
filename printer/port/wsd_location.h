#pragma once
// The host of a WSD device's "LocationInformation" URL, e.g. http://192.0.2.10:80/ws.
#include <cstddef>
#include <string>

// Room for the host text, terminator included.
inline constexpr size_t kWsdIPChars = 130;

enum class WsdCut { Found, NoHttp, NoHost };

// Reads the location as an http or https URL (scheme in any case, blanks around it
// ignored) and gives the host of its authority: user information up to an "@" is
// skipped, the host ends at the port's colon or at "/", "?", "#" or the end, and an
// IPv6 literal loses its brackets but keeps its zone. NoHost when the host is empty,
// malformed or longer than kWsdIPChars - 1 characters: cutting it would name another
// host. Only the first 259 characters of the location count.
WsdCut CutWsdHost(const std::wstring& strLocation, std::wstring& strHost);

// Removes every "[" and "]".
std::wstring RemoveBrackets(const std::wstring& strText);
