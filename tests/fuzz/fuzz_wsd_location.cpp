// LocationInformation values as the registry may hold them: the cut host is a piece of
// the location that follows "http://", fits the 130-character buffer, and the bracket
// removal only ever drops characters.
#include <cstdlib>
#include <string>

#include "printer/wsd_location.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring location = size % 2 == 0 ? WideFromUtf16Bytes(data, size) : WideFromBytes(data, size);
    std::wstring host = L"untouched";
    const WsdCut cut = CutWsdHost(location, host);
    const std::wstring read = location.substr(0, 259);
    const size_t scheme = read.find(L"http://");

    if (cut != WsdCut::Found) {
        if (host != L"untouched")
            std::abort();  // the out string is written only on success
        if ((cut == WsdCut::NoHttp) != (scheme == std::wstring::npos))
            std::abort();
        return 0;
    }
    if (scheme == std::wstring::npos || host.size() > kWsdIPChars - 1)
        std::abort();
    // The host starts right after the first scheme and stops before a colon of the read part.
    if (read.compare(scheme + 7, host.size(), host) != 0)
        std::abort();
    const size_t colon = read.rfind(L':');
    if (colon == std::wstring::npos || colon < scheme + 7 + host.size())
        std::abort();
    if (host.size() < kWsdIPChars - 1 && scheme + 7 + host.size() != colon)
        std::abort();

    const std::wstring bare = RemoveBrackets(host);
    if (bare.size() > host.size() || bare.find_first_of(L"[]") != std::wstring::npos)
        std::abort();
    return 0;
}
