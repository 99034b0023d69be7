#pragma once
// Nagle's algorithm off for the TCP connection a WinHTTP request stands on. WinHTTP writes a
// request's headers and its body in separate sends and has no option for the socket's
// TCP_NODELAY. On a kept connection the body's small send then waits until the printer
// acknowledges the headers, which a printer delays (40 ms on Linux, up to 200 ms elsewhere)
// because it waits for the body: every request of a run paid that wait. Windows build only.
#include <windows.h>
#include <winhttp.h>

namespace ipp {

// Finds the process's socket with the request's two endpoints and sets TCP_NODELAY on it;
// false when it was not found, and the connection stays as WinHTTP made it.
bool SendWithoutDelay(HINTERNET hRequest);

}  // namespace ipp
