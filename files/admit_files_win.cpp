#include "files/admit_files.h"

#include <objbase.h>

#include "files/admission.h"
#include "files/shell_files.h"

namespace {
// The shell's link object and icons want COM on the thread that asks.
class CComApartment {
public:
    CComApartment() : m_bInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment()
    {
        if (m_bInitialized)
            CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

private:
    bool m_bInitialized;
};
}  // namespace

AdmissionResult AdmitCandidateFiles(const std::vector<std::wstring>& arrPaths, int nSupportedTypes)
{
    CComApartment apartment;
    AdmissionResult result;
    for (size_t i = 0; i < arrPaths.size(); ++i) {
        const std::wstring strPath = ResolvedPath(arrPaths[i]);
        FileReason reason;
        if (ValidatePathname(strPath, nSupportedTypes, &reason))
            result.arrAdmitted.push_back({strPath, GetIconIndex(strPath)});
        else
            result.arrRefused.push_back({strPath, reason, i});
    }
    return result;
}

std::vector<RefusedFile> RefusedListedFiles(const std::vector<std::wstring>& arrListed, int nSupportedTypes)
{
    std::vector<RefusedFile> arrRefused;
    for (size_t i = 0; i < arrListed.size(); ++i) {
        FileReason reason;
        if (!ValidatePathname(arrListed[i], nSupportedTypes, &reason))
            arrRefused.push_back({arrListed[i], reason, i});
    }
    return arrRefused;
}
