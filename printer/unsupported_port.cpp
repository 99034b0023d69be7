#include "printer/unsupported_port.h"

bool g_bUnsupportedPort = false;
