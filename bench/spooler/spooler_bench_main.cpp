// Times three ways of sending each file given (a Unix path) to a test printer whose
// port is captured to a file, and reports the process's peak memory after each file:
//   seconds               the sheet's sending (SendPrintFiles, as its worker calls it)
//                         through Wine's spooler: what the user waits for;
//   own_seconds           the same with a spooler that takes every byte at once: Lumeo's
//                         own steps alone (copy into the spool file, map, close it);
//   spooler_only_seconds  Wine's spooler alone: the file itself mapped and written, no spool file.
// Each is the best of LUMEO_BENCH_ROUNDS (3) rounds that rotate which goes first, so none
// always meets the page cache and the disk as another one left them. Every run is
// checked (what reached the port, the bytes of the spool file, that it is gone, the
// file's outcome and its progress reports); a file with a failed run prints no line, and
// the program exits 1.
//   spooler_bench <capture-unix-path> <file-unix-path>...
// Output, one line per file: "file=<path> bytes=<n> spool_bytes=<n> seconds=<s>
// own_seconds=<s> spooler_only_seconds=<s> peak_working_set=<bytes> peak_pagefile=<bytes>".
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>
#include <cstdio>
#include <string>

#include "common/debug_log.h"
#include "job/print_sender.h"
#include "job/spooler/pjl_envelope.h"
#include "printer/queue/document_window.h"
#include "printer/queue/prt_control.h"
#include "printer/queue/spooler_api.h"
#include "tests/support/wine_printers.h"

namespace {
std::string Narrow(const wchar_t* psz)
{
    std::string s;
    for (; *psz; ++psz)
        s += static_cast<char>(*psz);  // the script passes plain ASCII paths
    return s;
}

unsigned long long SizeOf(const std::wstring& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(strPath.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Spool files left in the temporary folder (named KVQ*.tmp).
int SpoolFilesLeft()
{
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((std::wstring(szTemp) + L"KVQ*.tmp").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    int nFiles = 0;
    do
        ++nFiles;
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return nFiles;
}

// A spooler that takes every byte handed to it at once and keeps only their count.
namespace sink {
unsigned long long g_nTaken = 0;
int g_nDocuments = 0;
bool g_bAborted = false;
const HANDLE kPrinter = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5EC));

BOOL WINAPI Open(LPWSTR, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW)
{
    *phPrinter = kPrinter;
    return TRUE;
}
BOOL WINAPI NoDriver(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded)
{
    *pcbNeeded = 0;
    return FALSE;
}
DWORD WINAPI StartDocument(HANDLE, DWORD, LPBYTE)
{
    ++g_nDocuments;
    return 1;
}
BOOL WINAPI Take(HANDLE, LPVOID, DWORD nBytes, LPDWORD pnWritten)
{
    g_nTaken += nBytes;
    *pnWritten = nBytes;
    return TRUE;
}
BOOL WINAPI Done(HANDLE) { return TRUE; }
BOOL WINAPI Abort(HANDLE)
{
    g_bAborted = true;
    return TRUE;
}

const SpoolerApi& Api()
{
    static const SpoolerApi api = [] {
        SpoolerApi a = WinspoolApi();  // the printer list stays Wine's
        a.OpenPrinterW = Open;
        a.ClosePrinter = Done;
        a.GetPrinterDriverW = NoDriver;
        a.StartDocPrinterW = StartDocument;
        a.StartPagePrinter = Done;
        a.WritePrinter = Take;
        a.EndPagePrinter = Done;
        a.EndDocPrinter = Done;
        a.AbortPrinter = Abort;
        return a;
    }();
    return api;
}
}  // namespace sink

class CClock {
public:
    CClock() { QueryPerformanceFrequency(&m_frequency); }
    void Start() { QueryPerformanceCounter(&m_start); }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) / m_frequency.QuadPart;
    }

private:
    LARGE_INTEGER m_frequency = {}, m_start = {};
};

// The three runs of one file, best times and what they left to check.
struct FileRuns {
    std::wstring strFile;
    unsigned long long nFileBytes = 0;
    unsigned long long nSpoolBytes = 0;  // what Lumeo's own steps handed to the spooler
    double dSend = 1e9, dOwn = 1e9, dSpooler = 1e9;
    std::string strFailed;  // the first check that failed

    void Fail(const std::string& strWhat)
    {
        if (strFailed.empty())
            strFailed = strWhat;
    }
};

// The file sent as the sheet's worker sends it: SendPrintFiles, with a stop request asked
// between blocks and every progress report taken, as the sheet's are posted. The jobs are
// not followed in the queue afterwards: that is the printer's time, in neither anchor.
bool SendAsTheSheet(const std::wstring& strFile, const TestPrinter& printer, int& nReports)
{
    PrintRunInput input;
    input.strPrinter = printer.strName;
    input.job = SnapshotJob();
    input.arrFiles = {strFile};
    input.nWaitSeconds = 0;
    std::atomic<bool> bStop{false};
    nReports = 0;
    const PrintRunEnd end = SendPrintFiles(
        input, [&bStop] { return bStop.load(); },
        [&nReports](const PrintRunProgress& progress) {
            nReports += std::make_unique<PrintRunProgress>(progress) != nullptr ? 1 : 0;
        });
    return end.arrOutcomes.size() == 1 && end.arrOutcomes[0].outcome == FileOutcome::Sent && !end.bCancelled;
}

void RunSend(FileRuns& runs, const TestPrinter& printer, CClock& clock)
{
    WinePrinters::ClearCapture(printer);
    int nReports = 0;
    DebugLog(L"SendDataToDevice / (bench) called");
    clock.Start();
    const bool bSent = SendAsTheSheet(runs.strFile, printer, nReports);
    const double dSeconds = clock.Seconds();
    DebugLog(L"SendDataToDevice / (bench) returned after %.3f s", dSeconds);
    runs.dSend = std::min(runs.dSend, dSeconds);
    if (!bSent || nReports < 2)
        runs.Fail("the sheet's sending did not send the file");
    // The capture holds the spool file: header, file and trailer (compared with the
    // own steps' count once both have run).
    const unsigned long long nCaptured = SizeOf(printer.strCapturePath);
    if (nCaptured <= runs.nFileBytes || (runs.nSpoolBytes && nCaptured != runs.nSpoolBytes))
        runs.Fail("the port did not receive the whole spool file");
    runs.nSpoolBytes = runs.nSpoolBytes ? runs.nSpoolBytes : nCaptured;
}

void RunOwnSteps(FileRuns& runs, const TestPrinter& printer, CClock& clock)
{
    const int nLeftBefore = SpoolFilesLeft();
    sink::g_nTaken = 0;
    sink::g_nDocuments = 0;
    sink::g_bAborted = false;
    SetSpoolerApi(&sink::Api());
    int nReports = 0;
    DebugLog(L"SendDataToDevice / (bench) own steps called");
    clock.Start();
    const bool bSent = SendAsTheSheet(runs.strFile, printer, nReports);
    const double dSeconds = clock.Seconds();
    SetSpoolerApi(nullptr);
    DebugLog(L"SendDataToDevice / (bench) own steps returned after %.3f s", dSeconds);
    runs.dOwn = std::min(runs.dOwn, dSeconds);
    if (!bSent || nReports < 2 || sink::g_nDocuments != 1 || sink::g_bAborted)
        runs.Fail("the own steps did not hand over one whole document");
    if (sink::g_nTaken <= runs.nFileBytes || (runs.nSpoolBytes && sink::g_nTaken != runs.nSpoolBytes))
        runs.Fail("the spool file did not hold the whole file");
    if (SpoolFilesLeft() != nLeftBefore)
        runs.Fail("the spool file was not deleted");
    runs.nSpoolBytes = sink::g_nTaken;
}

void RunSpoolerAlone(FileRuns& runs, const TestPrinter& printer, CClock& clock)
{
    CPrtControl prt;
    prt.SetCurrentPrinter(printer.strName);
    WinePrinters::ClearCapture(printer);
    HANDLE hFile = CreateFileW(runs.strFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!prt.MapDocument(hFile)) {
        runs.Fail("the file cannot be mapped");
        if (hFile != INVALID_HANDLE_VALUE)
            CloseHandle(hFile);
        return;
    }
    clock.Start();
    const unsigned long long nWritten = prt.WriteDocument(L"KVQ_baseline");
    const double dSeconds = clock.Seconds();
    prt.ReleaseDocument();
    CloseHandle(hFile);
    DebugLog(L"WriteDocument / (bench) spooler alone done after %.3f s", dSeconds);
    runs.dSpooler = std::min(runs.dSpooler, dSeconds);
    if (nWritten != runs.nFileBytes || SizeOf(printer.strCapturePath) != runs.nFileBytes)
        runs.Fail("the spooler alone did not deliver the file");
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: spooler_bench <capture-unix-path> <file-unix-path>...\n");
        return 2;
    }
    WinePrinters printers(L"Bench");
    const TestPrinter* pPrinter =
        printers.AddRawPrinter(L"Lumeo Bench USB", L"USB077", WineWindowsPath(Narrow(argv[1])));
    if (!pPrinter) {
        std::fprintf(stderr, "spooler_bench: Wine did not accept the bench printer\n");
        return 1;
    }

    CClock clock;
    // LUMEO_BENCH_PHASES=1: the time of each step, taken from the debug log.
    if (GetEnvironmentVariableW(L"LUMEO_BENCH_PHASES", nullptr, 0) > 0) {
        g_wLogSwitch = 1;
        SetLogSink([](const std::wstring& line) {
            static CClock s_sinceLast;
            static bool s_bStarted = false;
            if (line.rfind(L"SendDataToDevice / ", 0) == 0 || line.rfind(L"WriteDocument / ", 0) == 0) {
                std::fprintf(stderr, "  +%.3f s  %.60ls\n", s_bStarted ? s_sinceLast.Seconds() : 0.0, line.c_str());
                s_sinceLast.Start();
                s_bStarted = true;
            }
        });
    }
    // LUMEO_BENCH_WINDOW_MIB: another size of the mapped windows.
    wchar_t szWindow[16] = {};
    if (GetEnvironmentVariableW(L"LUMEO_BENCH_WINDOW_MIB", szWindow, 16) > 0)
        SetDocumentWindowBytes(static_cast<size_t>(_wtoi(szWindow)) << 20);
    wchar_t szRounds[16] = {};
    const int nRounds = GetEnvironmentVariableW(L"LUMEO_BENCH_ROUNDS", szRounds, 16) > 0 ? _wtoi(szRounds) : 3;
    if (nRounds < 1) {
        std::fprintf(stderr, "spooler_bench: LUMEO_BENCH_ROUNDS must be at least 1\n");
        return 2;
    }

    using Run = void (*)(FileRuns&, const TestPrinter&, CClock&);
    const Run kRuns[] = {RunSend, RunOwnSteps, RunSpoolerAlone};
    int nFailed = 0;
    for (int i = 2; i < argc; ++i) {
        FileRuns runs;
        runs.strFile = WineWindowsPath(Narrow(argv[i]));
        runs.nFileBytes = SizeOf(runs.strFile);
        if (runs.nFileBytes == 0)
            runs.Fail("the file is missing or empty");
        for (int nRound = 0; nRound < nRounds && runs.strFailed.empty(); ++nRound)
            for (int nStep = 0; nStep < 3; ++nStep)
                kRuns[(nRound + nStep) % 3](runs, *pPrinter, clock);
        if (!runs.strFailed.empty()) {
            std::fprintf(stderr, "spooler_bench: %s: %s; no figures\n", Narrow(argv[i]).c_str(),
                         runs.strFailed.c_str());
            ++nFailed;
            continue;
        }
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        std::printf("file=%s bytes=%llu spool_bytes=%llu seconds=%.3f own_seconds=%.3f spooler_only_seconds=%.3f "
                    "peak_working_set=%llu peak_pagefile=%llu\n",
                    Narrow(argv[i]).c_str(), runs.nFileBytes, runs.nSpoolBytes, runs.dSend, runs.dOwn,
                    runs.dSpooler, static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                    static_cast<unsigned long long>(counters.PeakPagefileUsage));
        std::fflush(stdout);
    }
    return nFailed == 0 ? 0 : 1;
}
