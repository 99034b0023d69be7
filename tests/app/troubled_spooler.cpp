// Linked into a copy of LumeoCmd.exe whose spooler, through the spooler seam, refuses every
// document whose name holds "refused" and shows every job it took as out of paper: Wine's
// own spooler takes any document and reports no trouble. A document whose name holds
// "handover" is taken slowly, 64 KiB a write, and each write sets the event
// "LumeoTestHandOver", so a test can stop the run while the spooler takes it; an abort
// sets "LumeoTestAborted" (Wine's own abort still prints the job).
#include <algorithm>
#include <cwchar>

#include "printer/queue/spooler_api.h"

namespace {
bool g_bSlowHandOver = false;

void Signal(const wchar_t* pszEvent)
{
    if (HANDLE hEvent = OpenEventW(EVENT_MODIFY_STATE, FALSE, pszEvent)) {
        SetEvent(hEvent);
        CloseHandle(hEvent);
    }
}

BOOL WINAPI SlowWrite(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten)
{
    if (g_bSlowHandOver) {
        Signal(L"LumeoTestHandOver");
        Sleep(100);
        cbBuf = std::min<DWORD>(cbBuf, 64 * 1024);
    }
    return WinspoolApi().WritePrinter(hPrinter, pBuf, cbBuf, pcWritten);
}

BOOL WINAPI SignalledAbort(HANDLE hPrinter)
{
    Signal(L"LumeoTestAborted");
    return WinspoolApi().AbortPrinter(hPrinter);
}

DWORD WINAPI StartDocOrRefuse(HANDLE hPrinter, DWORD nLevel, LPBYTE pDocInfo)
{
    const wchar_t* pszName = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo)->pDocName;
    g_bSlowHandOver = pszName && wcsstr(pszName, L"handover");
    if (pszName && wcsstr(pszName, L"refused")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return WinspoolApi().StartDocPrinterW(hPrinter, nLevel, pDocInfo);
}

BOOL WINAPI JobOutOfPaper(HANDLE, DWORD, DWORD, LPBYTE pJob, DWORD cbBuf, LPDWORD pcbNeeded)
{
    *pcbNeeded = sizeof(JOB_INFO_1W);
    if (!pJob || cbBuf < sizeof(JOB_INFO_1W)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *reinterpret_cast<JOB_INFO_1W*>(pJob) = JOB_INFO_1W{};
    reinterpret_cast<JOB_INFO_1W*>(pJob)->Status = JOB_STATUS_PAPEROUT;
    return TRUE;
}

struct TroubledSpooler {
    SpoolerApi api = WinspoolApi();
    TroubledSpooler()
    {
        api.StartDocPrinterW = &StartDocOrRefuse;
        api.GetJobW = &JobOutOfPaper;
        api.WritePrinter = &SlowWrite;
        api.AbortPrinter = &SignalledAbort;
        SetSpoolerApi(&api);
    }
} g_troubledSpooler;
}  // namespace
