// A printer's answer as any bytes, given in pieces the first byte sizes: read or refused
// within its bounds, never a crash; its challenges bounded too, and answered or refused.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ipp/ipp_http_wire.h"

namespace {
class PieceSource : public ipp::HttpByteSource {
public:
    PieceSource(const uint8_t* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
    std::optional<size_t> Read(std::span<uint8_t> buffer) override
    {
        const size_t n = std::min({buffer.size(), piece_, size_ - at_});
        std::memcpy(buffer.data(), data_ + at_, n);
        at_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_, at_ = 0, piece_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    constexpr size_t kMaxBody = 1 << 20;
    PieceSource source(data + 1, size - 1, data[0] % 32 + 1);
    ipp::HttpAnswer answer;
    ipp::ReadHttpAnswer(source, kMaxBody, answer);
    if (answer.body.size() > kMaxBody || answer.headers.size() > ipp::kMaxHttpHeaders)
        std::abort();
    const std::vector<ipp::HttpChallenge> challenges = ipp::ParseChallenges({std::string(data, data + size)});
    if (challenges.size() > 16)
        std::abort();
    for (const ipp::HttpChallenge& challenge : challenges)
        ipp::DigestAuthorization(challenge, "user", "password", "POST", "/ipp/print", "0a4f113b", 1);
    return 0;
}
