#include "printer/port/port_device_id.h"

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <new>
#include <utility>

#include "common/debug_log.h"
#include "printer/device/local_device_id.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/port/ap_port.h"
#include "printer/port/ipp_beside_snmp.h"
#include "printer/port/printer_url_port.h"
#include "printer/snmp/snmp_printer_route.h"
#include "printer/state/port_kind.h"
#include "printer/port/port_monitors.h"
#include "printer/state/supported_types.h"
#include "printer/port/spooler_port_api.h"
#include "printer/port/wsd_printer_port.h"

namespace {
// A REG_SZ value of at most 520 bytes.
bool ReadString(HKEY hKey, const wchar_t* pszName, std::wstring& strValue)
{
    wchar_t szValue[261] = {};
    DWORD cb = 520;
    DWORD dwType = 0;
    if (RegQueryValueExW(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &cb) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return false;
    strValue = szValue;  // the spare character keeps it terminated
    return true;
}

const wchar_t* TrueFalse(int n) { return n ? L"TRUE" : L"FALSE"; }

struct NetworkLookup {
    int nResult = 0;
    bool bAttempted = false;
    bool bTargetsOnly = false;  // note every target, ask none
    std::wstring strCommunity;  // empty when the port has no Standard TCP/IP key
    DeviceIdRoute* pRoute = nullptr;

    // One SNMP lookup; its target goes into the route.
    void Ask(const std::wstring& strAddress, const std::wstring& strUseCommunity, std::wstring& strDeviceID,
             const WSDPrinterPort* pWsd = nullptr)
    {
        auto pSnmp = std::make_shared<SnmpPrinterRoute>(strAddress, strUseCommunity);
        if (!bTargetsOnly)
            nResult = pSnmp->ReadDeviceID(strDeviceID);
        bAttempted = true;
        if (!pRoute)
            return;
        SnmpRequestRoute& request = pRoute->arrSnmp.emplace_back();
        request.strAddress = strAddress;
        request.strCommunity = strUseCommunity;
        request.bWsd = pWsd != nullptr;
        request.strWsdLocation = pWsd ? pWsd->m_strLocation : std::wstring();
        request.bDelivered = nResult == 1;
        request.bNotSnmp = pSnmp->AnsweredNotAsSnmp();
        if (nResult == 1 && !strAddress.empty() && !pRoute->answered)
            pRoute->answered = pSnmp;
    }

    void NoteIpp(const IppRequestRoute& request, std::shared_ptr<IppPrinterRoute> pIpp)
    {
        if (!pRoute)
            return;
        pRoute->arrIpp.push_back(request);
        if (request.bAnswered && pIpp && !pRoute->answered)
            pRoute->answered = std::move(pIpp);
    }

    // One IPP lookup at a URL a port gave.
    void AskIpp(const std::wstring& strUrl, std::wstring& strDeviceID)
    {
        bAttempted = true;
        if (bTargetsOnly)
            return;
        auto pIpp = std::make_shared<IppPrinterRoute>(strUrl);
        nResult = pIpp->ReadDeviceID(strDeviceID);
        NoteIpp(pIpp->Request(), pIpp);
    }

    // SNMP at a Standard TCP/IP address, and IPP at the same address at the same time. SNMP
    // wins when it gives a device ID; IPP's answer is waited for only when it does not.
    void AskBesideIpp(const std::wstring& strAddress, std::wstring& strDeviceID)
    {
        if (bTargetsOnly) {
            Ask(strAddress, strCommunity, strDeviceID);
            return;
        }
        IppBesideSnmp ipp(strAddress);
        Ask(strAddress, strCommunity, strDeviceID);
        if ((nResult == 1 && !strDeviceID.empty()) || !ipp.Started())
            return;
        std::wstring strIppID;
        IppRequestRoute request;
        const int nIppResult = ipp.Wait(strIppID, request);
        NoteIpp(request, nullptr);
        // An agent that answered without an ID keeps its answer unless IPP gave one.
        if (nIppResult == 1 && (nResult != 1 || !strIppID.empty())) {
            nResult = 1;
            strDeviceID = strIppID;
            if (pRoute)
                pRoute->answered = ipp.Route();
        }
    }
};

void QueryStandardTcpIp(const std::wstring& strPortName, NetworkLookup& lookup, std::wstring& strDeviceID)
{
    std::wstring strKey = std::wstring(kStandardTcpIpPortKey) + strPortName;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        DebugLog(L"Can't Open reg Key(%s)", strKey.c_str());
        return;
    }
    if (ReadString(hKey, L"SNMP Community", lookup.strCommunity)) {
        DebugLog(L"[SNMP Community] SNMP Community is %s", lookup.strCommunity.c_str());
    } else {
        DebugLog(L"[SNMP Community] Can't query ip reg value / default : mirlan");
        lookup.strCommunity = kDefaultCommunity;
    }

    std::wstring strValue;
    DebugLog(L"[HostName] Read IPAddress");
    if (!ReadString(hKey, L"IPAddress", strValue)) {
        DebugLog(L"[IPAddress]Can't query ip reg value");
    } else if (strValue.empty()) {
        DebugLog(L"[IPAddress] IPAddress is Empty");
    } else {
        DebugLog(L"[IPAddress] IP is %s", strValue.c_str());
        lookup.AskBesideIpp(strValue, strDeviceID);
        DebugLog(L"[IPAddress] GetNetworkDeviceID : ret : %s", TrueFalse(lookup.nResult));
    }

    if (lookup.nResult == 1) {
        DebugLog(L"[HostName] got IP Address from IPAddress KEY \n No more try");
    } else {
        DebugLog(L"[HostName] Read HostName");
        if (!ReadString(hKey, L"HostName", strValue)) {
            DebugLog(L"[HostName] Can't query ip reg value");
        } else if (strValue.empty()) {
            DebugLog(L"[HostName] HostName is Empty");
        } else {
            DebugLog(L"[HostName] Host is %s", strValue.c_str());
            lookup.AskBesideIpp(strValue, strDeviceID);
            DebugLog(L"[HostName] GetNetworkDeviceID : ret : %s", TrueFalse(lookup.nResult));
        }
    }
    RegCloseKey(hKey);
}

void QueryVendorMonitors(const std::wstring& strPortName, NetworkLookup& lookup, std::wstring& strDeviceID)
{
    for (const VendorPortMonitor& monitor : kVendorPortMonitors) {
        DebugLog(L"%s", monitor.pszName);
        std::wstring strKey = std::wstring(monitor.pszKeyPrefix) + strPortName;
        HKEY hKey = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
            DebugLog(L"%s", monitor.pszNotOpened);
            continue;
        }
        DebugLog(L"%s", monitor.pszOpened);
        std::wstring strIP;
        if (!ReadString(hKey, L"IP", strIP)) {
            DebugLog(L"%s", monitor.pszNoValue);
            RegCloseKey(hKey);
            continue;
        }
        DebugLog(L"IP is %s", strIP.c_str());
        // Without a Standard TCP/IP key there is no community of the port's own: the
        // default one, as for WSD ports.
        lookup.Ask(strIP, lookup.strCommunity.empty() ? kDefaultCommunity : lookup.strCommunity, strDeviceID);
        RegCloseKey(hKey);
    }
}

// A port of the adaptive monitor whose printer speaks IPP goes there; any other answer
// leaves the port to the WSD route. A monitor's answer that cannot be taken is noted.
ApPortAnswer QueryApPort(const std::wstring& strPortName, NetworkLookup& lookup, std::wstring& strDeviceID)
{
    ApPortAnswer answer = AskApPort(strPortName);
    if (answer.kind == ApPortAnswer::Kind::Ipp)
        lookup.AskIpp(answer.strUrl, strDeviceID);
    else if (answer.kind == ApPortAnswer::Kind::Refused) {
        lookup.bAttempted = true;
        lookup.NoteIpp({L"", false, answer.strWhy}, nullptr);
    }
    return answer;
}

bool IsWsdMonitor(const wchar_t* pszMonitor)
{
    return _wcsicmp(pszMonitor, kWsdMonitorName) == 0 || _wcsicmp(pszMonitor, kAdaptiveMonitorName) == 0;
}

// bSaysWsd: the port answered as an adaptive port of a WSD device, whatever its monitor's name.
void QueryWsdPorts(const std::wstring& strPortName, NetworkLookup& lookup, std::wstring& strDeviceID, bool bSaysWsd)
{
    SpoolerPortApi& api = SpoolerPorts();
    DWORD cbNeeded = 0;
    DWORD nPorts = 0;
    api.EnumPorts(nullptr, 2, nullptr, 0, &cbNeeded, &nPorts);
    if (cbNeeded == 0)
        return;
    std::unique_ptr<BYTE[]> list(new (std::nothrow) BYTE[cbNeeded]);
    if (!list || !api.EnumPorts(nullptr, 2, list.get(), cbNeeded, &cbNeeded, &nPorts))
        return;
    const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(list.get());
    auto IsThisPort = [&](const PORT_INFO_2W& port) {
        return port.pPortName && port.pMonitorName && _wcsicmp(port.pPortName, strPortName.c_str()) == 0;
    };
    // A port the monitor's answer names WSD is asked once, unless a WSD monitor lists it anyway.
    for (DWORD i = 0; i < nPorts && bSaysWsd; ++i)
        bSaysWsd = !(IsThisPort(ports[i]) && IsWsdMonitor(ports[i].pMonitorName));
    for (DWORD i = 0; i < nPorts; ++i) {
        if (!IsThisPort(ports[i]))
            continue;
        const bool bWsdMonitor = IsWsdMonitor(ports[i].pMonitorName);
        if (!bWsdMonitor && !std::exchange(bSaysWsd, false))
            continue;
        WSDPrinterPort wsd;
        std::wstring strAddress;
        if (bWsdMonitor)
            wsd.GetWsdIP(ports[i].pPortName, strAddress);
        else if (wsd.GetXcvData(ports[i].pPortName))
            strAddress = RemoveBrackets(wsd.m_strHost);
        // An unresolved WSD port is still asked (with no address), so it counts as busy.
        lookup.Ask(strAddress, kDefaultCommunity, strDeviceID, &wsd);
    }
}

int NetworkDeviceIDForPort(const std::wstring& strPortName, std::wstring& strDeviceID, bool& bUnsupportedPort,
                           DeviceIdRoute* pRoute)
{
    DebugLog(L"NW IP Port");
    DebugLog(L"Standard TCP/IP Port");
    NetworkLookup lookup;
    lookup.pRoute = pRoute;
    if (IsPrinterUrl(strPortName)) {
        lookup.AskIpp(strPortName, strDeviceID);
        return lookup.nResult;
    }
    QueryStandardTcpIp(strPortName, lookup, strDeviceID);
    if (lookup.nResult != 1) {
        DebugLog(L"Not support : Standard TCP/IP Port");
        QueryVendorMonitors(strPortName, lookup, strDeviceID);
        const ApPortAnswer apPort = QueryApPort(strPortName, lookup, strDeviceID);
        if (apPort.kind != ApPortAnswer::Kind::Ipp)
            QueryWsdPorts(strPortName, lookup, strDeviceID, apPort.kind == ApPortAnswer::Kind::Wsd);
        if (!lookup.bAttempted)
            bUnsupportedPort = true;
    }
    return lookup.nResult;
}
}  // namespace

int DeviceIDForPort(const std::wstring& strPortName, std::wstring& strDeviceID, bool& bUnsupportedPort,
                    DeviceIdRoute* pRoute)
{
    bUnsupportedPort = false;
    DebugLog(L"PortName is %s", strPortName.c_str());
    PortKind kind = ClassifyPort(strPortName);
    if (pRoute) {
        pRoute->strPortName = strPortName;
        pRoute->kind = kind;
    }
    int nResult = 0;
    switch (kind) {
    case PortKind::Usb:
        DebugLog(L"%s", PortKindLabel(kind));
        return LocalUSBDeviceID(strPortName, strDeviceID);
    case PortKind::Parallel:
        DebugLog(L"%s", PortKindLabel(kind));
        return LocalLPTDeviceID(strPortName, strDeviceID);
    case PortKind::File:
        DebugLog(L"%s", PortKindLabel(kind));
        strDeviceID = kFilePortDeviceID;
        return 1;
    case PortKind::Network:
        nResult = NetworkDeviceIDForPort(strPortName, strDeviceID, bUnsupportedPort, pRoute);
        break;
    }
    DebugLog(L"GetCurrentPrinterDeviceID : strDeviceID : %s", strDeviceID.c_str());
    return nResult;
}

int DeviceIDForPort(const std::wstring& strPortName, std::wstring& strDeviceID, DeviceIdRoute* pRoute)
{
    bool bUnsupportedPort = false;
    const int nResult = DeviceIDForPort(strPortName, strDeviceID, bUnsupportedPort, pRoute);
    g_bUnsupportedPort = bUnsupportedPort;
    return nResult;
}

std::vector<SnmpRequestRoute> SnmpTargetsOfPort(const std::wstring& strPortName)
{
    DeviceIdRoute route;
    if (ClassifyPort(strPortName) != PortKind::Network)
        return {};
    NetworkLookup lookup;
    lookup.bTargetsOnly = true;
    lookup.pRoute = &route;
    std::wstring strUnused;
    QueryStandardTcpIp(strPortName, lookup, strUnused);
    QueryVendorMonitors(strPortName, lookup, strUnused);
    QueryWsdPorts(strPortName, lookup, strUnused, AskApPort(strPortName).kind == ApPortAnswer::Kind::Wsd);
    return route.arrSnmp;
}

int SupportedTypesOfPort(const std::wstring& strPortName, DeviceIdRoute* pRoute)
{
    std::wstring strDeviceID;
    bool bUnsupportedPort = false;
    const int nResult = DeviceIDForPort(strPortName, strDeviceID, bUnsupportedPort, pRoute);
    g_bUnsupportedPort = bUnsupportedPort;
    return SupportedTypesOfLookup(nResult, bUnsupportedPort, strDeviceID);
}
