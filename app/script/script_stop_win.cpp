#include "app/script/script_stop.h"

#include <windows.h>

#include <atomic>
#include <thread>

#include "common/debug_log.h"

namespace {
// The system gives a program about five seconds once it has told it.
constexpr DWORD kEndWaitMs = 4000;
const wchar_t kWindowClass[] = L"LumeoScriptStop";

std::atomic<bool> g_bStopRequested{false};
HANDLE g_hRunEnded = nullptr;
HANDLE g_hListening = nullptr;  // set once the window for the session's end is there

void StopAndWait(bool bWait)
{
    g_bStopRequested = true;
    if (bWait && g_hRunEnded && WaitForSingleObject(g_hRunEnded, kEndWaitMs) != WAIT_OBJECT_0)
        DebugLog(L"ScriptStop / the run did not stop in time");
}

BOOL WINAPI OnConsoleEvent(DWORD nEvent)
{
    DebugLog(L"ScriptStop / console event %u", static_cast<unsigned>(nEvent));
    // Ctrl+C and Ctrl+Break leave the process to end the run itself; the others end it.
    StopAndWait(nEvent != CTRL_C_EVENT && nEvent != CTRL_BREAK_EVENT);
    return TRUE;
}

LRESULT CALLBACK SessionWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_QUERYENDSESSION) {
        StopAndWait(false);
        return TRUE;
    }
    if (uMsg == WM_ENDSESSION) {
        if (wParam)
            StopAndWait(true);
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// A hidden top-level window: the end of the session is told to those only.
void ListenForSessionEnd()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SessionWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    const HWND hWnd =
        CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(g_hListening);
    if (!hWnd)
        return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
}
}  // namespace

void ListenForScriptStop()
{
    g_hRunEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    // The run starts once the window is there: the end of the session may come at any time.
    g_hListening = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    try {
        std::thread(ListenForSessionEnd).detach();
        WaitForSingleObject(g_hListening, kEndWaitMs);
    } catch (const std::exception&) {
        DebugLog(L"ScriptStop / no thread for the session's end");
    }
}

bool ScriptStopRequested() { return g_bStopRequested; }

void ScriptRunEnded()
{
    if (g_hRunEnded)
        SetEvent(g_hRunEnded);
}
