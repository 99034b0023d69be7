// Linked into a copy of LumeoCmd.exe whose spooler, through the spooler seam, refuses every
// document whose name holds "refused" and shows every job it took as out of paper: Wine's
// own spooler takes any document and reports no trouble.
#include <cwchar>

#include "printer/queue/spooler_api.h"

namespace {
DWORD WINAPI StartDocOrRefuse(HANDLE hPrinter, DWORD nLevel, LPBYTE pDocInfo)
{
    const wchar_t* pszName = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo)->pDocName;
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
        SetSpoolerApi(&api);
    }
} g_troubledSpooler;
}  // namespace
