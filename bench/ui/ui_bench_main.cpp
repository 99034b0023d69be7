// The longest time Lumeo's sheet takes to answer a message, asked every few
// milliseconds from another thread of this process: (a) while a network printer that
// never answers is picked with the keyboard and checked, (b) while a large file is
// printed. Prints one line per phase; exits 1 when a phase did not happen as it must
// (nothing probed, no check or run seen to end, the job not captured whole).
//   ui_bench.exe <file-MiB>          (run by bench/ui/run-ui-bench.sh under Xvfb)
#include "tests/support/udp_peers.h"  // winsock2.h before windows.h

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/printer/registry_fixture.h"
#include "tests/support/wine_printers.h"
#include "tests/support/x_keyboard.h"
#include "ui_driver.h"

namespace {
constexpr int kComboPrinterId = 1034;
constexpr int kSheetProgressId = 1071;
constexpr DWORD kProbeEveryMs = 5;

// A window on a thread of this process that answers at once: the same question sent to
// it shows what Wine's message passing itself costs at that moment.
class CAnchorWindow {
public:
    CAnchorWindow()
    {
        m_thread = std::thread([this] {
            m_nThreadId = GetCurrentThreadId();
            m_hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            m_bReady = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            DestroyWindow(m_hWnd);
        });
        while (!m_bReady)
            Sleep(1);
    }
    ~CAnchorWindow()
    {
        PostThreadMessageW(m_nThreadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
    DWORD m_nThreadId = 0;
    std::atomic<bool> m_bReady{false};
    std::thread m_thread;
};

// Asks one window every few milliseconds and keeps every wait for an answer.
class CResponseProbe {
public:
    struct Wait {
        double dStartMs, dEndMs;
    };
    explicit CResponseProbe(HWND hWnd) : m_hWnd(hWnd)
    {
        m_thread = std::thread([this] {
            while (!m_bStop) {
                DWORD_PTR nResult = 0;
                const double dStart = NowMs();
                const bool bAnswered = SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &nResult) != 0;
                m_arrWaits.push_back({dStart, NowMs()});
                m_nUnanswered += bAnswered ? 0 : 1;
                Sleep(kProbeEveryMs);
            }
        });
    }
    ~CResponseProbe() { Stop(); }
    void Stop()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    // Read once stopped.
    double MaxMs(double* pdAtMs = nullptr) const
    {
        double dMax = 0;
        for (const Wait& wait : m_arrWaits)
            if (wait.dEndMs - wait.dStartMs > dMax) {
                dMax = wait.dEndMs - wait.dStartMs;
                if (pdAtMs)
                    *pdAtMs = wait.dStartMs;
            }
        return dMax;
    }
    int Probes() const { return static_cast<int>(m_arrWaits.size()); }
    int Unanswered() const { return m_nUnanswered; }
    // The longest wait less the time the other probe's window waited at the same moments:
    // what both waited for at once is Wine's, the rest is this window's own. Both lists
    // run in time order and neither holds waits that overlap each other.
    double MaxOwnMs(const CResponseProbe& other, double* pdAtMs = nullptr) const
    {
        double dMax = 0;
        size_t nFirst = 0;
        for (const Wait& wait : m_arrWaits) {
            while (nFirst < other.m_arrWaits.size() && other.m_arrWaits[nFirst].dEndMs <= wait.dStartMs)
                ++nFirst;
            double dShared = 0;
            for (size_t i = nFirst; i < other.m_arrWaits.size() && other.m_arrWaits[i].dStartMs < wait.dEndMs; ++i)
                dShared += std::min(wait.dEndMs, other.m_arrWaits[i].dEndMs) -
                           std::max(wait.dStartMs, other.m_arrWaits[i].dStartMs);
            if (wait.dEndMs - wait.dStartMs - dShared > dMax) {
                dMax = wait.dEndMs - wait.dStartMs - dShared;
                if (pdAtMs)
                    *pdAtMs = wait.dStartMs;
            }
        }
        return dMax;
    }

    static double NowMs()
    {
        LARGE_INTEGER freq, now;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
    }

private:
    HWND m_hWnd;
    std::atomic<bool> m_bStop{false};
    std::vector<Wait> m_arrWaits;
    int m_nUnanswered = 0;
    std::thread m_thread;
};

// The sheet and, at the same time, a window of this process.
struct CPhaseProbes {
    CPhaseProbes(HWND hSheet, HWND hAnchor) : sheet(hSheet), anchor(hAnchor) {}
    void Stop()
    {
        sheet.Stop();
        anchor.Stop();
    }
    CResponseProbe sheet;
    CResponseProbe anchor;
};

int IndexOf(const std::vector<std::wstring>& arrItems, const std::wstring& strItem)
{
    return static_cast<int>(std::find(arrItems.begin(), arrItems.end(), strItem) - arrItems.begin());
}

// The splash closes on its own two seconds after it opened. Under Xvfb, without a window
// manager, Wine waits up to two seconds for an unmapped window's withdrawal: that
// start-up pause is not what is measured here.
bool WaitForSplashToGo()
{
    return CUiDriver::WaitUntil([] { return FindWindowW(L"LumeoSplashWnd", nullptr) == nullptr; }, 10000) &&
           (Sleep(2500), true);
}

// dEndMs: when the phase's end was seen; the moment of the sheet's longest own wait is told
// against it, so a wait at the run's end is told from one in the middle of the sending.
bool Report(const char* pszPhase, const CPhaseProbes& probes, bool bHappened, double dEndMs = 0)
{
    const bool bOk = bHappened && probes.sheet.Probes() > 0 && probes.sheet.Unanswered() == 0;
    double dOwnAtMs = 0, dAtMs = 0;
    probes.sheet.MaxOwnMs(probes.anchor, &dOwnAtMs);
    probes.sheet.MaxMs(&dAtMs);
    if (dEndMs > 0)
        std::printf("%s: the sheet's longest wait began %.0f ms, its longest own wait %.0f ms before the end was seen\n",
                    pszPhase, dEndMs - dAtMs, dEndMs - dOwnAtMs);
    std::printf("%s: the sheet's longest answer %.1f ms over %d probes; at the same time a window of this process "
                "%.1f ms; the sheet's longest wait less what the other window waited at the same moments %.1f ms%s\n",
                pszPhase, probes.sheet.MaxMs(), probes.sheet.Probes(), probes.anchor.MaxMs(),
                probes.sheet.MaxOwnMs(probes.anchor), bOk ? "" : " (FAILED: the phase did not happen as it must)");
    return bOk;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const unsigned long long nMiB = argc > 1 ? std::wcstoull(argv[1], nullptr, 10) : 512;
    const std::wstring strFilePrinter = L"Lumeo Bench File";
    const std::wstring strSilentPrinter = L"Lumeo Bench Silent";
    WinePrinters printers(L"UiBench");
    const TestPrinter* pFile = printers.AddRawPrinter(strFilePrinter, L"FILE_LumeoUiBench", L"", /*bAppend=*/true);
    udp_test::SilentAgent silent;
    RegistryFixture registry;
    const bool bPort = registry.Write(
        L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\LUMEO_UI_BENCH_SILENT",
        {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(silent.Port())}});
    XKeyboard keyboard;
    if (!pFile || !bPort || !printers.AddRawPrinter(strSilentPrinter, L"LUMEO_UI_BENCH_SILENT") ||
        !keyboard.Available()) {
        std::printf("ui_bench: the printers, the silent agent or xdotool are missing\n");
        return 1;
    }

    // A large PDF, sparse: what is timed is the sheet, not the disk that made the file.
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    const std::filesystem::path big = std::filesystem::path(szTemp) / L"lumeo_ui_bench.pdf";
    std::ofstream(big, std::ios::binary) << "%PDF-1.4\n";
    std::filesystem::resize_file(big, nMiB << 20);

    CUiDriver ui;
    if (!ui.Launch(WinePath(LUMEO_PROGRAM_EXE), L" -M \"" + strFilePrinter + L"\" \"" + big.wstring() + L"\"") ||
        !ui.WaitForSheet() || !WaitForSplashToGo()) {
        std::printf("ui_bench: Lumeo did not open\n");
        return 1;
    }
    bool bAllOk = true;
    CAnchorWindow anchor;
    {
        // (a) Down arrow to the silent printer in the closed printer list.
        const std::vector<std::wstring> arrPrinters = ui.ComboItems(kComboPrinterId);
        const int nFrom = IndexOf(arrPrinters, strFilePrinter), nTo = IndexOf(arrPrinters, strSilentPrinter);
        std::string strKeys;
        for (int i = nFrom; i != nTo; i += nTo > nFrom ? 1 : -1)
            strKeys += nTo > nFrom ? "Down " : "Up ";
        ui.FocusControl(ui.Control(kComboPrinterId));
        CPhaseProbes probes(ui.Sheet(), anchor.Window());
        const bool bPressed = keyboard.Press(ui.Sheet(), strKeys);
        const bool bChecking = CUiDriver::WaitUntil([&] { return ui.IsCheckingPrinter(); }, 5000);
        const bool bAnswered = ui.WaitForMessageDialog(20000) != nullptr;  // "busy or off"
        probes.Stop();
        bAllOk &= Report("(a) silent network printer picked with the keyboard", probes,
                         bPressed && bChecking && bAnswered);
        ui.Close();
    }
    {
        // (b) the large file on the file printer.
        CUiDriver printing;
        const bool bOpen = printing.Launch(WinePath(LUMEO_PROGRAM_EXE),
                                           L" -M \"" + strFilePrinter + L"\" \"" + big.wstring() + L"\"") &&
                           printing.WaitForSheet() && WaitForSplashToGo();
        WinePrinters::ClearCapture(*pFile);
        CPhaseProbes probes(printing.Sheet(), anchor.Window());
        PostMessageW(printing.Sheet(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(printing.SheetButton(IDOK)));
        const bool bStarted = CUiDriver::WaitUntil(
            [&] { return IsWindowVisible(GetDlgItem(printing.Sheet(), kSheetProgressId)); }, 10000);
        const bool bEnded = bStarted && printing.WaitForRunEnd(600000);
        const double dEndMs = CResponseProbe::NowMs();
        probes.Stop();
        const bool bWhole = WinePrinters::ReadCapture(*pFile).size() > (nMiB << 20);
        std::printf("(b) job of %llu MiB captured whole: %s\n", nMiB, bWhole ? "yes" : "no");
        bAllOk &= Report("(b) large file printing", probes, bOpen && bEnded && bWhole, dEndMs);
        printing.Close();
    }
    std::filesystem::remove(big);
    return bAllOk ? 0 : 1;
}
