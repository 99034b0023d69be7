#pragma once
// Opening and peeking into a document the user chose. The name is hostile: it may be a
// pipe whose server would act as the user, or a device. Only files on a disk are read.
#include <string>

#ifdef _WIN32
#include <windows.h>

// Opens an existing document for reading with the given sharing. A pipe server behind
// the name may identify the user but not act as the user; anything that is not a file
// on a disk is closed again. INVALID_HANDLE_VALUE on failure.
HANDLE OpenDocumentFile(const std::wstring& strPath, DWORD dwShareMode);
#endif

// The last error a read left for a name that is no file on a disk (a pipe, a device).
bool IsNoDiskFileError(unsigned long nError);

// Called before the first bytes of a document are read; tests stand a stalled share
// there. nullptr: nothing is called.
using DocumentReadHook = void (*)(const std::wstring& strPath);
void SetDocumentReadHook(DocumentReadHook hook);

// Up to nMaxBytes from the start of a document; false when it is no disk file or cannot
// be read.
bool ReadDocumentHead(const std::wstring& strPath, size_t nMaxBytes, std::string& strHead);
