#include "files/file_signature.h"

#include <algorithm>
#include <string_view>

#include "files/file_types.h"

namespace {
bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }
}  // namespace

bool HasTypeSignature(int nTypeBit, const void* pBytes, size_t nBytes)
{
    const std::string_view bytes(static_cast<const char*>(pBytes), std::min(nBytes, kSignatureBytes));
    using namespace std::string_view_literals;
    switch (nTypeBit) {
    case kTypePDF:
        return bytes.find("%PDF-"sv) != std::string_view::npos;
    case kTypeJPEG:
        return StartsWith(bytes, "\xFF\xD8\xFF"sv);
    case kTypeTIFF:
        return StartsWith(bytes, "II*\0"sv) || StartsWith(bytes, "MM\0*"sv);
    case kTypePNG:
        return StartsWith(bytes, "\x89PNG\r\n\x1A\n"sv);
    case kTypeBMP:
        return StartsWith(bytes, "BM"sv);
    default:
        return false;
    }
}
