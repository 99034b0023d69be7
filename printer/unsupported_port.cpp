#include "printer/unsupported_port.h"

thread_local bool g_bUnsupportedPort = false;
