#include "job/document/document_reader.h"

#include <algorithm>

CDocumentReader::CDocumentReader(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control)
    : m_hFile(hFile), m_nBytes(nBytes), m_nFileType(nFileType), m_control(control), m_check(nFileType, nBytes)
{
}

std::nullopt_t CDocumentReader::Fail(FileReason reason)
{
    if (m_fault.outcome == FileOutcome::Sent)
        m_fault = std::move(reason);
    return std::nullopt;
}

std::optional<size_t> CDocumentReader::Read(uint8_t* pBlock, size_t nWant)
{
    if (m_fault.outcome != FileOutcome::Sent)
        return std::nullopt;
    if (m_nBytes == 0)
        return Fail(FileOutcome::Empty);  // an empty file is of no type
    if (m_control.fnStopRequested && m_control.fnStopRequested())
        return Fail(FileOutcome::Cancelled);
    const uint64_t nLeft = m_nBytes - m_nRead;
    if (nLeft == 0)
        return 0;
    DWORD nRead = 0;
    const auto nAsk = static_cast<DWORD>(std::min<uint64_t>({nWant, nLeft, 0x40000000u}));
    if (!ReadFile(m_hFile, pBlock, nAsk, &nRead, nullptr))
        return Fail(SystemFaultReason(FileOutcome::CannotOpen, GetLastError()));
    if (nRead == 0)
        return Fail(FileOutcome::Changed);  // shorter than when it was opened
    switch (m_check.Feed(pBlock, nRead)) {
    case DocumentVerdict::NotOfItsType: {
        FileReason reason(FileOutcome::NotOfItsType);
        reason.nFileType = m_nFileType;
        return Fail(reason);
    }
    case DocumentVerdict::PrinterCommands:
        return Fail(FileOutcome::PrinterCommands);
    default:
        break;
    }
    m_nRead += nRead;
    if (m_nRead == m_nBytes && !StillOfItsSize())
        return std::nullopt;
    return nRead;
}

bool CDocumentReader::StillOfItsSize()
{
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(m_hFile, &size) && static_cast<uint64_t>(size.QuadPart) == m_nBytes)
        return true;
    Fail(FileOutcome::Changed);
    return false;
}
