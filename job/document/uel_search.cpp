#include "job/document/uel_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr unsigned char kUelBytes[] = {0x1B, '%', '-', '1', '2', '3', '4', '5', 'X'};
constexpr size_t kUelLength = sizeof(kUelBytes);

// Horspool's search: the byte under the sequence's last place tells how far it may move
// on, nine places for the many bytes the sequence does not hold, so a block is read
// about once for every nine of its bytes.
struct SkipTable {
    unsigned char shift[256];
    constexpr SkipTable() : shift()
    {
        for (unsigned char& s : shift)
            s = static_cast<unsigned char>(kUelLength);
        for (size_t i = 0; i + 1 < kUelLength; ++i)
            shift[kUelBytes[i]] = static_cast<unsigned char>(kUelLength - 1 - i);
    }
};
constexpr SkipTable kSkip;

bool ContainsBytewise(const unsigned char* p, size_t n)
{
    for (size_t i = 0; i + kUelLength <= n; i += kSkip.shift[p[i + kUelLength - 1]]) {
        if (p[i + kUelLength - 1] == kUelBytes[kUelLength - 1] && std::memcmp(p + i, kUelBytes, kUelLength - 1) == 0)
            return true;
    }
    return false;
}

#if defined(__SSE2__)
// Sixteen places at a time: the sequence can start only where its first byte (ESC) and its
// last ('X') both stand, which random bytes offer about once in 65,536 places; only those
// are compared whole. The last places of the block, too few for a full step, go bytewise.
bool Contains(const unsigned char* p, size_t n)
{
    const __m128i first = _mm_set1_epi8(static_cast<char>(kUelBytes[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(kUelBytes[kUelLength - 1]));
    size_t i = 0;
    for (; i + (kUelLength - 1) + 16 <= n; i += 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + kUelLength - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last))));
        for (; mask != 0; mask &= mask - 1) {
            if (std::memcmp(p + i + std::countr_zero(mask) + 1, kUelBytes + 1, kUelLength - 2) == 0)
                return true;
        }
    }
    return ContainsBytewise(p + i, n - i);
}
#else
bool Contains(const unsigned char* p, size_t n)
{
    return ContainsBytewise(p, n);
}
#endif
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
