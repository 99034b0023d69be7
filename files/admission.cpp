#include "files/admission.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/system_error.h"
#include "common/ui_text.h"
#include "files/document_file.h"
#include "files/file_signature.h"
#include "files/file_types.h"

namespace {
// The file's status: Sent when it is a regular file that may be read.
FileReason FileStatusReason(const std::wstring& strPath)
{
    // The platform's status call refuses wildcards; refuse them alike everywhere.
    if (strPath.empty() || strPath.find_first_of(L"*?") != std::wstring::npos)
        return FileOutcome::NotFound;
    // The list entry, the print run and the PJL file size hold 259 characters; a longer
    // path that a long-path-aware system still opens would be cut or sized as 0.
    if (strPath.size() >= static_cast<size_t>(kTextChars))
        return FileOutcome::PathTooLong;
#ifdef _WIN32
    struct _stat64 st;
    if (_wstat64(strPath.c_str(), &st) != 0) {
        // The runtime's errno says "not there" for every way a name can miss.
        const unsigned long nError = LastSystemError();
        return errno == ENOENT || nError == 0 ? FileReason(FileOutcome::NotFound)
                                              : SystemFaultReason(FileOutcome::CannotOpen, nError);
    }
    const bool bRegular = (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    if (stat(ToAnsi(strPath).c_str(), &st) != 0)
        return SystemFaultReason(FileOutcome::CannotOpen, LastSystemError());
    const bool bRegular = S_ISREG(st.st_mode);
#endif
    return bRegular ? FileOutcome::Sent : FileOutcome::NotAFile;
}

// The name alone says nothing: the first bytes must be those of the type it names.
FileReason ContentReason(const std::wstring& strPath, int nTypeBit)
{
    std::string strHead;
    if (!ReadDocumentHead(strPath, kSignatureBytes, strHead)) {
        const unsigned long nError = LastSystemError();
        return IsNoDiskFileError(nError) ? FileOutcome::NotAFile : SystemFaultReason(FileOutcome::CannotOpen, nError);
    }
    if (strHead.empty())
        return FileOutcome::Empty;
    if (!HasTypeSignature(nTypeBit, strHead.data(), strHead.size())) {
        FileReason reason(FileOutcome::NotOfItsType);
        reason.nFileType = nTypeBit;
        return reason;
    }
    return FileOutcome::Sent;
}
}  // namespace

bool IsExtensionAdmitted(const std::wstring& strFileExt, int nSupportedTypes)
{
    if (nSupportedTypes <= 0)
        return false;
    return (FileTypeOfExtension(strFileExt) & nSupportedTypes) != 0;
}

bool ValidatePathname(const std::wstring& strPath, int nSupportedTypes, FileReason* pReason)
{
    FileReason reason = FileStatusReason(strPath);
    if (reason.outcome == FileOutcome::Sent) {
        const std::wstring strFileExt = PathExtension(strPath);
        const std::wstring strFileExtFilter = AdmissionListOfMask(nSupportedTypes);
        DebugLog(L"ValidatePathname / strFileExt : %s", strFileExt.c_str());
        DebugLog(L"ValidatePathname / strFileExtFilter : %s", strFileExtFilter.c_str());
        reason = IsExtensionAdmitted(strFileExt, nSupportedTypes)
                     ? ContentReason(strPath, FileTypeOfExtension(strFileExt))
                     : TypeNotTakenReason(strFileExt, nSupportedTypes);
    }
    const bool bValid = reason.outcome == FileOutcome::Sent;
    if (!bValid)
        DebugLog(L"ValidatePathname / %s", FileReasonText(reason).c_str());
    DebugLog(L"ValidatePathname / bValid : %d", bValid ? 1 : 0);
    if (pReason)
        *pReason = reason;
    return bValid;
}

int DropRefusalMessage(int nSupportedTypes)
{
    if (nSupportedTypes == -1)
        return 4;
    if (nSupportedTypes == -2)
        return 3;
    return 1;
}
