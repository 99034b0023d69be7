// LocationInformation values as the registry may hold them: a found host is a piece of
// the read part of the location that fits the 130-character buffer, holds no "/", "?"
// or "#", and holds a colon only when it stood in brackets (an IPv6 literal).
#include <cstdlib>
#include <string>

#include "printer/port/wsd_location.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring location = size % 2 == 0 ? WideFromUtf16Bytes(data, size) : WideFromBytes(data, size);
    std::wstring host = L"untouched";
    const WsdCut cut = CutWsdHost(location, host);
    if (cut != WsdCut::Found) {
        if (host != L"untouched")
            std::abort();  // the out string is written only on success
        return 0;
    }
    const std::wstring read = location.substr(0, 259);
    if (host.empty() || host.size() > kWsdIPChars - 1 || read.find(host) == std::wstring::npos)
        std::abort();
    if (host.find_first_of(L"/?#[]") != std::wstring::npos)
        std::abort();
    if (host.find(L':') != std::wstring::npos && read.find(L"[" + host + L"]") == std::wstring::npos)
        std::abort();
    if (RemoveBrackets(host) != host)
        std::abort();
    return 0;
}
