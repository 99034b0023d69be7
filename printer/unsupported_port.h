#pragma once
// Set by the device-ID lookup when no network address lookup could even be attempted
// for the current printer's port; read by the capability check.
extern bool g_bUnsupportedPort;
