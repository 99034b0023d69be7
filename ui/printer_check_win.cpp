#include "ui/printer_check.h"

#include "common/debug_log.h"

int CheckPrinterByName(const std::wstring& strPrinter)
{
    CPrtControl prtControl;
    prtControl.SetCurrentPrinter(strPrinter);
    const PRINTER_INFO_2W* pInfo = prtControl.GetPrinterInfo(prtControl.GetCurrentIndex());
    if (strPrinter.empty() || !pInfo || !pInfo->pPrinterName || _wcsicmp(pInfo->pPrinterName, strPrinter.c_str()) != 0) {
        DebugLog(L"CheckPrinterByName / not installed : %s", strPrinter.c_str());
        return -1;
    }
    return CheckSupportedTypes(prtControl);
}
