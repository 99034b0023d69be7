#include "job/spooler/send_data_to_device.h"

#include <algorithm>
#include <vector>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/system_error.h"
#include "common/ui_text.h"
#include "files/document_file.h"
#include "files/file_types.h"
#include "job/document/document_reader.h"
#include "job/outcome/job_messages.h"
#include "job/outcome/print_summary.h"
#include "job/spooler/pjl_envelope.h"
#include "job/spooler/spool_file.h"
#include "printer/queue/prt_control.h"

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

// Why the copy of a file into the spool file ended: the reader's fault, or a write's
// error (nError keeps the system's).
enum class CopyResult { Copied, ReadEndedEarly, WriteFailed };

CopyBlockHook g_pCopyBlockHook = nullptr;

// Exactly nFileBytes, the size the header states, after the header, as the reader lets
// them pass (job/document/document_reader.h). A write error fails the whole spool file (a
// job cut short must not be printed). Nothing leaves before the whole copy, so the size
// is judged once more after it.
CopyResult CopyFileBytes(CDocumentReader& reader, HANDLE hSpool, unsigned long long nFileBytes,
                         const SendControl& control, unsigned long long& nTotal, DWORD& nError)
{
    std::vector<BYTE> buffer(kCopyBlockBytes);
    do {
        const std::optional<size_t> got = reader.Read(buffer.data(), buffer.size());
        if (!got)
            return CopyResult::ReadEndedEarly;
        if (!WriteAll(hSpool, buffer.data(), static_cast<DWORD>(*got), nTotal)) {
            nError = GetLastError();
            return CopyResult::WriteFailed;
        }
        if (g_pCopyBlockHook)
            g_pCopyBlockHook(reader.BytesRead());
        if (control.fnProgress)
            control.fnProgress(reader.BytesRead());
    } while (reader.BytesRead() < nFileBytes);
    return reader.StillOfItsSize() ? CopyResult::Copied : CopyResult::ReadEndedEarly;
}

// Why a document could not be opened: a name that is no file on a disk is no file.
FileReason ReasonOfOpen(DWORD nError)
{
    return IsNoDiskFileError(nError) ? FileReason(FileOutcome::NotAFile)
                                     : SystemFaultReason(FileOutcome::CannotOpen, nError);
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
    // A path past the 260-character buffers is refused, as Windows does without
    // long-path support.
    if (strPath.size() >= static_cast<size_t>(kTextChars)) {
        result.reason = FileOutcome::PathTooLong;
        DebugLog(L"SendDataToDevice / Cannot Open PDF file");
        return result;
    }
    CFileHandle source(OpenDocumentFile(strPath, FILE_SHARE_READ));
    // The header states the size of what is copied: the open file's, not the folder's entry.
    LARGE_INTEGER fileSize = {};
    if (source.IsOpen() && !GetFileSizeEx(source.Get(), &fileSize))
        source.Close();
    if (!source.IsOpen()) {
        result.reason = ReasonOfOpen(GetLastError());
        DebugLog(L"SendDataToDevice / Cannot Open PDF file");
        return result;
    }
    if (control.fnStopRequested && control.fnStopRequested()) {
        result.reason = FileOutcome::Cancelled;
        return result;
    }
    const unsigned long long nFileBytes = static_cast<unsigned long long>(fileSize.QuadPart);

    CSpoolFile spool(prtControl);
    if (!spool.Create()) {
        result.reason = SystemFaultReason(FileOutcome::SpoolFileFailed, GetLastError());
        DebugLog(L"SendDataToDevice / Cannot Create the temp file");
        return result;
    }

    const std::wstring strStartPJLCMD = SendStartPJLCommand(job, strPath, static_cast<int64_t>(nFileBytes));
    DebugLog(L"SendDataToDevice / strStartPJLCMD : %s", strStartPJLCMD.c_str());
    unsigned long long nSpoolBytes = 0;
    DWORD nError = 0;
    CopyResult copy =
        WriteAnsi(spool.Handle(), strStartPJLCMD, nSpoolBytes) ? CopyResult::Copied : CopyResult::WriteFailed;
    CDocumentReader reader(source.Get(), nFileBytes, FileTypeOfExtension(PathExtension(strPath)), control);
    if (copy == CopyResult::Copied)
        copy = CopyFileBytes(reader, spool.Handle(), nFileBytes, control, nSpoolBytes, nError);
    const std::wstring strEndPJLCMD = SendEndPJLCommand();
    DebugLog(L"SendDataToDevice / strEndPJLCMD : %s", strEndPJLCMD.c_str());
    if (copy == CopyResult::Copied && !WriteAnsi(spool.Handle(), strEndPJLCMD, nSpoolBytes))
        copy = CopyResult::WriteFailed;
    if (copy == CopyResult::WriteFailed && !nError)
        nError = GetLastError();
    source.Close();

    if (copy != CopyResult::Copied) {
        result.reason = copy == CopyResult::ReadEndedEarly ? reader.Fault()
                                                           : SystemFaultReason(FileOutcome::SpoolFileFailed, nError);
        if (copy == CopyResult::WriteFailed)
            DebugLog(L"SendDataToDevice / Cannot write the temp file");
        DebugLog(L"SendDataToDevice / %s", FileReasonText(result.reason).c_str());
        return result;
    }

    if (!spool.Map()) {
        result.reason = SystemFaultReason(FileOutcome::SpoolFileFailed, GetLastError());
        return result;
    }

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
        result.reason = FileOutcome::Cancelled;
    } else if (nResult != nSpoolBytes) {
        DebugLog(L"SendDataToDevice / The spooler did not take the whole document");
        result.reason = FileReason(FileOutcome::SpoolerRefused, watch.nError ? SystemErrorText(watch.nError) : L"");
    } else {
        result.reason = FileOutcome::Sent;
    }
    return result;
}

int SendDataToDevice(CPrtControl& prtControl, const std::wstring& strPath)
{
    const SendResult result = SubmitFile(prtControl, strPath, SnapshotJob(), SendControl());
    switch (result.reason.outcome) {
    case FileOutcome::Sent:
        return 1;
    case FileOutcome::SpoolerRefused:
        ShowJobMessage(kMsgPrintFailed);
        return 1;
    case FileOutcome::Empty:
    case FileOutcome::NotOfItsType:
    case FileOutcome::PrinterCommands:
        ShowJobMessage(kMsgRefusedContent);
        return 0;
    default:
        ShowJobMessage(kMsgInvalidFile);
        return 0;
    }
}
