// The printer list, the current printer and the default printer, read from
// Wine's spooler with test printers added to the prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "printer/queue/os_version_code.h"
#include "printer/queue/prt_control.h"
#include "printer/queue/spooler_api.h"
#include "tests/support/log_capture.h"
#include "tests/support/wine_printers.h"

namespace {
const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const wchar_t kUsbName[] = L"Lumeo List USB";
const wchar_t kNetName[] = L"Lumeo List Network";

// Sets the user's "Device" value for one test and puts the old one back.
class DeviceValue {
public:
    DeviceValue()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, nullptr, 0, KEY_READ | KEY_SET_VALUE, nullptr, &m_hKey,
                        nullptr);
        DWORD cb = sizeof(m_saved);
        m_bHadValue = RegQueryValueExW(m_hKey, L"Device", nullptr, &m_dwType, m_saved, &cb) == ERROR_SUCCESS;
        m_cbSaved = cb;
    }
    ~DeviceValue()
    {
        if (m_bHadValue)
            RegSetValueExW(m_hKey, L"Device", 0, m_dwType, m_saved, m_cbSaved);
        else
            RegDeleteValueW(m_hKey, L"Device");
        RegCloseKey(m_hKey);
    }
    void Set(const std::wstring& strValue) { SetBytes(strValue.c_str(), (strValue.size() + 1) * sizeof(wchar_t)); }
    void SetBytes(const void* pData, size_t cbData)
    {
        RegSetValueExW(m_hKey, L"Device", 0, REG_SZ, static_cast<const BYTE*>(pData), static_cast<DWORD>(cbData));
    }
    void Remove() { RegDeleteValueW(m_hKey, L"Device"); }

private:
    HKEY m_hKey = nullptr;
    BYTE m_saved[2048] = {};
    DWORD m_cbSaved = 0;
    DWORD m_dwType = REG_SZ;
    bool m_bHadValue = false;
};

BOOL WINAPI NoDefaultPrinter(LPWSTR, LPDWORD)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

BOOL WINAPI EnumerationDenied(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    *pcbNeeded = 0;
    *pcReturned = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The first full read finds the buffer too small, as when a printer was added after the size query.
int g_nEnumReads = 0;
BOOL WINAPI EnumerationRacingAnAddition(DWORD dwFlags, LPWSTR pName, DWORD dwLevel, LPBYTE pBuffer, DWORD cbBuf,
                                        LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    if (pBuffer && g_nEnumReads++ == 0) {
        *pcbNeeded = cbBuf + 64;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return WinspoolApi().EnumPrintersW(dwFlags, pName, dwLevel, pBuffer, cbBuf, pcbNeeded, pcReturned);
}

// The real list with the USB test printer marked as the default, as Windows 9x did.
BOOL WINAPI EnumerationMarkingUsbDefault(DWORD dwFlags, LPWSTR pName, DWORD dwLevel, LPBYTE pBuffer, DWORD cbBuf,
                                         LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    const BOOL bOk = WinspoolApi().EnumPrintersW(dwFlags, pName, dwLevel, pBuffer, cbBuf, pcbNeeded, pcReturned);
    if (bOk && pBuffer) {
        auto* pInfo = reinterpret_cast<PRINTER_INFO_2W*>(pBuffer);
        for (DWORD i = 0; i < *pcReturned; ++i)
            if (pInfo[i].pPrinterName && wcscmp(pInfo[i].pPrinterName, kUsbName) == 0)
                pInfo[i].Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    }
    return bOk;
}

int IndexOf(const CPrtControl& prt, const std::wstring& strName)
{
    for (int i = 0; i < prt.GetPrinterCount(); ++i)
        if (prt.GetPrinterInfo(i)->pPrinterName == strName)
            return i;
    return -1;
}
}  // namespace

class PrinterList : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pPrinters = new WinePrinters(L"List");
        s_bReady = s_pPrinters->AddRawPrinter(kUsbName, L"USB002") &&
                   s_pPrinters->AddRawPrinter(kNetName, L"IP_127.0.0.2");
    }
    static void TearDownTestSuite()
    {
        delete s_pPrinters;
        s_pPrinters = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_bReady) << "Wine did not accept the test printers"; }
    void TearDown() override { SetSpoolerApi(nullptr); }

    // The spooler with some calls replaced.
    static const SpoolerApi* With(SpoolerApi api)
    {
        static SpoolerApi s_api;
        s_api = api;
        SetSpoolerApi(&s_api);
        return &s_api;
    }

    // The list read by each test must not change under it.
    PrinterChangeLock m_lock;
    static WinePrinters* s_pPrinters;
    static bool s_bReady;
};
WinePrinters* PrinterList::s_pPrinters = nullptr;
bool PrinterList::s_bReady = false;

TEST_F(PrinterList, ListsTheInstalledPrintersWithNamesAndPorts)
{
    CPrtControl prt;
    const int nUsb = IndexOf(prt, kUsbName);
    const int nNet = IndexOf(prt, kNetName);
    ASSERT_GE(nUsb, 0);
    ASSERT_GE(nNet, 0);
    EXPECT_EQ(prt.GetPrinterPortName(nUsb), L"USB002");
    EXPECT_EQ(prt.GetPrinterPortName(nNet), L"IP_127.0.0.2");
    EXPECT_EQ(prt.GetPrinterDisplayName(nNet), std::wstring(kNetName) + L"    ");

    const int nCount = prt.GetPrinterCount();
    EXPECT_EQ(prt.GetPrinterDisplayName(nCount), L"");
    EXPECT_EQ(prt.GetPrinterDisplayName(-1), L"");
    EXPECT_EQ(prt.GetPrinterPortName(nCount), L"");
    EXPECT_EQ(prt.GetPrinterInfo(nCount), nullptr);
    EXPECT_EQ(prt.RefreshPrinterList(), 1);
}

TEST_F(PrinterList, CurrentPrinterByNameIgnoresCaseAndKeepsItForUnknownNames)
{
    CPrtControl prt;
    const int nNet = IndexOf(prt, kNetName);
    EXPECT_EQ(prt.SetCurrentPrinter(L"lumeo LIST network"), nNet);
    EXPECT_EQ(prt.GetCurrentIndex(), nNet);

    LogCapture log;
    EXPECT_EQ(prt.SetCurrentPrinter(L"No Such Printer"), nNet);
    EXPECT_TRUE(log.Contains(L"SetCurrentPrinter / Search model: No Such Printer Index: " + std::to_wstring(nNet)));
    EXPECT_EQ(prt.SetCurrentPrinter(L""), nNet);
}

TEST_F(PrinterList, CurrentIndexChangesOnlyWithinTheList)
{
    CPrtControl prt;
    const int nUsb = IndexOf(prt, kUsbName);
    EXPECT_EQ(prt.SetCurrentIndex(nUsb), 1);
    EXPECT_EQ(prt.GetCurrentIndex(), nUsb);
    EXPECT_EQ(prt.SetCurrentIndex(prt.GetPrinterCount()), 1);
    EXPECT_EQ(prt.SetCurrentIndex(-1), 1);
    EXPECT_EQ(prt.GetCurrentIndex(), nUsb);
}

TEST_F(PrinterList, DefaultPrinterFromTheDeviceValueWithAComma)
{
    DeviceValue device;
    device.Set(L"LUMEO List Network,winspool,Ne00:");
    CPrtControl prt;  // the list starts at the default printer
    const int nNet = IndexOf(prt, kNetName);
    EXPECT_EQ(prt.GetCurrentIndex(), nNet);
    EXPECT_EQ(prt.GetDefaultPrinterIndex(), nNet);
    EXPECT_EQ(prt.GetNTDefaultPrinter(), L"LUMEO List Network");

    // Without the spooler's answer the registry is read directly.
    With([] { SpoolerApi api = WinspoolApi(); api.GetDefaultPrinterW = NoDefaultPrinter; return api; }());
    LogCapture log;
    EXPECT_EQ(prt.GetWin2kDefaultPrinter(), L"LUMEO List Network");
    EXPECT_TRUE(log.Contains(L"[KVQ] Get the DefaultPrinter from Registry : "
                             L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\"));
    EXPECT_TRUE(log.Contains(L"[KVQ] Get the DefaultPrinter from Registry : HKEY_CURRENT_USER : LUMEO List Network"));
    EXPECT_EQ(prt.GetDefaultPrinterIndex(), nNet);
}

TEST_F(PrinterList, DeviceValueWithoutACommaOrMissingMakesTheFirstPrinterCurrent)
{
    DeviceValue device;
    With([] { SpoolerApi api = WinspoolApi(); api.GetDefaultPrinterW = NoDefaultPrinter; return api; }());
    device.Set(kNetName);
    {
        LogCapture log;
        CPrtControl prt;
        EXPECT_EQ(prt.GetCurrentIndex(), 0);
        EXPECT_TRUE(log.Contains(L"[KVQ] Get the DefaultPrinter from Registry : HKEY_CURRENT_USER : "));
        EXPECT_EQ(prt.GetNTDefaultPrinter(), L"");
    }
    device.Remove();
    {
        LogCapture log;
        CPrtControl prt;
        EXPECT_EQ(prt.GetCurrentIndex(), 0);
        EXPECT_TRUE(log.Contains(
            L"[KVQ]  Get the DefaultPrinter from Registry : HKEY_CURRENT_USER: KVQ DefaultPrinter Error"));
    }
    SetSpoolerApi(nullptr);
    device.Set(kNetName);  // the spooler itself wants the comma too
    CPrtControl prt;
    EXPECT_EQ(prt.GetCurrentIndex(), 0);
}

TEST_F(PrinterList, DeviceValueIsReadSafelyWhateverItsStoredLength)
{
    DeviceValue device;
    With([] { SpoolerApi api = WinspoolApi(); api.GetDefaultPrinterW = NoDefaultPrinter; return api; }());
    CPrtControl prt;

    // 512 bytes exactly, with no terminator stored (a character follows in memory,
    // or the registry would count the terminator in by itself).
    std::wstring strFull = std::wstring(kUsbName) + L"," + std::wstring(256, L'x');
    strFull.resize(257);
    device.SetBytes(strFull.data(), 512);
    EXPECT_EQ(prt.GetWin2kDefaultPrinter(), kUsbName);

    // Longer than the 512 bytes read: not a name.
    const std::wstring strLong = std::wstring(300, L'y') + L",winspool";
    device.Set(strLong);
    LogCapture log;
    EXPECT_EQ(prt.GetWin2kDefaultPrinter(), L"");
    EXPECT_TRUE(
        log.Contains(L"[KVQ]  Get the DefaultPrinter from Registry : HKEY_CURRENT_USER: KVQ DefaultPrinter Error"));

    // An odd byte count cuts nothing past the data.
    const std::wstring strOdd = std::wstring(kNetName) + L",a";
    device.SetBytes(strOdd.data(), strOdd.size() * sizeof(wchar_t) - 1);
    EXPECT_EQ(prt.GetWin2kDefaultPrinter(), kNetName);
}

TEST_F(PrinterList, DefaultPrinterMarkedInTheListForWindows9x)
{
    With([] { SpoolerApi api = WinspoolApi(); api.EnumPrintersW = EnumerationMarkingUsbDefault; return api; }());
    CPrtControl prt;
    EXPECT_EQ(prt.Get9xDefaultPrinter(), kUsbName);
    SetSpoolerApi(nullptr);
    prt.RefreshPrinterList();
    const int nUsb = IndexOf(prt, kUsbName);
    ASSERT_GE(nUsb, 0);
    EXPECT_FALSE(prt.GetPrinterInfo(nUsb)->Attributes & PRINTER_ATTRIBUTE_DEFAULT);
}

TEST_F(PrinterList, OSCodeChoosesTheDefaultPrinterWay)
{
    OSVERSIONINFOW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    ASSERT_TRUE(GetVersionExW(&osvi));
    CPrtControl prt;
    LogCapture log;
    const int nCode = prt.GetOSVersionCode();
    EXPECT_EQ(nCode, OSVersionCodeOf(osvi.dwPlatformId, osvi.dwMajorVersion, osvi.dwMinorVersion,
                                     osvi.szCSDVersion[0] ? osvi.szCSDVersion[1] : L'\0'));
    EXPECT_TRUE(log.Contains(L"[OS] dwMajorVersion : " + std::to_wstring(osvi.dwMajorVersion) +
                             L" / dwMinorVersion : " + std::to_wstring(osvi.dwMinorVersion)));
    prt.GetDefaultPrinterIndex();
    if (DefaultPrinterWayOf(nCode) == DefaultPrinterWay::Win2k) {
        EXPECT_TRUE(log.Contains(L"WIN_2K/WIN_XP/WIN_2003/LH  GetWin2kDefaultPrinter"));
    } else if (DefaultPrinterWayOf(nCode) == DefaultPrinterWay::Win2kFallback) {
        EXPECT_TRUE(log.Contains(L"default  GetWin2kDefaultPrinter"));
    }
}

TEST_F(PrinterList, EnumerationFailureLeavesAnEmptyList)
{
    With([] { SpoolerApi api = WinspoolApi(); api.EnumPrintersW = EnumerationDenied; return api; }());
    CPrtControl prt;
    EXPECT_EQ(prt.RefreshPrinterList(), 0);
    EXPECT_EQ(prt.GetPrinterCount(), 0);
    EXPECT_EQ(prt.GetCurrentIndex(), 0);
    EXPECT_EQ(prt.GetPrinterDisplayName(0), L"");
    EXPECT_EQ(prt.SetCurrentPrinter(kUsbName), 0);
    EXPECT_EQ(prt.WriteDocument(L"KVQ_none"), 0u);
}

TEST_F(PrinterList, PrinterAddedDuringTheReadIsReadAgain)
{
    g_nEnumReads = 0;
    With([] { SpoolerApi api = WinspoolApi(); api.EnumPrintersW = EnumerationRacingAnAddition; return api; }());
    CPrtControl prt;
    EXPECT_GE(g_nEnumReads, 2);
    EXPECT_GE(IndexOf(prt, kUsbName), 0);
}
