#pragma once
// Starting other programs from a test under Wine (Windows only).
#include <windows.h>

#include <string>

constexpr DWORD kNotStarted = static_cast<DWORD>(-1);

// Wine starts a Linux program without a process object: hProcess comes back null and
// hThread holds no handle of ours, so closing it could close any handle of this program
// that happens to have that value (seen: the registry's HKEY_CURRENT_USER).
inline void CloseProcessHandles(const PROCESS_INFORMATION& pi)
{
    if (!pi.hProcess)
        return;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
constexpr DWORD kTimedOut = static_cast<DWORD>(-2);

// Runs a command line and returns its exit code; kNotStarted when it could not start
// (GetLastError tells why), kTimedOut when it was ended after dwTimeoutMs.
inline DWORD RunAndWait(std::wstring strCommandLine, DWORD dwTimeoutMs = 120000)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return kNotStarted;
    DWORD dwExit = kTimedOut;
    if (WaitForSingleObject(pi.hProcess, dwTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &dwExit);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseProcessHandles(pi);
    return dwExit;
}

// Starts a command line and leaves it running: Wine cannot wait for a Linux process,
// so such a child reports back through a file or a window instead.
inline bool StartDetached(std::wstring strCommandLine)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseProcessHandles(pi);
    return true;
}
