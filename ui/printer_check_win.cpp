#include "ui/printer_check.h"

#include "common/debug_log.h"

int CheckPrinterByName(const std::wstring& strPrinter)
{
    CPrtControl prtControl;
    if (!prtControl.SelectPrinter(strPrinter)) {
        DebugLog(L"CheckPrinterByName / not installed : %s", strPrinter.c_str());
        return -1;
    }
    return CheckSupportedTypes(prtControl);
}
