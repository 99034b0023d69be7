// A port monitor that stands in for the platform's WSD Port Monitor: the spooler loads
// it once AddMonitorW has registered it. Its ports are the subkeys of its Ports key,
// and XcvDataW hands out a port's "DeviceID" and "PnPXID" values as wide strings; for a
// port without them XcvDataW fails; a port with "AnswerAfterSeconds" answers that late.
// Built a second time as the adaptive monitor ("WSD Port"): a port with "APPortUrl" is an
// IPP port of that URL. Jobs on its ports take Wine's port redirect.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
#ifndef LUMEO_MONITOR_NAME
#define LUMEO_MONITOR_NAME L"WSD Port Monitor"
#endif
const std::wstring kMonitorName = LUMEO_MONITOR_NAME;
const std::wstring kPortsKey = L"System\\CurrentControlSet\\Control\\Print\\Monitors\\" + kMonitorName + L"\\Ports";
const std::wstring kDescription = L"WSD Port";

std::vector<std::wstring> PortNames()
{
    std::vector<std::wstring> names;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    wchar_t szName[MAX_PATH] = {};
    for (DWORD i = 0; RegEnumKeyW(hKey, i, szName, MAX_PATH) == ERROR_SUCCESS; ++i)
        names.push_back(szName);
    RegCloseKey(hKey);
    return names;
}

BOOL WINAPI ListPorts(HANDLE, LPWSTR, DWORD dwLevel, LPBYTE pPorts, DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    const std::vector<std::wstring> names = PortNames();
    const size_t cbEntry = dwLevel == 1 ? sizeof(PORT_INFO_1W) : sizeof(PORT_INFO_2W);
    size_t cbNeeded = 0;
    for (const std::wstring& strName : names)
        cbNeeded += cbEntry + (strName.size() + kMonitorName.size() + kDescription.size() + 3) * sizeof(wchar_t);
    *pcbNeeded = static_cast<DWORD>(cbNeeded);
    *pcReturned = 0;
    if (cbBuf < cbNeeded) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* pText = reinterpret_cast<wchar_t*>(pPorts + cbEntry * names.size());
    auto Copy = [&](const std::wstring& strText) {
        wchar_t* p = pText;
        pText = std::copy(strText.c_str(), strText.c_str() + strText.size() + 1, pText);
        return p;
    };
    for (size_t i = 0; i < names.size(); ++i) {
        auto* pInfo = reinterpret_cast<PORT_INFO_2W*>(pPorts + cbEntry * i);
        pInfo->pPortName = Copy(names[i]);
        if (dwLevel == 2) {
            pInfo->pMonitorName = Copy(kMonitorName);
            pInfo->pDescription = Copy(kDescription);
            pInfo->fPortType = PORT_TYPE_WRITE;
            pInfo->Reserved = 0;
        }
    }
    *pcReturned = static_cast<DWORD>(names.size());
    return TRUE;
}

BOOL WINAPI OpenXcv(HANDLE, LPCWSTR pszObject, ACCESS_MASK, PHANDLE phXcv)
{
    *phXcv = new std::wstring(kPortsKey + L"\\" + pszObject);
    return TRUE;
}

DWORD AnswerApPort(const std::wstring& strKey, LPCWSTR pszDataName, PBYTE pOutputData, DWORD cbOutputData,
                   PDWORD pcbOutputNeeded)
{
    const DWORD header[2] = {1, 2};  // version 1, IPP
    wchar_t szUrl[260] = {};
    DWORD cbUrl = sizeof(szUrl) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, strKey.c_str(), L"APPortUrl", RRF_RT_REG_SZ, nullptr, szUrl, &cbUrl) !=
        ERROR_SUCCESS)
        return ERROR_INVALID_PARAMETER;  // as a system without the adaptive monitor answers
    const bool bInfo = std::wstring(pszDataName) == L"GetAPPortInfo";
    *pcbOutputNeeded = bInfo ? sizeof(header) + sizeof(szUrl) : sizeof(DWORD);
    if (!pOutputData || cbOutputData < *pcbOutputNeeded)
        return ERROR_INSUFFICIENT_BUFFER;
    std::copy_n(reinterpret_cast<const BYTE*>(header), bInfo ? sizeof(header) : sizeof(DWORD), pOutputData);
    if (bInfo)
        std::copy_n(reinterpret_cast<const BYTE*>(szUrl), sizeof(szUrl), pOutputData + sizeof(header));
    return ERROR_SUCCESS;
}

DWORD WINAPI AnswerXcv(HANDLE hXcv, LPCWSTR pszDataName, PBYTE, DWORD, PBYTE pOutputData, DWORD cbOutputData,
                         PDWORD pcbOutputNeeded)
{
    const auto* pKey = static_cast<const std::wstring*>(hXcv);
    if (std::wstring(pszDataName) == L"CheckAPPortSupport" || std::wstring(pszDataName) == L"GetAPPortInfo")
        return AnswerApPort(*pKey, pszDataName, pOutputData, cbOutputData, pcbOutputNeeded);
    wchar_t szSeconds[16] = {};
    DWORD cbValue = sizeof(szSeconds);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, pKey->c_str(), L"AnswerAfterSeconds", RRF_RT_REG_SZ, nullptr, szSeconds,
                     &cbValue) == ERROR_SUCCESS)
        Sleep(static_cast<DWORD>(_wtoi(szSeconds)) * 1000);
    cbValue = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, pKey->c_str(), pszDataName, RRF_RT_REG_SZ, nullptr, nullptr, &cbValue) !=
        ERROR_SUCCESS)
        return ERROR_NOT_SUPPORTED;
    *pcbOutputNeeded = cbValue;
    if (cbOutputData < cbValue)
        return ERROR_INSUFFICIENT_BUFFER;
    return RegGetValueW(HKEY_LOCAL_MACHINE, pKey->c_str(), pszDataName, RRF_RT_REG_SZ, nullptr, pOutputData,
                        &cbOutputData);
}

BOOL WINAPI CloseXcv(HANDLE hXcv)
{
    delete static_cast<std::wstring*>(hXcv);
    return TRUE;
}
}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT, PHANDLE phMonitor)
{
    static MONITOR2 monitor = [] {
        MONITOR2 m = {};
        m.cbSize = sizeof(m);
        m.pfnEnumPorts = ListPorts;
        m.pfnXcvOpenPort = OpenXcv;
        m.pfnXcvDataPort = AnswerXcv;
        m.pfnXcvClosePort = CloseXcv;
        return m;
    }();
    *phMonitor = &monitor;
    return &monitor;
}
