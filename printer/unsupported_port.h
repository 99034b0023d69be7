#pragma once
// Set by the device-ID lookup when no network address lookup could even be attempted
// for the current printer's port; read by the capability check. One per thread: checks
// of several printers may run at once, each on a worker of its own.
extern thread_local bool g_bUnsupportedPort;
