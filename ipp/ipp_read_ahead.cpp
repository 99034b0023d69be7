#include "ipp/ipp_read_ahead.h"

namespace ipp {

// Each block is made when it is first read into, and neither is cleared first:
// a batch of small files must not pay for two cleared megabytes a file.
ReadAhead::ReadAhead(Reader read, size_t blockSize)
    : m_read(std::move(read)), m_blockSize(blockSize)
{
}

void ReadAhead::Make(Slot& slot) const
{
    if (!slot.bytes)
        slot.bytes = std::make_unique_for_overwrite<uint8_t[]>(m_blockSize);
}

ReadAhead::~ReadAhead()
{
    {
        const std::lock_guard<BlockLock> guard(m_lock);
        m_bStopping = true;
    }
    m_changed.notify_all();
    if (m_reader.joinable())
        m_reader.join();
}

// A read that claims more than the block holds is a failed one.
std::optional<size_t> ReadAhead::ReadInto(Slot& slot)
{
    const std::optional<size_t> got = m_read(std::span<uint8_t>(slot.bytes.get(), m_blockSize));
    return got && *got <= m_blockSize ? got : std::nullopt;
}

void ReadAhead::Run(int first)
{
    for (int i = first;; i ^= 1) {
        Slot& slot = m_slots[i];
        {
            std::unique_lock<BlockLock> guard(m_lock);
            m_changed.wait(guard, [&] { return m_bStopping || !slot.bFull; });
            if (m_bStopping)
                return;
        }
        const std::optional<size_t> got = ReadInto(slot);
        {
            const std::lock_guard<BlockLock> guard(m_lock);
            slot.size = got;
            slot.bFull = true;
        }
        m_changed.notify_all();
        if (!slot.size || *slot.size == 0)
            return;
    }
}

std::optional<std::span<uint8_t>> ReadAhead::Next()
{
    std::unique_lock<BlockLock> guard(m_lock);
    if (m_nHeld >= 0) {
        const Slot& held = m_slots[m_nHeld];
        if (!held.size || *held.size == 0)
            return held.size ? std::optional<std::span<uint8_t>>(std::span<uint8_t>()) : std::nullopt;
        m_slots[m_nHeld].bFull = false;
        m_changed.notify_all();
    }
    Slot& slot = m_slots[m_nNext];
    if (m_reader.joinable()) {
        m_changed.wait(guard, [&] { return slot.bFull; });
    } else {
        Make(slot);
        slot.size = ReadInto(slot);
        slot.bFull = true;
        if (slot.size == m_blockSize) {
            const int other = m_nNext ^ 1;
            Make(m_slots[other]);
            m_reader = std::thread([this, other] { Run(other); });
        }
    }
    m_nHeld = m_nNext;
    m_nNext ^= 1;
    if (!slot.size)
        return std::nullopt;
    return std::span<uint8_t>(slot.bytes.get(), *slot.size);
}

}  // namespace ipp
