#include "printer/system_api.h"

DeviceIoApi& DeviceIo()
{
    static DeviceIoApi api;
    return api;
}

SpoolerPortApi& SpoolerPorts()
{
    static SpoolerPortApi api;
    return api;
}
