// A document read one block ahead of its sending: every byte in order, then the end or the
// failure for good, and nothing read past either.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "ipp/ipp_read_ahead.h"

using namespace ipp;

TEST(ReadAhead, GivesEveryBlockInOrderAndStopsAtTheEndOrTheFirstFailure)
{
    const struct Case {
        size_t size, failAt, claimedAt;  // failAt/claimedAt: the block that fails or claims too much
        std::string taken;               // what the taker gets, blocks of 4
        size_t firstRead = 4;            // a source may give less than a block before its end
    } cases[] = {{14, 99, 99, "abcdefghijklmn"}, {0, 99, 99, ""}, {3, 99, 99, "abc"}, {14, 2, 99, "abcdefgh"},
                 {14, 99, 1, "abcd"}, {14, 99, 99, "abcdefghijklmn", 2}};
    for (const Case& c : cases) {
        std::atomic<size_t> nRead = 0, nAfterEnd = 0, nOffset = 0;
        std::atomic<bool> bEnded = false;
        ReadAhead ahead(
            [&](std::span<uint8_t> block) -> std::optional<size_t> {
                nAfterEnd += bEnded ? 1 : 0;
                const size_t index = nRead++;
                if (index == c.failAt || index == c.claimedAt)
                    return bEnded = true, index == c.failAt ? std::nullopt : std::optional<size_t>(block.size() + 1);
                const size_t n = std::min({block.size(), c.size - nOffset, index == 0 ? c.firstRead : block.size()});
                for (size_t i = 0; i < n; ++i)
                    block[i] = static_cast<uint8_t>('a' + nOffset + i);
                nOffset += n;
                bEnded = n == 0;
                return n;
            },
            4);
        std::string taken;
        std::optional<std::span<uint8_t>> block;
        while ((block = ahead.Next()) && !block->empty())
            taken.append(block->begin(), block->end());
        const bool bFailed = c.failAt != 99 || c.claimedAt != 99;
        EXPECT_EQ(taken, c.taken) << c.size << " " << c.failAt;
        EXPECT_EQ(!block, bFailed);
        EXPECT_EQ(!ahead.Next(), bFailed) << "the end is given again";
        EXPECT_EQ(nAfterEnd, 0u) << "read past the end";
    }
    ReadAhead endless([](std::span<uint8_t> block) -> std::optional<size_t> { return block.size(); }, 8);
    EXPECT_EQ(endless.Next()->size(), 8u);  // and its destructor ends without the source's end
}
