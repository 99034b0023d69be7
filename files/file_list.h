#pragma once
// The file list of the Basic page: a one-column report list view whose entries
// are the files to print (text = full path, image = system icon index). Nothing
// else holds the files. Windows build only.
#include <windows.h>

#include <string>
#include <vector>

int GetFileEntryCount(HWND hList);
std::wstring GetFileEntryText(HWND hList, int nIndex);  // up to 259 characters

// Appends an entry after the last one, scrolls to it and sizes the column.
int AppendFileEntry(HWND hList, const std::wstring& strPath);

// Deletes the selected entries (highest index first); returns the entries left.
int RemoveSelectedEntries(HWND hList);

// Deletes, from the last entry to the first, every entry the mask refuses.
void RemoveRefusedEntries(HWND hList, int nSupportedTypes);

// Appends every entry's text in order; with bTakeAll the list is emptied afterwards.
int CollectFileEntries(HWND hList, std::vector<std::wstring>& arrFiles, bool bTakeAll);
