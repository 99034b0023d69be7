#pragma once
// A document file as the body of an IPP request: read once, block by block, checked as
// it passes as every road reads it (job/document/document_reader.h), never copied.
// Windows build only.
#include <windows.h>

#include <optional>
#include <vector>

#include "files/file_reason.h"
#include "ipp/ipp_exchange.h"
#include "job/document/document_reader.h"
#include "job/document/send_control.h"

class IppFileSource final : public ipp::DocumentSource {
public:
    // hFile stays the caller's; nBytes is its size when it was opened.
    IppFileSource(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control);

    // Reads and checks the first block before anything goes to the printer; false with
    // Fault() set when the file is refused or cannot be read.
    bool Prime();
    uint64_t Size() const override { return m_nBytes; }
    std::optional<size_t> Read(std::span<uint8_t> block) override;
    // The file once more from its first byte, read and checked anew as the first time.
    bool Restart() override;
    // Why the reading ended early (refused, changed, unreadable, stopped); Sent when it did not.
    const FileReason& Fault() const { return m_reader->Fault(); }

private:
    // Up to nWant bytes of the file at the current place, checked, and the progress told.
    std::optional<size_t> ReadChecked(uint8_t* pBlock, size_t nWant);

    HANDLE m_hFile;
    uint64_t m_nBytes;
    int m_nFileType;
    const SendControl& m_control;
    std::optional<CDocumentReader> m_reader;
    std::vector<uint8_t> m_first;  // the block Prime() read, handed out first
    size_t m_nFirstGiven = 0;
};
