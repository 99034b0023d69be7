#include "wine_printers.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace {
const wchar_t kDriverName[] = L"Wine PostScript Driver";

void EnsureDriver()
{
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<wchar_t*>(kDriverName);
    info.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    info.pDataFile = const_cast<wchar_t*>(L"wineps.drv");
    info.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}
}  // namespace

CTestPrinter::CTestPrinter(const std::wstring& strName, const std::wstring& strPort, const std::wstring& strComment)
    : m_strName(strName)
{
    EnsureDriver();
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<wchar_t*>(strName.c_str());
    info.pPortName = const_cast<wchar_t*>(strPort.c_str());
    info.pDriverName = const_cast<wchar_t*>(kDriverName);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.pComment = const_cast<wchar_t*>(strComment.c_str());
    HANDLE hPrinter = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (hPrinter) {
        m_bAdded = true;
        ClosePrinter(hPrinter);
    }
}

CTestPrinter::~CTestPrinter()
{
    if (!m_bAdded)
        return;
    HANDLE hPrinter = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(m_strName.c_str()), &hPrinter, &defaults)) {
        DeletePrinter(hPrinter);
        ClosePrinter(hPrinter);
    }
}

void CTestPrinter::MakeDefault() const { SetDefaultPrinterW(m_strName.c_str()); }

int CountInstalledPrinters()
{
    DWORD dwNeeded = 0, dwCount = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &dwNeeded, &dwCount);
    if (dwNeeded == 0)
        return 0;
    std::vector<BYTE> buffer(dwNeeded);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), dwNeeded, &dwNeeded, &dwCount))
        return 0;
    return static_cast<int>(dwCount);
}
