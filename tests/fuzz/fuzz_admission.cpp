// Documents as anyone may fill them: the PJL exit is found exactly when it is in the
// bytes, however the copy cuts them into blocks, and a signature counts only in the
// first 1,024 bytes. Input: a byte for the block size, one for the type, the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "files/file_signature.h"
#include "job/document/uel_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const uint8_t kExit[] = {0x1B, '%', '-', '1', '2', '3', '4', '5', 'X'};
    const size_t nBlock = size > 0 ? 1 + data[0] % 64 : 1;
    const int nType = size > 1 ? 1 << (data[1] % 6) : 0;  // 32: no type
    UelSearch uel;
    for (size_t i = 0; i < size; i += nBlock)
        uel.Feed(data + i, std::min(nBlock, size - i));
    if (uel.Found() != (std::search(data, data + size, kExit, kExit + sizeof(kExit)) != data + size))
        std::abort();
    const bool bSigned = HasTypeSignature(nType, data, size);
    if (bSigned != HasTypeSignature(nType, data, std::min(size, kSignatureBytes)) || (bSigned && nType == 32))
        std::abort();
    return 0;
}
