#pragma once
// A document file as the body of an IPP request: read once, block by block, checked as
// it passes as every road checks it (job/document_check.h), never copied. Windows build only.
#include <windows.h>

#include <vector>

#include "files/file_reason.h"
#include "ipp/ipp_exchange.h"
#include "job/document_check.h"
#include "job/send_data_to_device.h"

class IppFileSource final : public ipp::DocumentSource {
public:
    // hFile stays the caller's; nBytes is its size when it was opened.
    IppFileSource(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control);

    // Reads and checks the first block before anything goes to the printer; false with
    // Fault() set when the file is refused or cannot be read.
    bool Prime();
    uint64_t Size() const override { return m_nBytes; }
    std::optional<size_t> Read(std::span<uint8_t> block) override;
    // Why the reading ended early (refused, changed, unreadable, stopped); Sent when it did not.
    const FileReason& Fault() const { return m_fault; }

private:
    std::optional<size_t> Fail(FileReason reason);
    // Up to nWant bytes of the file at the current place, checked.
    std::optional<size_t> ReadChecked(uint8_t* pBlock, size_t nWant);

    HANDLE m_hFile;
    uint64_t m_nBytes;
    int m_nFileType;
    const SendControl& m_control;
    DocumentCheck m_check;
    std::vector<uint8_t> m_first;  // the block Prime() read, handed out first
    size_t m_nFirstGiven = 0;
    uint64_t m_nRead = 0;
    FileReason m_fault;
};
