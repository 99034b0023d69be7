#pragma once
// Koretta's debug output, switched like Lumeo's ("LogKVQ"). Explorer loads the extension
// into every window that shows a context menu, so the switch is read once per process, on
// the first line, and a line costs nothing while it is off.
// True when the switch is on; the first call reads it (never from DllMain: the loader
// lock is held there, and the registry may load further libraries).
bool KorettaLogOn();
void KorettaLog(const wchar_t* format, ...);
// For DllMain: writes only when an earlier line has already found the switch on.
void KorettaLogInLoader(const wchar_t* format, ...);
