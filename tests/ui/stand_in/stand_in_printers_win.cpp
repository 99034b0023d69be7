// Stand-in printer list and capability check for the UI tests, used until the
// printer code is part of the tree. Reads the Wine prefix's printers like the real
// list does; the capability: the "FILE:" port's fixed string, else a device ID kept
// in the printer's comment ("MFG:T;CMD:PDF;"), "BUSY" for a printer that does not
// answer, anything else not supported.
#include <string>

#include "printer/check_supported_types.h"
#include "printer/queue/prt_control.h"
#include "ui/printer_check.h"

std::atomic<bool> g_bUnsupportedPort{false};

CPrtControl::CPrtControl() { RefreshPrinterList(); }

CPrtControl::~CPrtControl() { delete[] m_pPrinterList; }

int CPrtControl::RefreshPrinterList()
{
    delete[] m_pPrinterList;
    m_pPrinterList = nullptr;
    m_nCount = 0;
    DWORD dwNeeded = 0, dwCount = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &dwNeeded, &dwCount);
    int nResult = 0;
    if (dwNeeded) {
        m_pPrinterList = new BYTE[dwNeeded];
        if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, m_pPrinterList, dwNeeded, &dwNeeded, &dwCount)) {
            m_nCount = static_cast<int>(dwCount);
            nResult = 1;
        } else {
            delete[] m_pPrinterList;
            m_pPrinterList = nullptr;
        }
    }
    m_nCurrentIndex = GetDefaultPrinterIndex();
    return nResult;
}

const PRINTER_INFO_2W* CPrtControl::GetPrinterInfo(int nIndex) const
{
    if (!m_pPrinterList || nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    return reinterpret_cast<const PRINTER_INFO_2W*>(m_pPrinterList) + nIndex;
}

int CPrtControl::SetCurrentIndex(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_nCount)
        m_nCurrentIndex = nIndex;
    return 1;
}

std::wstring CPrtControl::GetPrinterDisplayName(int nIndex) const
{
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(nIndex);
    return pInfo ? std::wstring(pInfo->pPrinterName) + L"    " : std::wstring();
}

std::wstring CPrtControl::GetPrinterPortName(int nIndex) const
{
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(nIndex);
    return pInfo && pInfo->pPortName ? std::wstring(pInfo->pPortName) : std::wstring();
}

int CPrtControl::SetCurrentPrinter(const std::wstring& strName)
{
    for (int i = 0; !strName.empty() && i < m_nCount; ++i)
        if (lstrcmpiW(GetPrinterInfo(i)->pPrinterName, strName.c_str()) == 0) {
            m_nCurrentIndex = i;
            break;
        }
    return m_nCurrentIndex;
}

int CPrtControl::GetDefaultPrinterIndex()
{
    wchar_t szName[260] = {};
    DWORD dwSize = 260;
    if (!GetDefaultPrinterW(szName, &dwSize))
        return 0;
    for (int i = 0; i < m_nCount; ++i)
        if (lstrcmpiW(GetPrinterInfo(i)->pPrinterName, szName) == 0)
            return i;
    return 0;
}

int CPrtControl::GetCurrentPrinterDeviceID(std::wstring& strDeviceID)
{
    g_bUnsupportedPort = false;
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(m_nCurrentIndex);
    if (!pInfo)
        return 0;
    if (pInfo->pPortName && lstrcmpiW(pInfo->pPortName, L"FILE:") == 0) {
        strDeviceID = L"CMD:PDF,JPEG,BMP,PNG,TIFF;";
        return 1;
    }
    const std::wstring strComment = pInfo->pComment ? pInfo->pComment : L"";
    if (strComment.find(L"CMD:") != std::wstring::npos) {
        strDeviceID = strComment;
        return 1;
    }
    g_bUnsupportedPort = strComment != L"BUSY";
    return 0;
}

int CheckSupportedTypes(CPrtControl& prtControl)
{
    std::wstring strDeviceID;
    if (prtControl.GetCurrentPrinterDeviceID(strDeviceID) != 1)
        return g_bUnsupportedPort ? 0 : -1;
    const size_t nStart = strDeviceID.find(L"CMD:");
    const size_t nEnd = nStart == std::wstring::npos ? nStart : strDeviceID.find(L';', nStart);
    const std::wstring strField = nEnd == std::wstring::npos ? L"" : strDeviceID.substr(nStart, nEnd - nStart);
    auto has = [&](const wchar_t* lower, const wchar_t* upper) {
        return strField.find(lower) != std::wstring::npos || strField.find(upper) != std::wstring::npos;
    };
    int nMask = 0;
    nMask += has(L"pdf", L"PDF") ? 1 : 0;
    nMask += has(L"jpeg", L"JPEG") ? 2 : 0;
    nMask += has(L"bmp", L"BMP") ? 16 : 0;
    nMask += has(L"png", L"PNG") ? 8 : 0;
    nMask += has(L"tiff", L"TIFF") ? 4 : 0;
    return nMask;
}

// No route: the stand-in's printers give no state.
int CheckSupportedTypes(CPrtControl& prtControl, DeviceIdRoute&) { return CheckSupportedTypes(prtControl); }
