#pragma once
// The file list of the Basic page: a one-column report list view whose entries
// are the files to print (text = full path, image = system icon index). Nothing
// else holds the files. Windows build only.
#include <windows.h>

#include <string>
#include <vector>

int GetFileEntryCount(HWND hList);
std::wstring GetFileEntryText(HWND hList, int nIndex);  // up to 259 characters

// Appends an entry after the last one with the icon found for it (GetIconIndex, which
// may read the file: not on the window's thread), scrolls to it and sizes the column.
int AppendFileEntry(HWND hList, const std::wstring& strPath, int nIcon);

// Deletes the selected entries (highest index first); returns the entries left.
int RemoveSelectedEntries(HWND hList);

// Deletes every entry whose path is one of these.
void RemoveFileEntries(HWND hList, const std::vector<std::wstring>& arrPaths);

// Appends every entry's text in order; with bTakeAll the list is emptied afterwards.
int CollectFileEntries(HWND hList, std::vector<std::wstring>& arrFiles, bool bTakeAll);
