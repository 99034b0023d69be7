#pragma once
// Shell services for the file list (Windows build only): shortcut targets,
// system icon indices and the system image lists, and the open-file dialog.
#include <windows.h>

#include <string>
#include <vector>

// Target path of a shell shortcut; empty when the path does not end in ".lnk", is no
// shortcut, the link service is missing or the target is no file-system path.
std::wstring ResolveShortcut(const std::wstring& strPath);
// A shortcut stands for its target; anything else, or a shortcut without one, for itself.
std::wstring ResolvedPath(const std::wstring& strPath);

// Index of the file's small icon in the system image list (logged).
int GetIconIndex(const std::wstring& strPath);

// Attaches the shell's system small and large image lists to a list view, found
// through the file information of a name pattern (not looked up on disk).
bool GetSystemImageList(HWND hList, const wchar_t* pszPattern);

// Explorer-style multi-select open dialog over the active window. Returns false on
// Cancel or failure (no paths); otherwise the chosen full paths in dialog order.
bool BrowseForFiles(HWND hOwner, const std::vector<wchar_t>& filterBuffer, std::vector<std::wstring>& paths);
