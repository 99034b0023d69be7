#include "job/send_data_to_device.h"

#include <vector>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "job/job_messages.h"
#include "job/pjl_envelope.h"
#include "job/print_summary.h"
#include "printer/prt_control.h"

namespace {
// Under Wine every ReadFile and WriteFile is a trip to the host, so 4 KiB blocks
// made the copy several times slower than the disk; the block stays fixed-size.
constexpr DWORD kCopyBlockBytes = 256u << 10;

JobMessageHandler& MessageHandler()
{
    static JobMessageHandler handler;
    return handler;
}

SpoolFileCreator g_pSpoolFileCreator = nullptr;

HANDLE CreateSpoolFile(const wchar_t* pszPath)
{
    if (g_pSpoolFileCreator)
        return g_pSpoolFileCreator(pszPath);
    // The name request has just made the file, empty: it is opened as it is (and made
    // again only if it has gone). Under Wine, CREATE_ALWAYS truncates it, and Linux file
    // systems such as ext4 take a file truncated to 0 and rewritten for a replaced file
    // that they write to disk when it is closed: that cost more than the copy itself,
    // on close and again on delete.
    return CreateFileW(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Adds what was written to nTotal, so the caller knows the spool file's size.
bool WriteAll(HANDLE hFile, const void* pData, DWORD nBytes, unsigned long long& nTotal)
{
    DWORD nWritten = 0;
    const bool bOk = WriteFile(hFile, pData, nBytes, &nWritten, nullptr) && nWritten == nBytes;
    nTotal += nWritten;
    return bOk;
}

bool WriteAnsi(HANDLE hFile, const std::wstring& strText, unsigned long long& nTotal)
{
    const std::string strBytes = ToThreadAnsi(strText);
    return WriteAll(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), nTotal);
}

// The file's bytes after the header: exactly nSize of them. A read or write error,
// or a file that is shorter or longer than its size said, fails the whole spool file:
// a job cut short must not be printed. bStopped tells a stop request from a failure.
bool CopyFileBytes(HANDLE hSource, HANDLE hSpool, unsigned long long nSize, const SendControl& control,
                   unsigned long long& nTotal, bool& bStopped)
{
    std::vector<BYTE> buffer(kCopyBlockBytes);
    unsigned long long nCopied = 0;
    for (;;) {
        if (control.fnStopRequested && control.fnStopRequested()) {
            bStopped = true;
            return false;
        }
        DWORD nRead = 0;
        if (!ReadFile(hSource, buffer.data(), kCopyBlockBytes, &nRead, nullptr))
            return false;
        if (nRead == 0)
            return nCopied == nSize;
        if (nRead > nSize - nCopied)
            return false;
        if (!WriteAll(hSpool, buffer.data(), nRead, nTotal))
            return false;
        nCopied += nRead;
        if (control.fnProgress)
            control.fnProgress(nCopied);
    }
}
}  // namespace

void SetJobMessageHandler(JobMessageHandler handler) { MessageHandler() = std::move(handler); }

void ShowJobMessage(int nKind)
{
    if (MessageHandler()) {
        MessageHandler()(nKind);
        return;
    }
    MessageBoxW(GetActiveWindow(), JobMessageText(nKind).c_str(), JobMessageCaption().c_str(), MB_OK | MB_ICONERROR);
}

void SetSpoolFileCreator(SpoolFileCreator creator) { g_pSpoolFileCreator = creator; }

SendResult SubmitFile(CPrtControl& prtControl, const std::wstring& strPath, const JobSnapshot& job,
                      const SendControl& control)
{
    SendResult result;
    // A path past the 260-character buffers is refused as unreadable, as Windows does
    // without long-path support.
    HANDLE hSource = strPath.size() >= static_cast<size_t>(kTextChars)
                         ? INVALID_HANDLE_VALUE
                         : CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {};
    if (hSource != INVALID_HANDLE_VALUE && !GetFileSizeEx(hSource, &size)) {
        CloseHandle(hSource);
        hSource = INVALID_HANDLE_VALUE;
    }
    if (hSource == INVALID_HANDLE_VALUE) {
        DebugLog(L"SendDataToDevice / Cannot Open PDF file");
        return result;
    }
    if (control.fnStopRequested && control.fnStopRequested()) {
        CloseHandle(hSource);
        result.outcome = FileOutcome::Cancelled;
        return result;
    }
    const unsigned long long nFileSize = static_cast<unsigned long long>(size.QuadPart);

    wchar_t szTempPath[kTextChars] = {};
    wchar_t szTempName[kTextChars] = {};
    const DWORD nTempChars = GetTempPathW(kTextChars, szTempPath);
    const bool bNamed = nTempChars > 0 && nTempChars < static_cast<DWORD>(kTextChars) &&
                        GetTempFileNameW(szTempPath, L"KVQ", 0, szTempName) != 0;
    if (bNamed)
        DebugLog(L"SendDataToDevice / szTempName : %s", szTempName);

    HANDLE hSpool = bNamed ? CreateSpoolFile(szTempName) : INVALID_HANDLE_VALUE;
    if (hSpool == INVALID_HANDLE_VALUE) {
        DebugLog(L"SendDataToDevice / Cannot Create the temp file");
        // The name request made an empty file; it must not stay behind.
        if (bNamed)
            DeleteFileW(szTempName);
        CloseHandle(hSource);
        return result;
    }

    // The header gives the size of what is copied from this very handle.
    const std::wstring strStartPJLCMD = SendStartPJLCommand(job, strPath, static_cast<int64_t>(nFileSize));
    DebugLog(L"SendDataToDevice / strStartPJLCMD : %s", strStartPJLCMD.c_str());
    unsigned long long nSpoolBytes = 0;
    bool bStopped = false;
    bool bSpoolComplete = WriteAnsi(hSpool, strStartPJLCMD, nSpoolBytes);
    bSpoolComplete = bSpoolComplete && CopyFileBytes(hSource, hSpool, nFileSize, control, nSpoolBytes, bStopped);
    const std::wstring strEndPJLCMD = SendEndPJLCommand();
    DebugLog(L"SendDataToDevice / strEndPJLCMD : %s", strEndPJLCMD.c_str());
    bSpoolComplete = bSpoolComplete && WriteAnsi(hSpool, strEndPJLCMD, nSpoolBytes);
    CloseHandle(hSpool);
    CloseHandle(hSource);

    if (!bSpoolComplete) {
        DebugLog(bStopped ? L"SendDataToDevice / Stopped before sending" : L"SendDataToDevice / Cannot write the temp file");
        DeleteFileW(szTempName);
        result.outcome = bStopped ? FileOutcome::Cancelled : FileOutcome::Unreadable;
        return result;
    }

    if (!prtControl.MapDocument(szTempName)) {
        DeleteFileW(szTempName);
        return result;
    }

    const std::wstring strDocName = L"KVQ_" + FileNameOfPath(strPath);
    DebugLog(L"SendDataToDevice / strDocName : %s", strDocName.c_str());

    DocumentWriteWatch watch;
    watch.fnStopRequested = control.fnStopRequested;
    if (control.fnProgress && nSpoolBytes > 0)
        watch.fnWritten = [&](unsigned long long nWritten) {
            const double dShare = static_cast<double>(nWritten) / static_cast<double>(nSpoolBytes);
            control.fnProgress(nFileSize + static_cast<unsigned long long>(dShare * static_cast<double>(nFileSize)));
        };
    const unsigned long long nResult = prtControl.WriteDocument(strDocName, &watch);
    DebugLog(L"SendDataToDevice / nResult : %I64d", static_cast<long long>(nResult));
    result.nJobId = watch.nJobId;

    prtControl.ReleaseDocument();
    if (!DeleteFileW(szTempName))
        DebugLog(L"SendDataToDevice / Cannot delete the temp file %s", szTempName);

    if (watch.bStopped) {
        result.outcome = FileOutcome::Cancelled;
    } else if (nResult != nSpoolBytes) {
        DebugLog(L"SendDataToDevice / The spooler did not take the whole document");
        result.outcome = FileOutcome::NotTakenWhole;
    } else {
        result.outcome = FileOutcome::Sent;
    }
    return result;
}

int SendDataToDevice(CPrtControl& prtControl, const std::wstring& strPath)
{
    const SendResult result = SubmitFile(prtControl, strPath, SnapshotJob(), SendControl());
    switch (result.outcome) {
    case FileOutcome::Sent:
        return 1;
    case FileOutcome::NotTakenWhole:
        ShowJobMessage(kMsgPrintFailed);
        return 1;
    default:
        ShowJobMessage(kMsgInvalidFile);
        return 0;
    }
}
