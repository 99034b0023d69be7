// A port monitor that stands in for the platform's WSD Port Monitor: the spooler loads
// it once AddMonitorW has registered it. Its ports are the subkeys of its Ports key,
// and XcvDataW hands out a port's "DeviceID" and "PnPXID" values as wide strings; for a
// port without them XcvDataW fails; a port with "AnswerAfterSeconds" answers that late.
// Built a second time as the adaptive monitor ("WSD Port"): a port with "APPortUrl"
// answers "CheckAPPortSupport", and "GetAPPortInfo" with that URL, "APPortProtocol"
// (default 2, IPP) and "APPortVersion" (default 1); "APPortUnterminated" fills the URL
// field to its end. Jobs on its ports take Wine's port redirect.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <algorithm>
#include <optional>
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

std::optional<std::wstring> PortValue(const std::wstring& strKey, const wchar_t* pszName)
{
    wchar_t szValue[MAX_PATH] = {};
    DWORD cbValue = sizeof(szValue);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, strKey.c_str(), pszName, RRF_RT_REG_SZ, nullptr, szValue, &cbValue) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return szValue;
}

DWORD AnswerApPort(const std::wstring& strKey, LPCWSTR pszDataName, PBYTE pOutputData, DWORD cbOutputData,
                   PDWORD pcbOutputNeeded)
{
    const std::optional<std::wstring> url = PortValue(strKey, L"APPortUrl");
    if (!url)
        return ERROR_INVALID_PARAMETER;  // as a system without the adaptive monitor answers
    const std::wstring& strUrl = *url;
    const DWORD cbAnswer = std::wstring(pszDataName) == L"GetAPPortInfo" ? 8 + 520 : sizeof(DWORD);
    *pcbOutputNeeded = cbAnswer;
    if (!pOutputData || cbOutputData < cbAnswer)
        return ERROR_INSUFFICIENT_BUFFER;
    std::fill(pOutputData, pOutputData + cbAnswer, BYTE{0});
    if (cbAnswer == sizeof(DWORD))
        return ERROR_SUCCESS;
    const DWORD header[2] = {static_cast<DWORD>(_wtoi(PortValue(strKey, L"APPortVersion").value_or(L"1").c_str())),
                             static_cast<DWORD>(_wtoi(PortValue(strKey, L"APPortProtocol").value_or(L"2").c_str()))};
    std::copy_n(reinterpret_cast<const BYTE*>(header), sizeof(header), pOutputData);
    auto* pUrl = reinterpret_cast<wchar_t*>(pOutputData + sizeof(header));
    std::copy_n(strUrl.c_str(), std::min<size_t>(strUrl.size(), 259), pUrl);
    if (PortValue(strKey, L"APPortUnterminated"))
        std::fill(pUrl + std::min<size_t>(strUrl.size(), 259), pUrl + 260, L'x');
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
