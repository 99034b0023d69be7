#pragma once
// A document file read block by block the way every road reads it before a byte goes
// on: a stop asked for ends the reading, a read error or a file that ends early fails
// it, every block passes the document check (job/document/document_check.h), and a
// file whose size is no longer the one it had when opened has changed. Windows build only.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "files/file_reason.h"
#include "job/document/document_check.h"
#include "job/document/send_control.h"

class CDocumentReader {
public:
    // hFile stays the caller's and is read from where it stands; nBytes is its size when
    // it was opened. Only control's stop is asked: progress is the road's to count.
    CDocumentReader(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control);

    // Up to nWant bytes at the current place, checked; 0 once all nBytes were read;
    // nullopt with Fault() set when the reading ends early. The size is judged again
    // before the last block is handed out, so no road sends a whole document of a file
    // that has grown.
    std::optional<size_t> Read(uint8_t* pBlock, size_t nWant);
    // Judges the size once more, after a road has made its copy; false with Fault() set
    // (changed) when it moved meanwhile.
    bool StillOfItsSize();

    uint64_t BytesRead() const { return m_nRead; }
    // Why the reading ended early (empty, refused, changed, unreadable, stopped); Sent when it did not.
    const FileReason& Fault() const { return m_fault; }

private:
    std::nullopt_t Fail(FileReason reason);

    HANDLE m_hFile;
    uint64_t m_nBytes;
    int m_nFileType;
    const SendControl& m_control;
    DocumentCheck m_check;
    uint64_t m_nRead = 0;
    FileReason m_fault;
};
