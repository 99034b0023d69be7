#include "installer/install_folder.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "common/folder_rights.h"

namespace {
bool IsSafeFolder(const std::wstring& path, const std::wstring& administrator, bool bProgramFolder = false)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    // A link is refused: what it points to can change after the check.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    return OnlyAdministratorsMayChange(SecurityDescriptorText(path), administrator, bProgramFolder);
}

// ERROR_ALREADY_EXISTS when something is there already: it is not taken over here.
DWORD MakeProtectedFolder(const std::wstring& folder, PSECURITY_DESCRIPTOR pDescriptor)
{
    // A new folder has its DACL from the moment it exists.
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), pDescriptor, FALSE};
    return CreateDirectoryW(folder.c_str(), &attributes) ? ERROR_SUCCESS : GetLastError();
}

class ProtectedDescriptor {
public:
    ProtectedDescriptor()
    {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(std::wstring(kProtectedFolderSddl).c_str(),
                                                                  SDDL_REVISION_1, &m_pDescriptor, nullptr))
            m_pDescriptor = nullptr;
    }
    ~ProtectedDescriptor() { LocalFree(m_pDescriptor); }
    ProtectedDescriptor(const ProtectedDescriptor&) = delete;
    ProtectedDescriptor& operator=(const ProtectedDescriptor&) = delete;
    PSECURITY_DESCRIPTOR Get() const { return m_pDescriptor; }

private:
    PSECURITY_DESCRIPTOR m_pDescriptor = nullptr;
};

std::wstring ProgramFiles64()
{
    wchar_t* pszFolder = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX64, 0, nullptr, &pszFolder)))
        folder = pszFolder;
    CoTaskMemFree(pszFolder);
    return PlainFolderPath(folder);
}
}  // namespace

std::wstring PlainFolderPath(std::wstring folder)
{
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    const bool bOnDrive = folder.size() >= 3 && iswalpha(folder[0]) && folder[1] == L':' && folder[2] == L'\\';
    if (!bOnDrive || folder.find(L'/') != std::wstring::npos || folder.find(L"\\\\") != std::wstring::npos)
        return {};
    // Characters no folder name may have: the folders above would be made before the
    // folder itself was refused. "|" also parts the elevated action's data.
    if (folder.find_first_of(L"<>:\"|?*", 2) != std::wstring::npos ||
        std::any_of(folder.begin(), folder.end(), [](wchar_t c) { return c < 0x20; }))
        return {};
    for (size_t at = 2; at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
        const size_t end = folder.find(L'\\', at + 1);
        const std::wstring part = folder.substr(at + 1, end == std::wstring::npos ? end : end - at - 1);
        // Windows also drops dots and blanks at a name's end: "..." and ". ." are "..".
        if (!part.empty() && part.find_first_not_of(L". ") == std::wstring::npos)
            return {};
    }
    return folder;
}

FolderCheck CheckFoldersAbove(const std::wstring& folder, bool bCreate, const std::wstring& administrator,
                              std::wstring& problem)
{
    const std::wstring plain = PlainFolderPath(folder);
    problem = plain.empty() ? folder : plain;
    if (plain.empty() || plain.size() <= 3)
        return FolderCheck::BadPath;
    const size_t lastSlash = plain.rfind(L'\\');
    const std::wstring parent = plain.substr(0, lastSlash == 2 ? 3 : lastSlash);
    const std::wstring programFiles = ProgramFiles64();
    if (!programFiles.empty() && CompareStringOrdinal(parent.c_str(), -1, programFiles.c_str(), -1, TRUE) == CSTR_EQUAL)
        return FolderCheck::Ready;
    std::vector<std::wstring> above = {parent.substr(0, 3)};
    for (size_t at = parent.find(L'\\', 3); at != std::wstring::npos; at = parent.find(L'\\', at + 1))
        above.push_back(parent.substr(0, at));
    if (parent.size() > 3)
        above.push_back(parent);
    const ProtectedDescriptor descriptor;
    bool bMade = false;  // below a folder made here everything is new
    for (const std::wstring& path : above) {
        problem = path;
        if (!bMade && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (!IsSafeFolder(path, administrator))
                return FolderCheck::OpenParent;
        } else if (bCreate) {
            const DWORD error = descriptor.Get() ? MakeProtectedFolder(path, descriptor.Get()) : GetLastError();
            // There since it was looked at: a user's, maybe, judged as any folder found.
            if (error == ERROR_ALREADY_EXISTS && !IsSafeFolder(path, administrator))
                return FolderCheck::OpenParent;
            if (error != ERROR_SUCCESS && error != ERROR_ALREADY_EXISTS)
                return FolderCheck::NotCreated;
            bMade = error == ERROR_SUCCESS;
        }
    }
    return FolderCheck::Ready;
}

FolderCheck ProtectFolder(const std::wstring& folder, const std::wstring& administrator)
{
    const ProtectedDescriptor descriptor;
    if (!descriptor.Get())
        return FolderCheck::NotCreated;
    const DWORD error = MakeProtectedFolder(folder, descriptor.Get());
    if (error != ERROR_ALREADY_EXISTS)
        return error == ERROR_SUCCESS ? FolderCheck::Ready : FolderCheck::NotCreated;
    // An earlier installation's folder gets the descriptor again. One that users may change,
    // or a link, is never taken over: what they put in it would run for every user.
    if (!IsSafeFolder(folder, administrator, true))
        return FolderCheck::OpenParent;
    PSID pOwner = nullptr;
    PACL pDacl = nullptr;
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor.Get(), &pOwner, &bDefaulted);
    GetSecurityDescriptorDacl(descriptor.Get(), &bPresent, &pDacl, &bDefaulted);
    return SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                 OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                     PROTECTED_DACL_SECURITY_INFORMATION,
                                 pOwner, nullptr, pDacl, nullptr) == ERROR_SUCCESS
               ? FolderCheck::Ready
               : FolderCheck::NotCreated;
}
