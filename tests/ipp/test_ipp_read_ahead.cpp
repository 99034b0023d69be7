// A document read one block ahead of its sending: every byte in order, then the end or the
// failure for good, nothing read past either, never more than one block ahead of the taker.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "ipp/ipp_read_ahead.h"

using namespace ipp;

TEST(ReadAhead, GivesEveryBlockInOrderAndStopsAtTheEndOrTheFirstFailure)
{
    const struct Case {
        const char* what;
        size_t size;
        size_t failAt;      // the block whose read fails; SIZE_MAX: none
        size_t claimedAt;   // the block whose read claims more than the block holds
        std::string taken;  // what the taker gets, blocks of 4
        bool bFailed;
    } cases[] = {
        {"three blocks and a bit", 14, SIZE_MAX, SIZE_MAX, "abcdefghijklmn", false},
        {"nothing", 0, SIZE_MAX, SIZE_MAX, "", false},
        {"a failure in the middle", 14, 2, SIZE_MAX, "abcdefgh", true},
        {"more than a block claimed", 14, SIZE_MAX, 1, "abcd", true},
    };
    for (const Case& c : cases) {
        std::atomic<size_t> nRead = 0, nAfterEnd = 0, nOffset = 0;
        std::atomic<bool> bEnded = false;
        ReadAhead ahead(
            [&](std::span<uint8_t> block) -> std::optional<size_t> {
                nAfterEnd += bEnded ? 1 : 0;
                const size_t index = nRead++;
                if (index == c.failAt)
                    return bEnded = true, std::nullopt;
                if (index == c.claimedAt)
                    return bEnded = true, block.size() + 1;
                const size_t n = std::min(block.size(), c.size - nOffset);
                for (size_t i = 0; i < n; ++i)
                    block[i] = static_cast<uint8_t>('a' + nOffset + i);
                nOffset += n;
                bEnded = n == 0;
                return n;
            },
            4);
        std::string taken;
        std::optional<std::span<const uint8_t>> block;
        while ((block = ahead.Next()) && !block->empty())
            taken.append(block->begin(), block->end());
        EXPECT_EQ(taken, c.taken) << c.what;
        EXPECT_EQ(!block, c.bFailed) << c.what;
        const auto again = ahead.Next();
        EXPECT_EQ(!again, c.bFailed) << c.what << ": the end is given again";
        EXPECT_EQ(nAfterEnd, 0u) << c.what << ": read past the end";
    }
}

TEST(ReadAhead, ReadsAtMostOneBlockAheadAndEndsWhileMoreIsLeft)
{
    std::atomic<size_t> nRead = 0;
    {
        ReadAhead ahead([&](std::span<uint8_t> block) -> std::optional<size_t> { return ++nRead, block.size(); }, 8);
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(ahead.Next()->size(), 8u);
    }  // an endless source: the destructor must not wait for its end
    EXPECT_LE(nRead, 5u);  // the three taken, one waiting, one under way at most
}
