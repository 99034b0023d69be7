#pragma once
// Finds the PJL universal exit (ESC "%-12345X") in a file fed block by block. Inside a
// document it would end the document's language and let the rest of the file speak PJL
// to the printer (change its settings, reach its file system). One pass: the last 8
// bytes of a block are carried over, so a sequence split across two blocks is found too.
#include <cstddef>

class UelSearch {
public:
    // True once the sequence has been seen in the bytes fed so far.
    bool Feed(const void* pBytes, size_t nBytes);
    bool Found() const { return m_bFound; }

private:
    static constexpr size_t kCarry = 8;  // the sequence's length less one
    unsigned char m_carry[kCarry] = {};
    size_t m_nCarry = 0;
    bool m_bFound = false;
};
