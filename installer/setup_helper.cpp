// LumeoSetupHelper.dll: the install folder checks both installers run before they place
// a file; LumeoSetup.exe calls it from its temporary folder, LumeoSetup.msi as custom actions.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <algorithm>
#include <string>

#include "common/folder_rights.h"
#include "installer/install_folder.h"

namespace {
std::wstring Property(MSIHANDLE hInstall, const wchar_t* pszName)
{
    DWORD chars = 0;
    wchar_t empty[1] = L"";
    if (MsiGetPropertyW(hInstall, pszName, empty, &chars) != ERROR_MORE_DATA)
        return {};
    std::wstring value(++chars, L'\0');
    if (MsiGetPropertyW(hInstall, pszName, value.data(), &chars) != ERROR_SUCCESS)
        return {};
    value.resize(chars);
    return value;
}

std::wstring RecordText(MSIHANDLE hRecord, UINT field)
{
    wchar_t text[2048] = {};
    DWORD chars = 2048;
    return MsiRecordGetStringW(hRecord, field, text, &chars) == ERROR_SUCCESS ? text : L"";
}

// Shows (or, silent, logs) the message, with the path as its field 1, never as formatted
// text: a "[" in a folder name would be read as a property.
UINT Refuse(MSIHANDLE hInstall, const wchar_t* pszMessage, const std::wstring& path)
{
    MSIHANDLE hRecord = MsiCreateRecord(1);
    MsiRecordSetStringW(hRecord, 0, pszMessage);
    MsiRecordSetStringW(hRecord, 1, path.c_str());
    MsiProcessMessage(hInstall, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), hRecord);
    MsiCloseHandle(hRecord);
    return ERROR_INSTALL_FAILURE;
}

UINT RefuseFolderAbove(MSIHANDLE hInstall, FolderCheck check, const std::wstring& problem)
{
    switch (check) {
    case FolderCheck::Ready:
        return ERROR_SUCCESS;
    case FolderCheck::BadPath:
        return Refuse(hInstall, L"INSTALLFOLDER must be a full path on a drive, without . or .. in it: [1]", problem);
    case FolderCheck::OpenParent:
        return Refuse(hInstall,
                      L"Users who are not administrators may change the folder [1]. Choose a folder in Program Files "
                      L"or under folders only administrators may change.",
                      problem);
    case FolderCheck::NotCreated:
        break;
    }
    return Refuse(hInstall, L"The folder [1] could not be created.", problem);
}
// The folder of this package's Lumeo.exe where some version of it is installed (the file
// itself may be missing, for a repair to put back), else empty.
std::wstring InstalledFolder(MSIHANDLE hInstall)
{
    wchar_t path[MAX_PATH + 1] = {};
    DWORD chars = MAX_PATH;
    const INSTALLSTATE state = MsiLocateComponentW(Property(hInstall, L"LumeoExeComponent").c_str(), path, &chars);
    if (state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_ABSENT)
        return {};
    const std::wstring file = path;
    return file.substr(0, file.rfind(L'\\'));
}
}  // namespace

// Before the installer's own check: the launch conditions, each refused with its message
// through the installer's messages, which a log (/l*v) keeps on every system.
extern "C" __declspec(dllexport) UINT __stdcall CheckLaunchConditions(MSIHANDLE hInstall)
{
    MSIHANDLE hDatabase = MsiGetActiveDatabase(hInstall);
    MSIHANDLE hView = 0;
    UINT result = ERROR_SUCCESS;
    if (MsiDatabaseOpenViewW(hDatabase, L"SELECT `Condition`, `Description` FROM `LaunchCondition`", &hView) ==
            ERROR_SUCCESS &&
        MsiViewExecute(hView, 0) == ERROR_SUCCESS) {
        MSIHANDLE hRow = 0;
        while (result == ERROR_SUCCESS && MsiViewFetch(hView, &hRow) == ERROR_SUCCESS) {
            if (MsiEvaluateConditionW(hInstall, RecordText(hRow, 1).c_str()) != MSICONDITION_TRUE) {
                MsiRecordSetStringW(hRow, 0, RecordText(hRow, 2).c_str());
                std::wstring text(4096, L'\0');
                DWORD chars = static_cast<DWORD>(text.size());
                MsiFormatRecordW(hInstall, hRow, text.data(), &chars);
                text.resize(std::min<size_t>(chars, text.size()));
                result = Refuse(hInstall, L"[1]", text);
            }
            MsiCloseHandle(hRow);
        }
    }
    MsiCloseHandle(hView);
    MsiCloseHandle(hDatabase);
    return result;
}

// LumeoSetup.exe: 0 when the folders above `folder` are safe, the missing ones made, and
// the folder made or protected; else a FolderCheck, with the folder it concerns in `problem`.
extern "C" __declspec(dllexport) int PrepareFolder(const wchar_t* folder, wchar_t* problem, int problemChars)
{
    std::wstring path;
    // Folders the administrator running setup made for itself are as safe as the group's.
    const std::wstring administrator = AdministratorAccountSid();
    FolderCheck check = CheckFoldersAbove(folder, true, administrator, path);
    if (check == FolderCheck::Ready) {
        path = PlainFolderPath(folder);
        check = ProtectFolder(path, administrator);
    }
    lstrcpynW(problem, path.c_str(), problemChars);
    return static_cast<int>(check);
}

// Before anything is installed: INSTALLFOLDER is a plain path, is not there or holds this
// package's installation, and the folders above it are safe.
extern "C" __declspec(dllexport) UINT __stdcall CheckInstallFolder(MSIHANDLE hInstall)
{
    const std::wstring given = Property(hInstall, L"INSTALLFOLDER");
    const std::wstring folder = PlainFolderPath(given);
    if (folder.empty())
        return RefuseFolderAbove(hInstall, FolderCheck::BadPath, given);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    const bool bMaintained = MsiEvaluateConditionW(hInstall, L"Installed") == MSICONDITION_TRUE;
    if (attributes != INVALID_FILE_ATTRIBUTES && !bMaintained &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT ||
         CompareStringOrdinal(folder.c_str(), -1, InstalledFolder(hInstall).c_str(), -1, TRUE) != CSTR_EQUAL))
        return Refuse(hInstall,
                      L"The folder [1] already exists and is not the folder of the Lumeo installed on this computer. "
                      L"Choose a folder that does not exist yet.",
                      folder);
    std::wstring problem;
    const std::wstring administrator = AdministratorAccountSid();
    if (UINT error = RefuseFolderAbove(hInstall, CheckFoldersAbove(folder, false, administrator, problem), problem))
        return error;
    // For the elevated action, which runs as the system: the folder, and the account of the
    // user when an administrator's (a standard user's managed installation gives none).
    return MsiSetPropertyW(hInstall, L"CreateInstallFolder", (folder + L"|" + administrator).c_str());
}

// Elevated, before the folders are created: the missing folders above INSTALLFOLDER and the
// folder itself made with the protected descriptor (CustomActionData: the folder, "|" and
// the administrator's account, as CheckInstallFolder found them).
extern "C" __declspec(dllexport) UINT __stdcall CreateInstallFolder(MSIHANDLE hInstall)
{
    const std::wstring data = Property(hInstall, L"CustomActionData");
    const size_t bar = data.rfind(L'|');
    const std::wstring folder = PlainFolderPath(data.substr(0, bar));
    const std::wstring administrator = bar == std::wstring::npos ? L"" : data.substr(bar + 1);
    std::wstring problem;
    if (UINT error = RefuseFolderAbove(hInstall, CheckFoldersAbove(folder, true, administrator, problem), problem))
        return error;
    return RefuseFolderAbove(hInstall, ProtectFolder(folder, administrator), folder);
}
