#pragma once
// Whether a folder that holds, or lies above, a program every user runs is safe from
// the users who are not administrators: read from its security descriptor in SDDL.
#include <string>
#include <string_view>

// The descriptor protected DACL both installers give the program folder and the folders
// they create above it: owner Administrators; SYSTEM and Administrators full control,
// Users read and execute, nothing inherited.
inline constexpr std::wstring_view kProtectedFolderSddl =
    L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// True when no one but SYSTEM, Administrators, TrustedInstaller and `administrator` (the
// SID of an administrator's own account, or empty) owns the folder or may write into it,
// delete or rename it or what it holds, or change its rights. Entries that only pass on
// to new entries (inherit-only) do not count; adding a subfolder does not either, as
// every drive's root allows it and it cannot touch what exists, except in the program
// folder itself (bProgramFolder), where a subfolder a user adds is one the program may load
// from. Whatever is not understood, and a missing owner or DACL, counts as open.
bool OnlyAdministratorsMayChange(std::wstring_view sddl, std::wstring_view administrator = {},
                                 bool bProgramFolder = false);

#ifdef _WIN32
// The SID of the account this process runs as when it is an administrator's, else empty.
std::wstring AdministratorAccountSid();
// A file's or folder's owner and DACL in SDDL; empty when they cannot be read.
std::wstring SecurityDescriptorText(const std::wstring& path);
#endif
