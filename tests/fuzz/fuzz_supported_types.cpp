// Device IDs as a printer may send them: the mask stays a sum of the five type bits and
// follows only what stands inside the "CMD:" field.
#include <cstdlib>
#include <string>

#include "printer/state/supported_types.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring id = size % 2 == 0 ? WideFromUtf16Bytes(data, size) : WideFromBytes(data, size);
    const int nMask = SupportedTypesFromDeviceID(id);
    if (nMask < 0 || nMask > 31)
        std::abort();

    // The field alone decides: text outside it, before or after, changes nothing.
    const size_t start = id.find(L"CMD:");
    const size_t end = start == std::wstring::npos ? std::wstring::npos : id.find(L';', start);
    if (end == std::wstring::npos) {
        if (nMask != 0)
            std::abort();
        return 0;
    }
    const std::wstring field = id.substr(start, end - start + 1);
    if (SupportedTypesFromDeviceID(field) != nMask)
        std::abort();
    if (SupportedTypesFromDeviceID(L"MFG:X;" + field + L"DES:PDF JPEG TIFF PNG BMP;") != nMask)
        std::abort();

    // A lookup that failed never reads the ID.
    if (SupportedTypesOfLookup(0, false, id) != -1 || SupportedTypesOfLookup(0, true, id) != 0 ||
        SupportedTypesOfLookup(1, true, id) != nMask)
        std::abort();
    return 0;
}
