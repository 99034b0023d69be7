#pragma once
// A document read one block ahead of its sending, on a thread of its own: reading a block
// and checking it (a seventh of a large upload's time) overlaps writing the one before to the
// printer. Memory: two blocks. Until a whole block has come, the caller's thread reads: a
// document of less than a block, most of a batch, costs no thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <thread>

#include "ipp/ipp_block_lock.h"

namespace ipp {

class ReadAhead {
public:
    // `read` fills the start of a block: 0 at the end, nullopt when it cannot read. It is
    // called one block at a time (first on the caller's thread, then on the reader's), never
    // after it returned 0 or nullopt.
    using Reader = std::function<std::optional<size_t>(std::span<uint8_t>)>;
    ReadAhead(Reader read, size_t blockSize);
    ~ReadAhead();  // asks nothing more of `read` and waits for a read under way
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next block, valid until the next call and the caller's to change: empty at the
    // end, nullopt when a read failed; the end or the failure again on every call after it.
    std::optional<std::span<uint8_t>> Next();

private:
    struct Slot {
        std::unique_ptr<uint8_t[]> bytes;
        bool bFull = false;
        std::optional<size_t> size;
    };
    void Make(Slot& slot) const;
    std::optional<size_t> ReadInto(Slot& slot);
    void Run(int first);

    Reader m_read;
    size_t m_blockSize;
    Slot m_slots[2];
    BlockLock m_lock;
    BlockCondition m_changed;
    bool m_bStopping = false;
    int m_nNext = 0;   // the slot Next() takes
    int m_nHeld = -1;  // the slot the caller holds
    std::thread m_reader;  // started with the first whole block
};

}  // namespace ipp
