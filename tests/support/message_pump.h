#pragma once
// Runs the test thread's message loop, for windows created in-process (Windows only).
#include <windows.h>

// Dispatches this thread's messages for dwMs milliseconds.
inline void Pump(DWORD dwMs)
{
    const ULONGLONG ullEnd = GetTickCount64() + dwMs;
    while (GetTickCount64() < ullEnd) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// Runs the message loop until the condition holds; false after dwTimeoutMs.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD dwTimeoutMs)
{
    const ULONGLONG ullEnd = GetTickCount64() + dwTimeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= ullEnd)
            return false;
        Pump(10);
    }
    return true;
}
