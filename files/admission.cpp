#include "files/admission.h"

#include <sys/stat.h>
#include <sys/types.h>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/document_file.h"
#include "files/file_signature.h"
#include "files/file_types.h"

namespace {
bool IsRegularFile(const std::wstring& strPath)
{
    // The platform's status call refuses wildcards; refuse them alike everywhere.
    if (strPath.empty() || strPath.find_first_of(L"*?") != std::wstring::npos)
        return false;
    // The list entry, the print run and the PJL file size hold 259 characters; a longer
    // path that a long-path-aware system still opens would be cut or sized as 0.
    if (strPath.size() >= static_cast<size_t>(kTextChars))
        return false;
#ifdef _WIN32
    struct _stat64 st;
    if (_wstat64(strPath.c_str(), &st) != 0)
        return false;
    return (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    if (stat(ToAnsi(strPath).c_str(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode);
#endif
}

// The name alone says nothing: the first bytes must be those of the type it names.
bool HasContentOfType(const std::wstring& strPath, int nTypeBit)
{
    std::string strHead;
    return ReadDocumentHead(strPath, kSignatureBytes, strHead) &&
           HasTypeSignature(nTypeBit, strHead.data(), strHead.size());
}
}  // namespace

bool IsExtensionAdmitted(const std::wstring& strFileExt, int nSupportedTypes)
{
    if (nSupportedTypes <= 0)
        return false;
    return (FileTypeOfExtension(strFileExt) & nSupportedTypes) != 0;
}

bool ValidatePathname(const std::wstring& strPath, int nSupportedTypes)
{
    if (!IsRegularFile(strPath)) {
        DebugLog(L"ValidatePathname / bValid : %d", 0);
        return false;
    }
    const std::wstring strFileExt = PathExtension(strPath);
    const std::wstring strFileExtFilter = AdmissionListOfMask(nSupportedTypes);
    DebugLog(L"ValidatePathname / strFileExt : %s", strFileExt.c_str());
    DebugLog(L"ValidatePathname / strFileExtFilter : %s", strFileExtFilter.c_str());
    bool bValid = IsExtensionAdmitted(strFileExt, nSupportedTypes);
    if (bValid && !HasContentOfType(strPath, FileTypeOfExtension(strFileExt))) {
        DebugLog(L"ValidatePathname / the content is not of its type");
        bValid = false;
    }
    DebugLog(L"ValidatePathname / bValid : %d", bValid ? 1 : 0);
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
