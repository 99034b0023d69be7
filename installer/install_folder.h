#pragma once
// The folders above the program folder, as both installers prepare them: Explorer loads
// Koretta.dll from the program folder for every user, so whoever may rename or replace a
// folder above it may put their own Koretta.dll in its place.
#include <windows.h>

#include <string>

enum class FolderCheck {
    Ready = 0,
    BadPath = 1,     // not a full path on a drive, or "." or ".." in it
    OpenParent = 2,  // a folder above it that others than administrators may change, or a link
    NotCreated = 3,  // a missing folder above it could not be made
};

// `folder` without the backslashes at its end, or empty when it is no full path on a drive,
// has "." or ".." in it, or a character no folder name may have.
std::wstring PlainFolderPath(std::wstring folder);

// Straight under the 64-bit Program Files folder nothing more is needed. Elsewhere every
// folder above `folder` that exists must be one only administrators may change (the
// account `administrator` counting as one, see AdministratorAccountSid), and with bCreate
// each missing one is made with the protected descriptor. `problem` names the folder
// refused or not made.
FolderCheck CheckFoldersAbove(const std::wstring& folder, bool bCreate, const std::wstring& administrator,
                              std::wstring& problem);

// Makes the folder with the protected descriptor, or gives one that exists that descriptor
// when only administrators may change it already (an earlier installation's); one that
// others may change, or a link, is refused (OpenParent) and left as it is.
FolderCheck ProtectFolder(const std::wstring& folder, const std::wstring& administrator);
