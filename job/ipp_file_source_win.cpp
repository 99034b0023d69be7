#include "job/ipp_file_source.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kFirstBlockBytes = 1u << 20;
}  // namespace

IppFileSource::IppFileSource(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control)
    : m_hFile(hFile), m_nBytes(nBytes), m_nFileType(nFileType), m_control(control), m_check(nFileType, nBytes)
{
}

std::optional<size_t> IppFileSource::Fail(FileReason reason)
{
    if (m_fault.outcome == FileOutcome::Sent)
        m_fault = std::move(reason);
    return std::nullopt;
}

bool IppFileSource::Prime()
{
    if (m_nBytes == 0)
        return Fail(FileOutcome::Empty), false;  // an empty file is of no type
    m_first.resize(static_cast<size_t>(std::min<uint64_t>(kFirstBlockBytes, m_nBytes)));
    const std::optional<size_t> got = ReadChecked(m_first.data(), m_first.size());
    if (got)
        m_first.resize(*got);
    return got.has_value();
}

std::optional<size_t> IppFileSource::ReadChecked(uint8_t* pBlock, size_t nWant)
{
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
    // Grown meanwhile: the file is not what is being sent. Judged before its last block
    // goes, so that the printer never has a whole document of it.
    LARGE_INTEGER size = {};
    if (m_nRead == m_nBytes && (!GetFileSizeEx(m_hFile, &size) || static_cast<uint64_t>(size.QuadPart) != m_nBytes))
        return Fail(FileOutcome::Changed);
    // Progress counts twice a file's size on every road; this one has no copy to make.
    if (m_control.fnProgress)
        m_control.fnProgress(2 * m_nRead);
    return nRead;
}

std::optional<size_t> IppFileSource::Read(std::span<uint8_t> block)
{
    if (m_nFirstGiven < m_first.size()) {
        const size_t n = std::min(block.size(), m_first.size() - m_nFirstGiven);
        std::memcpy(block.data(), m_first.data() + m_nFirstGiven, n);
        m_nFirstGiven += n;
        return n;
    }
    return ReadChecked(block.data(), block.size());
}
