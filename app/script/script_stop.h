#pragma once
// What stops a /print run from outside: Ctrl+C, Ctrl+Break, closing the console, logging
// off and shutting down. Each asks the run to stop as Cancel does in the sheet. Where the
// system ends the process once it has told it (closing, logging off, shutting down), the
// telling waits, a few seconds at most, until the run has aborted its job and removed
// its spool file. Windows build only.

// Listens from now on: for the console's events, and for the end of the session through
// a hidden window of its own (a program that uses windows hears of it only there).
void ListenForScriptStop();
// True once a stop was asked for.
bool ScriptStopRequested();
// The run has ended; nothing it made is left.
void ScriptRunEnded();
