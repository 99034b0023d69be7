#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "common/folder_rights.h"

std::wstring AdministratorAccountSid()
{
    BYTE adminsSid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(adminsSid);
    BOOL bAdmin = FALSE;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, adminsSid, &size) ||
        !CheckTokenMembership(nullptr, adminsSid, &bAdmin) || !bAdmin)
        return {};
    HANDLE hToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return {};
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    std::wstring text;
    wchar_t* pszSid = nullptr;
    if (GetTokenInformation(hToken, TokenUser, buffer, sizeof(buffer), &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &pszSid)) {
        text = pszSid;
        LocalFree(pszSid);
    }
    CloseHandle(hToken);
    return text;
}

std::wstring SecurityDescriptorText(const std::wstring& path)
{
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    wchar_t* pszSddl = nullptr;
    std::wstring sddl;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr, &pDescriptor) ==
            ERROR_SUCCESS &&
        ConvertSecurityDescriptorToStringSecurityDescriptorW(pDescriptor, SDDL_REVISION_1, what, &pszSddl, nullptr))
        sddl = pszSddl;
    LocalFree(pszSddl);
    LocalFree(pDescriptor);
    return sddl;
}
