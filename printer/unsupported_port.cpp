#include "printer/unsupported_port.h"

std::atomic<bool> g_bUnsupportedPort{false};
