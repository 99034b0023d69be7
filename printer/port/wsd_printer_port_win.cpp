#include "printer/port/wsd_printer_port.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <new>
#include <vector>

#include "common/debug_log.h"
#include "common/printable_text.h"
#include "printer/port/port_monitors.h"
#include "printer/port/spooler_port_api.h"

namespace {
// The wide text in `cb` bytes of an output block, up to its first terminator.
std::wstring WideTextOf(const std::vector<BYTE>& block, size_t cb)
{
    size_t chars = std::min(cb, block.size()) / sizeof(wchar_t);
    const auto* p = reinterpret_cast<const wchar_t*>(block.data());
    size_t n = 0;
    while (n < chars && p[n] != L'\0')
        ++n;
    return std::wstring(p, n);
}

// One XcvData request without input; the kept status is that of the last call made.
DWORD XcvString(HANDLE hXcv, const wchar_t* pszRequest, std::wstring& strOut)
{
    SpoolerPortApi& api = SpoolerPorts();
    DWORD cbNeeded = 0;
    DWORD dwStatus = ERROR_GEN_FAILURE;
    api.XcvData(hXcv, pszRequest, nullptr, 0, nullptr, 0, &cbNeeded, &dwStatus);
    strOut.clear();
    if (dwStatus == ERROR_INSUFFICIENT_BUFFER) {
        DebugLogAlways(L"inside ERROR_INSUFFICIENT_BUFFER");
        std::vector<BYTE> block(size_t{cbNeeded} * 4 + sizeof(wchar_t), 0);
        DWORD cbNow = 0;
        api.XcvData(hXcv, pszRequest, nullptr, 0, block.data(), cbNeeded, &cbNow, &dwStatus);
        strOut = WideTextOf(block, cbNeeded);
    }
    return dwStatus;
}
}  // namespace

int WSDPrinterPort::IsWSDPort(const std::wstring& strPortName)
{
    SpoolerPortApi& api = SpoolerPorts();
    DebugLogAlways(L"inside IsWSDPort()");
    DWORD cbNeeded = 0;
    DWORD nPorts = 0;
    if (!api.EnumPorts(nullptr, 2, nullptr, 0, &cbNeeded, &nPorts) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        DebugLogAlways(L"Get Last Error : [%d]", static_cast<int>(GetLastError()));
        return 0;
    }
    if (cbNeeded == 0)
        return 0;  // no ports at all
    std::unique_ptr<BYTE[]> list(new (std::nothrow) BYTE[cbNeeded]);
    if (!list) {
        DebugLogAlways(L"m_pti Memory error, Get Last Error : [%d]", static_cast<int>(GetLastError()));
        return 0;
    }
    if (!api.EnumPorts(nullptr, 2, list.get(), cbNeeded, &cbNeeded, &nPorts)) {
        DebugLogAlways(L"Get Last Error : [%d]", static_cast<int>(GetLastError()));
        return 0;
    }
    const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(list.get());
    for (DWORD i = 0; i < nPorts; ++i) {
        const PORT_INFO_2W& port = ports[i];
        DebugLogAlways(L"%s", port.pMonitorName ? port.pMonitorName : L"");
        if (!port.pPortName || strPortName != port.pPortName)
            continue;
        if (!port.pMonitorName)
            return 0;
        if (std::wcscmp(port.pMonitorName, kWsdMonitorName) == 0 ||
            std::wcscmp(port.pMonitorName, kAdaptiveMonitorName) == 0)
            return 1;
    }
    return 0;
}

int WSDPrinterPort::GetXcvData(const std::wstring& strPortName)
{
    SpoolerPortApi& api = SpoolerPorts();
    DebugLogAlways(L"inside GetXcvData");
    std::wstring strXcvName = (L",XcvPort " + strPortName).substr(0, 259);
    DebugLogAlways(L"b4 openport GetXcvData");
    DebugLogAlways(L"%s", strXcvName.c_str());
    HANDLE hXcv = nullptr;
    if (!api.OpenPrinter(strXcvName.data(), &hXcv, nullptr)) {
        DebugLogAlways(L"inside failure of  XCV OpenPrinter");
        LogLastError();
        return 0;
    }
    DebugLogAlways(L"inside XCVPort");
    std::wstring strDeviceID;
    std::wstring strPnPXID;
    DWORD dwDeviceStatus = XcvString(hXcv, L"DeviceID", strDeviceID);
    DWORD dwPnPXStatus = XcvString(hXcv, L"PnPXID", strPnPXID);
    api.ClosePrinter(hXcv);
    DebugLogAlways(L"Inside GetXcvData:WSD Device id: %s", strDeviceID.c_str());
    DebugLogAlways(L"Inside GetXcvData:WSD PnPXID: %s", strPnPXID.c_str());
    if (dwDeviceStatus != ERROR_SUCCESS || dwPnPXStatus != ERROR_SUCCESS) {
        DebugLogAlways(L"Inside WSDPrinterPort::GetXcvData failure");
        return 0;
    }
    DebugLogAlways(L"Inside WSDPrinterPort::GetXcvData success");
    return QueryRegistryWsdIP(strDeviceID, strPnPXID) ? 1 : 0;
}

bool WSDPrinterPort::QueryRegistryWsdIP(const std::wstring& strDeviceID, const std::wstring& strPnPXID)
{
    std::wstring strKey = L"System\\CurrentControlSet\\Enum\\" + strDeviceID + L"\\UMB";
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    DebugLogAlways(L"Inside QueryRegistryWsdIP: found device key");
    wchar_t szName[261] = {};
    for (DWORD index = 0;; ++index) {
        LONG ret = RegEnumKeyW(hKey, index, szName, 260);
        // A name too long for the buffer is skipped; any other error ends the walk, or a
        // key deleted meanwhile would answer the same error at every index, for ever.
        if (ret == ERROR_MORE_DATA)
            continue;
        if (ret != ERROR_SUCCESS) {
            DebugLogAlways(L"No WSD PNPXid keys");
            DebugLogAlways(L"not found device");
            RegCloseKey(hKey);
            return false;
        }
        DebugLogAlways(L"%s", szName);
        DebugLogAlways(L"inside found");
        if (std::wstring(szName).find(strPnPXID) != std::wstring::npos)
            break;
    }
    DebugLogAlways(L"PNPXid substring found");
    DebugLogAlways(L"inside true");
    HKEY hSub = nullptr;
    if (RegOpenKeyExW(hKey, szName, 0, KEY_READ, &hSub) != ERROR_SUCCESS) {
        DebugLogAlways(L"found is false");
        RegCloseKey(hKey);
        return false;
    }
    bool bFound = false;
    DWORD cbValue = 0;
    DWORD dwType = 0;
    if (RegQueryValueExW(hSub, L"LocationInformation", nullptr, &dwType, nullptr, &cbValue) != ERROR_SUCCESS) {
        DebugLogAlways(L"not found pnp");
    } else {
        DebugLogAlways(L"getting LocationInformation");
        std::vector<BYTE> block(size_t{cbValue} * 4 + sizeof(wchar_t), 0);
        DWORD cbRead = cbValue * 4;
        if (RegQueryValueExW(hSub, L"LocationInformation", nullptr, &dwType, block.data(), &cbRead) != ERROR_SUCCESS) {
            DebugLogAlways(L"LocationInformation key not found");
        } else {
            // Shown and logged: the registry's text may hold anything.
            const std::wstring strLocation = PrintableText(WideTextOf(block, cbRead).substr(0, 259));
            m_strLocation = strLocation;
            DebugLogAlways(L"%s", strLocation.c_str());
            std::wstring strHost;
            WsdCut cut = CutWsdHost(strLocation, strHost);
            if (cut == WsdCut::NoHttp) {
                DebugLogAlways(L"not found http");
            } else {
                DebugLogAlways(L"Found http");
                if (cut == WsdCut::NoHost) {
                    DebugLogAlways(L"not found colon");
                } else {
                    DebugLogAlways(L"found colon");
                    m_strHost = strHost.substr(0, kWsdIPChars - 1);
                    DebugLogAlways(L"%s", m_strHost.c_str());
                    bFound = true;
                }
            }
        }
    }
    RegCloseKey(hSub);
    RegCloseKey(hKey);
    return bFound;
}

int WSDPrinterPort::GetWsdIP(const std::wstring& strPortName, std::wstring& strAddress)
{
    if (!IsWSDPort(strPortName)) {
        DebugLogAlways(L"Inside GetWsdIP: IsWSDPort check fail");
        return 0;
    }
    DebugLogAlways(L"Inside GetWsdIP: IsWSDPort success");
    int nResult = GetXcvData(strPortName);
    if (nResult)
        strAddress = RemoveBrackets(m_strHost);
    return nResult;
}
