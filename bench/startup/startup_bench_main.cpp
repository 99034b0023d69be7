// How often Lumeo's sheet shows when the program starts, and how long after the start it
// is visible, next to Wine's start of a bare dialog program (bare_dialog.exe). Each start
// must show its window and keep it until the benchmark closes it; a program that ends
// without a window, or loses it, is a failed start. Starts of the two programs take turns.
// Prints the counts and the minimum, median and maximum time to a visible window of each
// (for Lumeo also to its first window, the splash); exits 1 when a start failed or nothing
// was measured (no ratio then).
//   startup_bench.exe <count> <file>    (run by bench/startup/run-startup-bench.sh)
// LUMEO_BENCH_LOG=1 starts Lumeo with its debug log on, as its debugger, and prints the
// last lines of a failed start.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "tests/support/wine_printers.h"
#include "ui_driver.h"

namespace {
constexpr int kComboPrinterId = 1034;
constexpr DWORD kShowTimeoutMs = 30000;
// How long a shown sheet must stay: past the splash, which closes 2 s after it opened.
constexpr DWORD kSheetHoldMs = 2500;
constexpr DWORD kDialogHoldMs = 500;
constexpr size_t kLogLines = 40;

double NowMs()
{
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

bool HasClass(HWND hWnd, const wchar_t* pszClass)
{
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    return lstrcmpiW(szClass, pszClass) == 0;
}

// The window waited for: any window, a dialog, or the sheet with its Basic page.
enum class Seen { AnyWindow, Dialog, Sheet };

struct WindowSearch {
    DWORD dwProcessId;
    Seen seen;
    HWND hFound;
};

BOOL CALLBACK FindShown(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId || !IsWindowVisible(hWnd) ||
        (pSearch->seen != Seen::AnyWindow && !HasClass(hWnd, L"#32770")))
        return TRUE;
    if (pSearch->seen == Seen::Sheet) {
        bool bPage = false;
        for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild && !bPage; hChild = GetWindow(hChild, GW_HWNDNEXT))
            bPage = HasClass(hChild, L"#32770") && GetDlgItem(hChild, kComboPrinterId);
        if (!bPage)
            return TRUE;
    }
    pSearch->hFound = hWnd;
    return FALSE;
}

HWND ShownWindow(DWORD dwProcessId, Seen seen)
{
    WindowSearch search{dwProcessId, seen, nullptr};
    EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// The debug strings of a started program, as a debugger receives them.
class CDebugLines {
public:
    void Take(const DEBUG_EVENT& event, HANDLE hProcess)
    {
        if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile)
            CloseHandle(event.u.LoadDll.hFile);
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile)
            CloseHandle(event.u.CreateProcessInfo.hFile);
        if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT && event.u.Exception.dwFirstChance == FALSE)
            Add("exception " + std::to_string(event.u.Exception.ExceptionRecord.ExceptionCode));
        if (event.dwDebugEventCode != OUTPUT_DEBUG_STRING_EVENT)
            return;
        const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
        const size_t nUnit = info.fUnicode ? sizeof(wchar_t) : 1;
        std::vector<char> bytes(info.nDebugStringLength * nUnit + sizeof(wchar_t), 0);
        ReadProcessMemory(hProcess, info.lpDebugStringData, bytes.data(), info.nDebugStringLength * nUnit, nullptr);
        if (!info.fUnicode) {
            Add(bytes.data());
            return;
        }
        const auto* pszWide = reinterpret_cast<const wchar_t*>(bytes.data());
        std::string strLine(WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, strLine.data(), static_cast<int>(strLine.size()), nullptr,
                            nullptr);
        Add(strLine.c_str());
    }
    void Print() const
    {
        for (const std::string& strLine : m_lines)
            std::printf("    | %s\n", strLine.c_str());
    }

private:
    void Add(const std::string& strLine)
    {
        m_lines.push_back(strLine);
        if (m_lines.size() > kLogLines)
            m_lines.pop_front();
    }
    std::deque<std::string> m_lines;
};

struct Start {
    bool bShown = false;  // shown, and still there when the benchmark closed it
    double dShownMs = 0;  // from CreateProcess to the visible window
    double dFirstMs = 0;  // to the first visible window of the program (Lumeo's splash)
    DWORD dwExit = 0;  // the error of CreateProcess when it could not start
    const char* pszFault = "";
};

// One start: waits for the window, lets it stand a while, closes it with Cancel.
class CStart {
public:
    CStart(const std::wstring& strCommand, bool bSheet, bool bDebug) : m_bSheet(bSheet), m_bDebug(bDebug)
    {
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        std::wstring strLine = strCommand;
        m_dStartMs = NowMs();
        m_bStarted = CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE,
                                    bDebug ? DEBUG_ONLY_THIS_PROCESS : 0, nullptr, nullptr, &si, &m_process) != FALSE;
        m_dwStartError = m_bStarted ? 0 : GetLastError();
    }
    ~CStart()
    {
        if (!m_bStarted)
            return;
        if (!m_bEnded)
            TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    Start Run()
    {
        Start start;
        if (!m_bStarted) {
            start.pszFault = "could not start";
            start.dwExit = m_dwStartError;
            return start;
        }
        HWND hShown = nullptr;
        while (!hShown && !m_bEnded && NowMs() - m_dStartMs < kShowTimeoutMs) {
            Pump(1);
            if (start.dFirstMs == 0 && ShownWindow(m_process.dwProcessId, Seen::AnyWindow))
                start.dFirstMs = NowMs() - m_dStartMs;
            hShown = ShownWindow(m_process.dwProcessId, m_bSheet ? Seen::Sheet : Seen::Dialog);
        }
        start.dShownMs = NowMs() - m_dStartMs;
        if (!hShown) {
            start.pszFault = m_bEnded ? "ended without a window" : "no window in 30 s";
            return Finish(start);
        }
        const double dHoldEnd = NowMs() + (m_bSheet ? kSheetHoldMs : kDialogHoldMs);
        while (!m_bEnded && NowMs() < dHoldEnd && IsWindowVisible(hShown))
            Pump(5);
        if (m_bEnded || !IsWindowVisible(hShown)) {
            start.pszFault = "window lost before it was closed";
            return Finish(start);
        }
        start.bShown = true;
        PostMessageW(hShown, WM_COMMAND, IDCANCEL, 0);
        return Finish(start);
    }
    void PrintLog() const { m_log.Print(); }

private:
    // Waits up to dwMs for the program (and takes its debug events); notes its end.
    void Pump(DWORD dwMs)
    {
        if (!m_bDebug) {
            m_bEnded = WaitForSingleObject(m_process.hProcess, dwMs) == WAIT_OBJECT_0;
            return;
        }
        const double dUntil = NowMs() + dwMs;
        DEBUG_EVENT event = {};
        while (!m_bEnded && WaitForDebugEvent(&event, static_cast<DWORD>(std::max(0.0, dUntil - NowMs())))) {
            m_log.Take(event, m_process.hProcess);
            const bool bExit = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
            const bool bNotOurs = event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT && event.u.Exception.dwFirstChance;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, bNotOurs ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE);
            if (bExit)
                m_bEnded = WaitForSingleObject(m_process.hProcess, 5000) == WAIT_OBJECT_0;
            if (NowMs() >= dUntil)
                break;
        }
    }
    Start Finish(Start start)
    {
        const double dUntil = NowMs() + 10000;
        while (!m_bEnded && NowMs() < dUntil)
            Pump(20);
        if (!m_bEnded) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, 5000);
            m_bEnded = true;
            if (start.bShown) {
                start.bShown = false;
                start.pszFault = "did not close";
            }
        }
        GetExitCodeProcess(m_process.hProcess, &start.dwExit);
        return start;
    }

    bool m_bSheet;
    bool m_bDebug;
    bool m_bStarted = false;
    bool m_bEnded = false;
    DWORD m_dwStartError = 0;
    double m_dStartMs = 0;
    PROCESS_INFORMATION m_process = {};
    CDebugLines m_log;
};

struct Tally {
    explicit Tally(const char* pszName) : pszName(pszName) {}
    const char* pszName;
    int nShown = 0;
    int nFailed = 0;
    std::vector<double> arrMs, arrFirstMs;

    void Add(const Start& start)
    {
        if (!start.bShown) {
            ++nFailed;
            return;
        }
        ++nShown;
        arrMs.push_back(start.dShownMs);
        arrFirstMs.push_back(start.dFirstMs);
    }
    static double Median(std::vector<double> arr)
    {
        std::sort(arr.begin(), arr.end());
        const size_t n = arr.size();
        return n % 2 ? arr[n / 2] : (arr[n / 2 - 1] + arr[n / 2]) / 2;
    }
    static void PrintSpread(const char* pszWhat, const std::vector<double>& arr)
    {
        std::printf("; %s after min %.0f / median %.0f / max %.0f ms", pszWhat, *std::min_element(arr.begin(), arr.end()),
                    Median(arr), *std::max_element(arr.begin(), arr.end()));
    }
    void Print(int nCount, bool bFirstWindow) const
    {
        std::printf("%s: %d of %d starts showed the window", pszName, nShown, nCount);
        if (!arrMs.empty()) {
            PrintSpread("visible", arrMs);
            if (bFirstWindow)
                PrintSpread("its first window (the splash)", arrFirstMs);
        }
        std::printf("\n");
    }
};

void SetLogSwitch(DWORD dwValue)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvane\\KVQ", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(hKey, L"LogKVQ", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    RegCloseKey(hKey);
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int nCount = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    const std::wstring strFile = argc > 2 ? argv[2] : L"";
    const bool bLog = std::getenv("LUMEO_BENCH_LOG") != nullptr;
    const std::wstring strPrinter = L"Lumeo Startup Bench";
    WinePrinters printers(L"StartupBench");
    if (strFile.empty() || !printers.AddRawPrinter(strPrinter, L"FILE_LumeoStartupBench")) {
        std::printf("startup_bench: no file given or no test printer\n");
        return 1;
    }
    SetLogSwitch(bLog ? 1 : 0);
    const std::wstring strLumeo =
        L"\"" + WinePath(LUMEO_PROGRAM_EXE) + L"\" -M \"" + strPrinter + L"\" \"" + strFile + L"\"";
    const std::wstring strBare = L"\"" + WinePath(LUMEO_BARE_DIALOG_EXE) + L"\"";

    Tally lumeo("Lumeo.exe (sheet)"), bare("bare_dialog.exe (DialogBox)");
    for (int i = 0; i < nCount; ++i) {
        CStart sheet(strLumeo, true, bLog);
        const Start start = sheet.Run();
        lumeo.Add(start);
        if (!start.bShown) {
            std::printf("start %d of Lumeo.exe: %s after %.0f ms, code %lu\n", i + 1, start.pszFault,
                        start.dShownMs, start.dwExit);
            sheet.PrintLog();
        }
        const Start anchor = CStart(strBare, false, false).Run();
        bare.Add(anchor);
        if (!anchor.bShown)
            std::printf("start %d of bare_dialog.exe: %s, code %lu\n", i + 1, anchor.pszFault, anchor.dwExit);
        std::fflush(stdout);
    }
    SetLogSwitch(0);
    lumeo.Print(nCount, true);
    bare.Print(nCount, false);
    if (lumeo.nFailed > 0 || bare.nFailed > 0 || lumeo.arrMs.empty() || bare.arrMs.empty()) {
        std::printf("FAILED: not every start showed its window\n");
        return 1;
    }
    std::printf("median Lumeo / bare dialog: sheet %.2f, first window %.2f (the splash is held 1 s before the sheet "
                "appears)\n",
                Tally::Median(lumeo.arrMs) / Tally::Median(bare.arrMs),
                Tally::Median(lumeo.arrFirstMs) / Tally::Median(bare.arrMs));
    return 0;
}
