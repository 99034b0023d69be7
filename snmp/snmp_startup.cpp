#include "snmp/snmp_startup.h"

#include <atomic>

#ifdef _WIN32
#include <winsock2.h>
#endif

#include "snmp/snmp_manager.h"

namespace {
std::atomic<int> g_nStartCount{0};
}

int SNMPStartup()
{
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return SNMP_ERROR_NOT_STARTED;
#endif
    ++g_nStartCount;
    return SNMP_SUCCESS;
}

void SNMPCleanup()
{
    int count = g_nStartCount.load();
    while (count > 0 && !g_nStartCount.compare_exchange_weak(count, count - 1)) {
    }
    if (count <= 0)
        return;  // a cleanup without start-up
#ifdef _WIN32
    WSACleanup();
#endif
}

bool SNMPIsStarted() { return g_nStartCount.load() > 0; }
