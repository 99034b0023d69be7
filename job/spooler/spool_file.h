#pragma once
// The spool file of one submission: a new file with a random name in the temporary
// folder, made by one handle that nobody else may open, written and then mapped for the
// spooler through that handle, and deleted by the system when the handle closes: when
// the submission ends, however it ends, or when the process is killed.
// Windows build only.
#include <windows.h>

class CPrtControl;

class CSpoolFile {
public:
    explicit CSpoolFile(CPrtControl& prtControl) : m_prtControl(prtControl) {}
    // Releases the mapping and closes the handle: the file is gone.
    ~CSpoolFile();
    CSpoolFile(const CSpoolFile&) = delete;
    CSpoolFile& operator=(const CSpoolFile&) = delete;

    // Makes the file under a name that did not exist; false when none could be made.
    bool Create();
    HANDLE Handle() const { return m_hFile; }
    // Done writing: maps what was written for prtControl's WriteDocument.
    bool Map();

private:
    CPrtControl& m_prtControl;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

// Makes the spool file at a path: new only, shared with nobody, deleted on close.
HANDLE CreateNewSpoolFile(const wchar_t* pszPath);
// Tests replace the creation to see it fail or find its name taken; nullptr restores
// CreateNewSpoolFile.
using SpoolFileCreator = HANDLE (*)(const wchar_t* pszPath);
void SetSpoolFileCreator(SpoolFileCreator creator);
