#pragma once
// The capability check of the current printer, for the Basic page. Windows build only.
#include "printer/port/device_id_route.h"
#include "printer/queue/prt_control.h"

// The supported-type mask: bits of the types the device ID's CMD field names, 0 when
// none or the port is of no known kind, -1 when the printer did not answer.
int CheckSupportedTypes(CPrtControl& prtControl);
// The same, with the route the device ID took: the route that answered is where the
// printer's state is read.
int CheckSupportedTypes(CPrtControl& prtControl, DeviceIdRoute& route);
