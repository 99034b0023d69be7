#pragma once
// Process-wide start-up and tear-down of the SNMP layer (Winsock on Windows).
// Calls nest: the layer stays usable until every SNMPStartup has its SNMPCleanup.

// Returns 0 on success, else a negative SNMP status.
int SNMPStartup();
void SNMPCleanup();
// True between a successful SNMPStartup and its matching SNMPCleanup.
bool SNMPIsStarted();
