#include "job/send_data_to_device.h"

#include <algorithm>
#include <vector>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/document_file.h"
#include "files/file_signature.h"
#include "files/file_types.h"
#include "job/job_messages.h"
#include "job/pjl_envelope.h"
#include "job/print_summary.h"
#include "job/spool_file.h"
#include "job/uel_search.h"
#include "printer/prt_control.h"

namespace {
// Under Wine every ReadFile and WriteFile is a trip to the host: 4 KiB blocks made the
// copy several times slower than the disk, and 1 MiB ones take a quarter off 256 KiB.
constexpr DWORD kCopyBlockBytes = 1u << 20;

JobMessageHandler& MessageHandler()
{
    static JobMessageHandler handler;
    return handler;
}

// A file handle closed when it goes, however the submission ends.
class CFileHandle {
public:
    explicit CFileHandle(HANDLE hFile = INVALID_HANDLE_VALUE) : m_hFile(hFile) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    HANDLE Get() const { return m_hFile; }
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    void Close() { Reset(INVALID_HANDLE_VALUE); }
    void Reset(HANDLE hFile)
    {
        if (IsOpen())
            CloseHandle(m_hFile);
        m_hFile = hFile;
    }

private:
    HANDLE m_hFile;
};

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

// Why the copy of a file into the spool file ended.
enum class CopyResult { Copied, Failed, Changed, Refused, Stopped };

CopyBlockHook g_pCopyBlockHook = nullptr;

// Exactly nFileBytes, the size the header states, after the header. A read or write
// error fails the whole spool file (a job cut short must not be printed); a file that
// ends early or has grown meanwhile has changed; a file whose first bytes are not of its
// type, or that holds the PJL universal exit, is refused: the printer would run what
// follows as commands. A stop asked for between blocks ends it too.
CopyResult CopyFileBytes(HANDLE hSource, HANDLE hSpool, unsigned long long nFileBytes, int nFileType,
                         const SendControl& control, unsigned long long& nTotal)
{
    std::vector<BYTE> buffer(kCopyBlockBytes);
    std::string strHead;
    const size_t nHeadBytes = static_cast<size_t>(std::min<unsigned long long>(kSignatureBytes, nFileBytes));
    if (nHeadBytes == 0)
        return CopyResult::Refused;  // an empty file is of no type
    UelSearch uel;
    for (unsigned long long nLeft = nFileBytes; nLeft > 0;) {
        if (control.fnStopRequested && control.fnStopRequested())
            return CopyResult::Stopped;
        const DWORD nWant = static_cast<DWORD>(std::min<unsigned long long>(kCopyBlockBytes, nLeft));
        DWORD nRead = 0;
        if (!ReadFile(hSource, buffer.data(), nWant, &nRead, nullptr))
            return CopyResult::Failed;
        if (nRead == 0)
            return CopyResult::Changed;  // shorter than when it was opened
        if (strHead.size() < nHeadBytes) {
            strHead.append(reinterpret_cast<const char*>(buffer.data()),
                           std::min<size_t>(nRead, nHeadBytes - strHead.size()));
            if (strHead.size() == nHeadBytes && !HasTypeSignature(nFileType, strHead.data(), strHead.size()))
                return CopyResult::Refused;
        }
        if (uel.Feed(buffer.data(), nRead))
            return CopyResult::Refused;
        if (!WriteAll(hSpool, buffer.data(), nRead, nTotal))
            return CopyResult::Failed;
        nLeft -= nRead;
        if (g_pCopyBlockHook)
            g_pCopyBlockHook(nFileBytes - nLeft);
        if (control.fnProgress)
            control.fnProgress(nFileBytes - nLeft);
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(hSource, &size) || static_cast<unsigned long long>(size.QuadPart) != nFileBytes)
        return CopyResult::Changed;
    return CopyResult::Copied;
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

void SetCopyBlockHook(CopyBlockHook hook) { g_pCopyBlockHook = hook; }

SendResult SubmitFile(CPrtControl& prtControl, const std::wstring& strPath, const JobSnapshot& job,
                      const SendControl& control)
{
    SendResult result;
    // A path past the 260-character buffers is refused as unreadable, as Windows does
    // without long-path support.
    CFileHandle source(strPath.size() >= static_cast<size_t>(kTextChars) ? INVALID_HANDLE_VALUE
                                                                         : OpenDocumentFile(strPath, FILE_SHARE_READ));
    // The header states the size of what is copied: the open file's, not the folder's entry.
    LARGE_INTEGER fileSize = {};
    if (source.IsOpen() && !GetFileSizeEx(source.Get(), &fileSize))
        source.Close();
    if (!source.IsOpen()) {
        DebugLog(L"SendDataToDevice / Cannot Open PDF file");
        return result;
    }
    if (control.fnStopRequested && control.fnStopRequested()) {
        result.outcome = FileOutcome::Cancelled;
        return result;
    }
    const unsigned long long nFileBytes = static_cast<unsigned long long>(fileSize.QuadPart);

    CSpoolFile spool(prtControl);
    if (!spool.Create()) {
        DebugLog(L"SendDataToDevice / Cannot Create the temp file");
        return result;
    }

    const std::wstring strStartPJLCMD = SendStartPJLCommand(job, strPath, static_cast<int64_t>(nFileBytes));
    DebugLog(L"SendDataToDevice / strStartPJLCMD : %s", strStartPJLCMD.c_str());
    unsigned long long nSpoolBytes = 0;
    CopyResult copy =
        WriteAnsi(spool.Handle(), strStartPJLCMD, nSpoolBytes) ? CopyResult::Copied : CopyResult::Failed;
    if (copy == CopyResult::Copied)
        copy = CopyFileBytes(source.Get(), spool.Handle(), nFileBytes, FileTypeOfExtension(PathExtension(strPath)),
                             control, nSpoolBytes);
    const std::wstring strEndPJLCMD = SendEndPJLCommand();
    DebugLog(L"SendDataToDevice / strEndPJLCMD : %s", strEndPJLCMD.c_str());
    if (copy == CopyResult::Copied && !WriteAnsi(spool.Handle(), strEndPJLCMD, nSpoolBytes))
        copy = CopyResult::Failed;
    source.Close();

    if (copy != CopyResult::Copied) {
        switch (copy) {
        case CopyResult::Refused:
            DebugLog(L"SendDataToDevice / The content is not of the file's type or holds printer commands");
            result.outcome = FileOutcome::Refused;
            break;
        case CopyResult::Changed:
            DebugLog(L"SendDataToDevice / The file changed while it was copied");
            break;
        case CopyResult::Stopped:
            DebugLog(L"SendDataToDevice / Stopped before sending");
            result.outcome = FileOutcome::Cancelled;
            break;
        default:
            DebugLog(L"SendDataToDevice / Cannot write the temp file");
            break;
        }
        return result;
    }

    if (!spool.Map())
        return result;

    const std::wstring strDocName = L"KVQ_" + FileNameOfPath(strPath);
    DebugLog(L"SendDataToDevice / strDocName : %s", strDocName.c_str());

    DocumentWriteWatch watch;
    watch.fnStopRequested = control.fnStopRequested;
    if (control.fnProgress && nSpoolBytes > 0)
        watch.fnWritten = [&](unsigned long long nWritten) {
            const double dShare = static_cast<double>(nWritten) / static_cast<double>(nSpoolBytes);
            control.fnProgress(nFileBytes + static_cast<unsigned long long>(dShare * static_cast<double>(nFileBytes)));
        };
    const unsigned long long nResult = prtControl.WriteDocument(strDocName, &watch);
    DebugLog(L"SendDataToDevice / nResult : %I64d", static_cast<long long>(nResult));
    result.nJobId = watch.nJobId;

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
    case FileOutcome::Refused:
        ShowJobMessage(kMsgRefusedContent);
        return 0;
    default:
        ShowJobMessage(kMsgInvalidFile);
        return 0;
    }
}
