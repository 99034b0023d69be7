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
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/printer/registry_fixture.h"
#include "tests/support/wine_printers.h"
#include "tests/support/x_keyboard.h"
#include "ui_driver.h"

namespace {
constexpr int kComboPrinterId = 1034;
constexpr int kSheetProgressId = 1071;
constexpr DWORD kProbeEveryMs = 5;

// Asks the sheet every few milliseconds and keeps the longest wait for its answer.
class CResponseProbe {
public:
    explicit CResponseProbe(HWND hSheet) : m_hSheet(hSheet)
    {
        m_thread = std::thread([this] {
            LARGE_INTEGER freq, t0, t1;
            QueryPerformanceFrequency(&freq);
            while (!m_bStop) {
                DWORD_PTR nResult = 0;
                QueryPerformanceCounter(&t0);
                const bool bAnswered =
                    SendMessageTimeoutW(m_hSheet, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &nResult) != 0;
                QueryPerformanceCounter(&t1);
                const double dMs = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart;
                m_dMaxMs = std::max(m_dMaxMs.load(), dMs);
                m_nProbes += bAnswered ? 1 : 0;
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
    double MaxMs() const { return m_dMaxMs; }
    int Probes() const { return m_nProbes; }
    int Unanswered() const { return m_nUnanswered; }

private:
    HWND m_hSheet;
    std::atomic<bool> m_bStop{false};
    std::atomic<double> m_dMaxMs{0};
    std::atomic<int> m_nProbes{0};
    std::atomic<int> m_nUnanswered{0};
    std::thread m_thread;
};

int IndexOf(const std::vector<std::wstring>& arrItems, const std::wstring& strItem)
{
    return static_cast<int>(std::find(arrItems.begin(), arrItems.end(), strItem) - arrItems.begin());
}

bool Report(const char* pszPhase, const CResponseProbe& probe, bool bHappened)
{
    const bool bOk = bHappened && probe.Probes() > 0 && probe.Unanswered() == 0;
    std::printf("%s: longest answer %.1f ms over %d probes%s\n", pszPhase, probe.MaxMs(), probe.Probes(),
                bOk ? "" : " (FAILED: the phase did not happen as it must)");
    return bOk;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const unsigned long long nMiB = argc > 1 ? std::wcstoull(argv[1], nullptr, 10) : 512;
    const std::wstring strFilePrinter = L"Lumeo Bench File";
    const std::wstring strSilentPrinter = L"Lumeo Bench Silent";
    WinePrinters printers(L"UiBench");
    const TestPrinter* pFile = printers.AddRawPrinter(strFilePrinter, L"FILE_LumeoUiBench");
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
        !ui.WaitForSheet()) {
        std::printf("ui_bench: Lumeo did not open\n");
        return 1;
    }
    bool bAllOk = true;
    {
        // (a) Down arrow to the silent printer in the closed printer list.
        const std::vector<std::wstring> arrPrinters = ui.ComboItems(kComboPrinterId);
        const int nFrom = IndexOf(arrPrinters, strFilePrinter), nTo = IndexOf(arrPrinters, strSilentPrinter);
        std::string strKeys;
        for (int i = nFrom; i != nTo; i += nTo > nFrom ? 1 : -1)
            strKeys += nTo > nFrom ? "Down " : "Up ";
        ui.FocusControl(ui.Control(kComboPrinterId));
        CResponseProbe probe(ui.Sheet());
        const bool bPressed = keyboard.Press(ui.Sheet(), strKeys);
        const bool bChecking = CUiDriver::WaitUntil([&] { return ui.IsCheckingPrinter(); }, 5000);
        const bool bAnswered = ui.WaitForMessageDialog(20000) != nullptr;  // "busy or off"
        probe.Stop();
        bAllOk &= Report("(a) silent network printer picked with the keyboard", probe,
                         bPressed && bChecking && bAnswered);
        ui.Close();
    }
    {
        // (b) the large file on the file printer.
        CUiDriver printing;
        const bool bOpen = printing.Launch(WinePath(LUMEO_PROGRAM_EXE),
                                           L" -M \"" + strFilePrinter + L"\" \"" + big.wstring() + L"\"") &&
                           printing.WaitForSheet();
        WinePrinters::ClearCapture(*pFile);
        CResponseProbe probe(printing.Sheet());
        PostMessageW(printing.Sheet(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(printing.SheetButton(IDOK)));
        const bool bStarted = CUiDriver::WaitUntil(
            [&] { return IsWindowVisible(GetDlgItem(printing.Sheet(), kSheetProgressId)); }, 10000);
        const bool bEnded = bStarted && printing.WaitForRunEnd(600000);
        probe.Stop();
        const bool bWhole = WinePrinters::ReadCapture(*pFile).size() > (nMiB << 20);
        std::printf("(b) job of %llu MiB captured whole: %s\n", nMiB, bWhole ? "yes" : "no");
        bAllOk &= Report("(b) large file printing", probe, bOpen && bEnded && bWhole);
        printing.Close();
    }
    std::filesystem::remove(big);
    return bAllOk ? 0 : 1;
}
