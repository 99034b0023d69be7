#pragma once
// The open-file dialog's filter for the current printer, and the reading of its
// selection buffer.
#include <cstddef>
#include <string>
#include <vector>

// "All files Lumeo can print (*.PDF,*.PNG)|*.pdf;*.png|" (strPrintable, localized), then
// "PDF files (*.PDF)|*.pdf|..." for every set bit; "All files (*.*)|*.*|" for 0, -1 and
// -2. strWord is the localized word ("files").
std::wstring BuildBrowseFilter(int nSupportedTypes, const std::wstring& strWord, const std::wstring& strPrintable);

// The filter as the dialog wants it: every "|" a terminator, and one more terminator
// ending the list. Sized to the filter, so any localized word fits.
std::vector<wchar_t> FilterToDialogBuffer(const std::wstring& strFilter);

// The dialog's selection: one full path, or a folder followed by file names, each
// ended by a terminator and the list by an empty one. Multiple names are joined as
// "folder\name".
std::vector<std::wstring> SplitOpenFileSelection(const wchar_t* pszBuffer, size_t nBufferChars);
