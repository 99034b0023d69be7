#include "job/ipp/ipp_file_source.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kFirstBlockBytes = 1u << 20;
}  // namespace

IppFileSource::IppFileSource(HANDLE hFile, uint64_t nBytes, int nFileType, const SendControl& control)
    : m_hFile(hFile), m_nBytes(nBytes), m_nFileType(nFileType), m_control(control)
{
    m_reader.emplace(hFile, nBytes, nFileType, control);
}

bool IppFileSource::Restart()
{
    const LARGE_INTEGER start = {};
    if (m_reader->Fault().outcome != FileOutcome::Sent || !SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN))
        return false;
    m_reader.emplace(m_hFile, m_nBytes, m_nFileType, m_control);
    m_nFirstGiven = 0;
    return Prime();
}

bool IppFileSource::Prime()
{
    m_first.resize(static_cast<size_t>(std::min<uint64_t>(kFirstBlockBytes, m_nBytes)));
    const std::optional<size_t> got = ReadChecked(m_first.data(), m_first.size());
    if (got)
        m_first.resize(*got);
    return got.has_value();
}

std::optional<size_t> IppFileSource::ReadChecked(uint8_t* pBlock, size_t nWant)
{
    const std::optional<size_t> got = m_reader->Read(pBlock, nWant);
    // Progress counts twice a file's size on every road; this one has no copy to make.
    if (got && *got > 0 && m_control.fnProgress)
        m_control.fnProgress(2 * m_reader->BytesRead());
    return got;
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
