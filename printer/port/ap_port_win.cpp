#include "printer/port/ap_port.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "common/debug_log.h"
#include "common/printable_text.h"
#include "printer/port/spooler_port_api.h"

namespace {
struct XcvPort {
    HANDLE h = nullptr;
    explicit XcvPort(const std::wstring& strPortName)
    {
        std::wstring strName = (L",XcvPort " + strPortName).substr(0, 259);
        if (!SpoolerPorts().OpenPrinter(strName.data(), &h, nullptr))
            h = nullptr;
    }
    ~XcvPort()
    {
        if (h)
            SpoolerPorts().ClosePrinter(h);
    }
};
}  // namespace

ApPortAnswer AskApPort(const std::wstring& strPortName)
{
    ApPortAnswer answer;
    XcvPort port(strPortName);
    if (!port.h)
        return answer;
    SpoolerPortApi& api = SpoolerPorts();
    DWORD dwSupport = 0;
    DWORD cbNeeded = 0;
    DWORD dwStatus = ERROR_GEN_FAILURE;
    if (!api.XcvData(port.h, L"CheckAPPortSupport", nullptr, 0, reinterpret_cast<BYTE*>(&dwSupport),
                     sizeof(dwSupport), &cbNeeded, &dwStatus) ||
        dwStatus != ERROR_SUCCESS) {
        DebugLog(L"AskApPort : %s : CheckAPPortSupport not supported (%u)", strPortName.c_str(),
                 static_cast<unsigned>(dwStatus));
        return answer;
    }
    // One spare zeroed byte pair past the structure: nothing the monitor writes beyond what
    // it was given is read, and a monitor that claims more than it was given is cut.
    std::array<BYTE, kApPortDataBytes + 2> block{};
    cbNeeded = 0;
    dwStatus = ERROR_GEN_FAILURE;
    const BOOL bCalled = api.XcvData(port.h, L"GetAPPortInfo", nullptr, 0, block.data(),
                                     static_cast<DWORD>(kApPortDataBytes), &cbNeeded, &dwStatus);
    ApPortInfo info;
    std::string strWhy;
    if (!bCalled || dwStatus != ERROR_SUCCESS)
        strWhy = "GetAPPortInfo failed with status " + std::to_string(dwStatus);
    else if (ReadApPortInfo(block.data(), std::min<size_t>(cbNeeded, kApPortDataBytes), info, strWhy))
        answer.kind = info.protocol == ApPortProtocol::Ipp ? ApPortAnswer::Kind::Ipp : ApPortAnswer::Kind::Wsd;
    if (answer.kind == ApPortAnswer::Kind::NotApPort) {
        answer.kind = ApPortAnswer::Kind::Refused;
        answer.strWhy = "the port monitor's answer was refused: " + strWhy;
        DebugLog(L"AskApPort : %s : %s", strPortName.c_str(),
                 std::wstring(answer.strWhy.begin(), answer.strWhy.end()).c_str());
        return answer;
    }
    answer.strUrl = info.strUrl;
    DebugLog(L"AskApPort : %s : %s %s", strPortName.c_str(), answer.kind == ApPortAnswer::Kind::Ipp ? L"IPP" : L"WSD",
             PrintableText(answer.strUrl).c_str());
    return answer;
}
