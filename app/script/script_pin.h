#pragma once
// The PIN of /pin, never from the command line: the environment variable LUMEO_PIN, else
// typed at the console with echo off. Windows build only.
#include <string>

// Empty when there is neither (input redirected and no LUMEO_PIN), or the typing stopped.
std::wstring ReadScriptPin();
