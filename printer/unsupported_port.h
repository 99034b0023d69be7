#pragma once
// Set by the device-ID lookup when no network address lookup could even be attempted
// for the port it looked up last. Checks of several printers may run at once, each on a
// worker of its own: each check decides on its own lookup's answer, never on this value,
// which only tells the last answer to whoever asks afterwards.
#include <atomic>

extern std::atomic<bool> g_bUnsupportedPort;
