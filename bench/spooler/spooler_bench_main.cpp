// Times SendDataToDevice for files given as Unix paths, each sent to a test printer
// whose port is captured to a file, and reports the process's peak memory after each.
//   spooler_bench <capture-unix-path> <file-unix-path>...
// Output, one line per file: "file=<path> bytes=<n> seconds=<s> spooler_only_seconds=<s>
// delivered=<ok|SHORT> peak_working_set=<bytes> peak_pagefile=<bytes>"; the spooler-only
// time is the same bytes written straight from the mapped file, without Lumeo's spool file.
// Both times are the best of LUMEO_BENCH_ROUNDS (3) rounds that alternate which goes first,
// so neither always meets the page cache and the disk as the other one left them.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/debug_log.h"
#include "job/send_data_to_device.h"
#include "printer/document_window.h"
#include "printer/prt_control.h"
#include "tests/support/wine_printers.h"

namespace {
std::string Narrow(const wchar_t* psz)
{
    std::string s;
    for (; *psz; ++psz)
        s += static_cast<char>(*psz);  // the script passes plain ASCII paths
    return s;
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

unsigned long long SizeOf(const std::wstring& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(strPath.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: spooler_bench <capture-unix-path> <file-unix-path>...\n");
        return 2;
    }
    const std::wstring strCapture = WineWindowsPath(Narrow(argv[1]));
    WinePrinters printers(L"Bench");
    const TestPrinter* pPrinter = printers.AddRawPrinter(L"Lumeo Bench USB", L"USB077", strCapture);
    if (!pPrinter) {
        std::fprintf(stderr, "spooler_bench: Wine did not accept the bench printer\n");
        return 1;
    }
    SetJobMessageHandler([](int nKind) { std::fprintf(stderr, "spooler_bench: message kind %d\n", nKind); });

    // LUMEO_BENCH_PHASES=1: the time of each step, taken from the debug log.
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    if (GetEnvironmentVariableW(L"LUMEO_BENCH_PHASES", nullptr, 0) > 0) {
        g_wLogSwitch = 1;
        SetLogSink([&frequency](const std::wstring& line) {
            static LARGE_INTEGER last = {};
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            if (line.rfind(L"SendDataToDevice / ", 0) == 0 || line.rfind(L"WriteDocument / ", 0) == 0) {
                std::fprintf(stderr, "  +%.3f s  %.60ls\n",
                             last.QuadPart ? double(now.QuadPart - last.QuadPart) / frequency.QuadPart : 0.0,
                             line.c_str());
                last = now;
            }
        });
    }

    // LUMEO_BENCH_WINDOW_MIB: another size of the mapped windows.
    wchar_t szWindow[16] = {};
    if (GetEnvironmentVariableW(L"LUMEO_BENCH_WINDOW_MIB", szWindow, 16) > 0)
        SetDocumentWindowBytes(static_cast<size_t>(_wtoi(szWindow)) << 20);

    wchar_t szRounds[16] = {};
    const int nRounds = GetEnvironmentVariableW(L"LUMEO_BENCH_ROUNDS", szRounds, 16) > 0 ? _wtoi(szRounds) : 3;

    int nFailed = 0;
    for (int i = 2; i < argc; ++i) {
        const std::wstring strFile = WineWindowsPath(Narrow(argv[i]));
        const unsigned long long nFileBytes = SizeOf(strFile);
        double dBestSend = 1e9, dBestSpooler = 1e9;
        bool bDelivered = true;
        for (int nRound = 0; nRound < nRounds; ++nRound) {
            for (int nStep = 0; nStep < 2; ++nStep) {
                const bool bSend = (nStep == 0) == (nRound % 2 == 0);
                CPrtControl prt;
                prt.SetCurrentPrinter(pPrinter->strName);
                LARGE_INTEGER start = {}, end = {};
                if (bSend) {
                    DebugLog(L"SendDataToDevice / (bench) called");
                    QueryPerformanceCounter(&start);
                    const int nResult = SendDataToDevice(prt, strFile);
                    QueryPerformanceCounter(&end);
                    // The capture holds header, file and trailer: more than the file's size.
                    bDelivered = bDelivered && nResult == 1 && SizeOf(pPrinter->strCapturePath) > nFileBytes;
                    dBestSend = std::min(dBestSend, Seconds(start, end, frequency));
                } else if (prt.MapDocument(strFile.c_str())) {
                    // What Wine's spooler alone costs for these bytes: the file itself, mapped and written.
                    QueryPerformanceCounter(&start);
                    prt.WriteDocument(L"KVQ_baseline");
                    QueryPerformanceCounter(&end);
                    prt.ReleaseDocument();
                    dBestSpooler = std::min(dBestSpooler, Seconds(start, end, frequency));
                }
                DebugLog(bSend ? L"SendDataToDevice / (bench) returned after %.3f s"
                               : L"WriteDocument / (bench) spooler alone done after %.3f s",
                         Seconds(start, end, frequency));
            }
        }
        nFailed += bDelivered ? 0 : 1;

        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        std::printf("file=%s bytes=%llu seconds=%.3f spooler_only_seconds=%.3f delivered=%s peak_working_set=%llu "
                    "peak_pagefile=%llu\n",
                    Narrow(argv[i]).c_str(), nFileBytes, dBestSend, dBestSpooler, bDelivered ? "ok" : "SHORT",
                    static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                    static_cast<unsigned long long>(counters.PeakPagefileUsage));
        std::fflush(stdout);
    }
    return nFailed == 0 ? 0 : 1;
}
