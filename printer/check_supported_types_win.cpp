#include "printer/check_supported_types.h"

#include "printer/supported_types.h"
#include "printer/unsupported_port.h"

int CheckSupportedTypes(CPrtControl& prtControl)
{
    std::wstring strDeviceID;
    int nResult = prtControl.GetCurrentPrinterDeviceID(strDeviceID);
    return SupportedTypesOfLookup(nResult, g_bUnsupportedPort, strDeviceID);
}
