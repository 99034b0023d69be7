#include "printer/check_supported_types.h"

#include "printer/port/port_device_id.h"

int CheckSupportedTypes(CPrtControl& prtControl)
{
    DeviceIdRoute route;
    return CheckSupportedTypes(prtControl, route);
}

int CheckSupportedTypes(CPrtControl& prtControl, DeviceIdRoute& route)
{
    // The current printer's route, decided on this lookup's own answer: another check may
    // run at the same time on another thread.
    return SupportedTypesOfPort(prtControl.GetPrinterPortName(prtControl.GetCurrentIndex()), &route);
}
