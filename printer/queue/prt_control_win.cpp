// CPrtControl: the printer list, the default printer and the current printer.
#include "printer/queue/prt_control.h"

#include <cwchar>

#include "common/debug_log.h"
#include "printer/queue/os_version_code.h"
#include "printer/queue/spooler_api.h"

namespace {
constexpr int kNameChars = 260;
constexpr DWORD kDeviceValueBytes = 512;
const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\";

// "Office Printer,winspool,Ne00:" names "Office Printer"; a text without a comma names nothing.
std::wstring NameBeforeFirstComma(const std::wstring& strText)
{
    const size_t nComma = strText.find(L',');
    return nComma == std::wstring::npos ? std::wstring() : strText.substr(0, nComma);
}

// Registry text as stored: its length comes from the byte count, not from a terminator.
std::wstring TextOfRegistryData(const wchar_t* pData, DWORD cbData)
{
    const size_t nChars = cbData / sizeof(wchar_t);
    return std::wstring(pData, wcsnlen(pData, nChars));
}
}  // namespace

CPrtControl::CPrtControl() { RefreshPrinterList(); }

CPrtControl::~CPrtControl()
{
    ReleaseDocument();
    delete[] m_pPrinterList;
}

int CPrtControl::RefreshPrinterList()
{
    delete[] m_pPrinterList;
    m_pPrinterList = nullptr;
    m_nCount = 0;

    const SpoolerApi& api = Spooler();
    const DWORD dwFlags = PRINTER_ENUM_LOCAL;
    int nResult = 0;
    // A printer added or removed between the size query and the read makes the read
    // fail (buffer too small, record gone): ask again.
    for (int nTry = 0; nTry < 3 && nResult == 0; ++nTry) {
        DWORD cbNeeded = 0;
        DWORD nReturned = 0;
        const BOOL bSized = api.EnumPrintersW(dwFlags, nullptr, 2, nullptr, 0, &cbNeeded, &nReturned);
        if (cbNeeded == 0) {
            nResult = bSized ? 1 : 0;  // no printers installed is a list, an empty one
            break;
        }
        BYTE* pBuffer = new BYTE[cbNeeded];
        if (api.EnumPrintersW(dwFlags, nullptr, 2, pBuffer, cbNeeded, &cbNeeded, &nReturned)) {
            m_pPrinterList = pBuffer;
            m_nCount = static_cast<int>(nReturned);
            nResult = 1;
        } else {
            delete[] pBuffer;
        }
    }
    m_nCurrentIndex = GetDefaultPrinterIndex();
    return nResult;
}

int CPrtControl::SetCurrentIndex(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_nCount)
        m_nCurrentIndex = nIndex;
    return 1;
}

const PRINTER_INFO_2W* CPrtControl::GetPrinterInfo(int nIndex) const
{
    if (!m_pPrinterList || nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    return reinterpret_cast<const PRINTER_INFO_2W*>(m_pPrinterList) + nIndex;
}

std::wstring CPrtControl::GetPrinterDisplayName(int nIndex) const
{
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(nIndex);
    if (!pInfo || !pInfo->pPrinterName)
        return {};
    return std::wstring(pInfo->pPrinterName) + L"    ";
}

std::wstring CPrtControl::GetPrinterPortName(int nIndex) const
{
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(nIndex);
    if (!pInfo || !pInfo->pPortName)
        return {};
    return pInfo->pPortName;
}

int CPrtControl::SetCurrentPrinter(const std::wstring& strName)
{
    if (!strName.empty() && m_pPrinterList) {
        for (int i = 0; i < m_nCount; ++i) {
            const PRINTER_INFO_2W* pInfo = GetPrinterInfo(i);
            if (pInfo->pPrinterName && _wcsicmp(pInfo->pPrinterName, strName.c_str()) == 0) {
                m_nCurrentIndex = i;
                break;
            }
        }
    }
    DebugLog(L"SetCurrentPrinter / Search model: %s Index: %d", strName.c_str(), m_nCurrentIndex);
    return m_nCurrentIndex;
}

int CPrtControl::GetOSVersionCode()
{
    OSVERSIONINFOEXW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&osvi)))
        return -1;
    DebugLog(L"[OS] dwMajorVersion : %d / dwMinorVersion : %d", static_cast<int>(osvi.dwMajorVersion),
             static_cast<int>(osvi.dwMinorVersion));
    OSVERSIONINFOW osviBasic = {};
    osviBasic.dwOSVersionInfoSize = sizeof(osviBasic);
    if (!GetVersionExW(&osviBasic))
        return -1;
    return OSVersionCodeOf(osviBasic.dwPlatformId, osviBasic.dwMajorVersion, osviBasic.dwMinorVersion,
                           osviBasic.szCSDVersion[0] ? osviBasic.szCSDVersion[1] : L'\0');
}

int CPrtControl::GetDefaultPrinterIndex()
{
    std::wstring strName;
    switch (DefaultPrinterWayOf(GetOSVersionCode())) {
    case DefaultPrinterWay::Win9x:
        strName = Get9xDefaultPrinter();
        break;
    case DefaultPrinterWay::WinNT:
        strName = GetNTDefaultPrinter();
        break;
    case DefaultPrinterWay::Win2k:
        DebugLog(L"WIN_2K/WIN_XP/WIN_2003/LH  GetWin2kDefaultPrinter");
        strName = GetWin2kDefaultPrinter();
        break;
    case DefaultPrinterWay::Win2kFallback:
        DebugLog(L"default  GetWin2kDefaultPrinter");
        strName = GetWin2kDefaultPrinter();
        break;
    }
    if (strName.empty() || !m_pPrinterList)
        return 0;
    for (int i = 0; i < m_nCount; ++i) {
        const PRINTER_INFO_2W* pInfo = GetPrinterInfo(i);
        if (pInfo->pPrinterName && _wcsicmp(pInfo->pPrinterName, strName.c_str()) == 0)
            return i;
    }
    return 0;
}

std::wstring CPrtControl::Get9xDefaultPrinter()
{
    for (int i = 0; i < m_nCount; ++i) {
        const PRINTER_INFO_2W* pInfo = GetPrinterInfo(i);
        if ((pInfo->Attributes & PRINTER_ATTRIBUTE_DEFAULT) && pInfo->pPrinterName)
            return pInfo->pPrinterName;
    }
    return {};
}

std::wstring CPrtControl::GetNTDefaultPrinter()
{
    wchar_t szDevice[kNameChars] = {};
    GetProfileStringW(L"windows", L"device", L",,,", szDevice, kNameChars);
    return NameBeforeFirstComma(szDevice);
}

std::wstring CPrtControl::GetWin2kDefaultPrinter()
{
    wchar_t szName[kNameChars] = {};
    DWORD nChars = kNameChars;
    if (Spooler().GetDefaultPrinterW(szName, &nChars)) {
        szName[kNameChars - 1] = L'\0';
        return szName;
    }

    DebugLog(L"[KVQ] Get the DefaultPrinter from Registry : %s", kWindowsKey);
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        DebugLog(L"[KVQ] Get the DefaultPrinter from Registry : HKEY_CURRENT_USER: No KEY Error");
        return {};
    }
    // One spare character, so even a value that fills all 512 bytes ends in a terminator.
    wchar_t szDevice[kDeviceValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD cbData = kDeviceValueBytes;
    const LSTATUS status =
        RegQueryValueExW(hKey, L"Device", nullptr, nullptr, reinterpret_cast<BYTE*>(szDevice), &cbData);
    RegCloseKey(hKey);
    if (status != ERROR_SUCCESS) {
        DebugLog(L"[KVQ]  Get the DefaultPrinter from Registry : HKEY_CURRENT_USER: KVQ DefaultPrinter Error");
        return {};
    }
    const std::wstring strName = NameBeforeFirstComma(TextOfRegistryData(szDevice, cbData));
    DebugLog(L"[KVQ] Get the DefaultPrinter from Registry : HKEY_CURRENT_USER : %s", strName.c_str());
    return strName;
}
