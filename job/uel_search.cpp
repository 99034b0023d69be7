#include "job/uel_search.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr unsigned char kUelBytes[] = {0x1B, '%', '-', '1', '2', '3', '4', '5', 'X'};
constexpr size_t kUelLength = sizeof(kUelBytes);

bool Contains(const unsigned char* p, size_t n)
{
    for (const unsigned char* pEnd = p + n; n >= kUelLength;) {
        const auto* pEsc = static_cast<const unsigned char*>(std::memchr(p, kUelBytes[0], n - kUelLength + 1));
        if (!pEsc)
            return false;
        if (std::memcmp(pEsc, kUelBytes, kUelLength) == 0)
            return true;
        p = pEsc + 1;
        n = static_cast<size_t>(pEnd - p);
    }
    return false;
}
}  // namespace

bool UelSearch::Feed(const void* pBytes, size_t nBytes)
{
    const auto* p = static_cast<const unsigned char*>(pBytes);
    if (m_bFound || nBytes == 0)
        return m_bFound;
    // Where the carried bytes meet the new block: at most 8 + 8 bytes to look at.
    unsigned char seam[2 * kCarry];
    const size_t nHead = std::min(nBytes, kCarry);
    std::memcpy(seam, m_carry, m_nCarry);
    std::memcpy(seam + m_nCarry, p, nHead);
    m_bFound = Contains(seam, m_nCarry + nHead) || Contains(p, nBytes);

    // Keep the last 8 bytes of everything fed so far.
    if (nBytes >= kCarry) {
        std::memcpy(m_carry, p + nBytes - kCarry, kCarry);
        m_nCarry = kCarry;
    } else {
        const size_t nKeep = std::min(m_nCarry + nHead, kCarry);
        std::memcpy(m_carry, seam + m_nCarry + nHead - nKeep, nKeep);
        m_nCarry = nKeep;
    }
    return m_bFound;
}
