// Linked into a copy of LumeoCmd.exe whose spooler, through the spooler seam, refuses every
// document whose name holds "refused" and shows every job it took as out of paper: Wine's
// own spooler takes any document and reports no trouble.
#include <cwchar>

#include "printer/spooler_api.h"

namespace {
const SpoolerApi& Real() { return WinspoolApi(); }

DWORD WINAPI StartDocOrRefuse(HANDLE hPrinter, DWORD nLevel, LPBYTE pDocInfo)
{
    const auto* pInfo = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo);
    if (pInfo && pInfo->pDocName && wcsstr(pInfo->pDocName, L"refused")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return Real().StartDocPrinterW(hPrinter, nLevel, pDocInfo);
}

BOOL WINAPI JobOutOfPaper(HANDLE, DWORD nJobId, DWORD, LPBYTE pJob, DWORD cbBuf, LPDWORD pcbNeeded)
{
    *pcbNeeded = sizeof(JOB_INFO_1W);
    if (!pJob || cbBuf < sizeof(JOB_INFO_1W)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    JOB_INFO_1W info = {};
    info.JobId = nJobId;
    info.Status = JOB_STATUS_PAPEROUT;
    *reinterpret_cast<JOB_INFO_1W*>(pJob) = info;
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
