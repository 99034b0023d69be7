#pragma once
// What a port says of itself when asked as a port of the adaptive port monitor: through
// XcvData on ",XcvPort <port>", "CheckAPPortSupport" and then "GetAPPortInfo". A monitor
// (or a system) that does not know the requests answers that it does not support them.
// Windows build only.
#include <string>

#include "printer/port/ap_port_info.h"

struct ApPortAnswer {
    enum class Kind { NotApPort, Wsd, Ipp, Refused };
    Kind kind = Kind::NotApPort;
    std::wstring strUrl;  // Wsd, Ipp: the device's or the print service's URL
    std::string strWhy;   // Refused: why the answer was not taken, in English
};

ApPortAnswer AskApPort(const std::wstring& strPortName);
