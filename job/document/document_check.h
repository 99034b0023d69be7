#pragma once
// What every road checks of a document's bytes as they pass, block by block: the first
// bytes carry its type's signature, and nowhere does the PJL universal exit stand (not
// even across two blocks), which would let the rest of the file speak to the printer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "job/document/uel_search.h"

enum class DocumentVerdict { Fine, NotOfItsType, PrinterCommands };

class DocumentCheck {
public:
    // nFileBytes: the document's size; its first kSignatureBytes (or all, when shorter)
    // are judged once they have passed.
    DocumentCheck(int nFileType, uint64_t nFileBytes);
    DocumentVerdict Feed(const void* pBytes, size_t nBytes);

private:
    int m_nFileType;
    size_t m_nHeadBytes;
    std::string m_strHead;
    UelSearch m_uel;
};
