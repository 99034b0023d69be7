// Answers as a printer, or anyone on the network, may send them: the decoder stays inside
// its bounds, and an answer that decodes encodes back to the same bytes. A first byte 'U'
// makes the rest a printer URL: one that parses is written back to a URL that parses the same;
// a first byte 'S' makes the rest a printer's answer read as its state, which stays in its caps.
#include <cstdlib>
#include <string>

#include "ipp/ipp_codec.h"
#include "ipp/ipp_url.h"
#include "printer/ipp/ipp_printer_state.h"

using namespace ipp;

namespace {
size_t CountValues(const std::vector<Attribute>& attributes, size_t depth)
{
    if (depth > kMaxCollectionDepth)
        std::abort();
    size_t n = 0;
    for (const Attribute& a : attributes) {
        if (a.name.empty() || a.name.size() > kMaxNameBytes || a.values.empty())
            std::abort();
        for (const Value& v : a.values)
            n += 1 + CountValues(v.members, depth + 1);
    }
    return n;
}

void Decode(const uint8_t* data, size_t size)
{
    Message m;
    const Decoded d = DecodeMessage(std::span<const uint8_t>(data, size), m);
    if (d.error != DecodeError::None)
        return;
    size_t values = 0;
    for (const AttributeGroup& g : m.groups)
        values += CountValues(g.attributes, 0);
    if (values > kMaxValues || d.dataOffset > size)
        std::abort();
    std::vector<uint8_t> again;
    if (!EncodeMessage(m, again) || again != std::vector<uint8_t>(data, data + d.dataOffset))
        std::abort();
    // Any cut of the attribute part is refused, never read past.
    Message cut;
    if (DecodeMessage(std::span<const uint8_t>(data, d.dataOffset - 1), cut).error == DecodeError::None)
        std::abort();
}

void Url(const uint8_t* data, size_t size)
{
    const auto url = ParsePrinterUrl(std::string(reinterpret_cast<const char*>(data), size));
    if (!url)
        return;
    const auto again = ParsePrinterUrl(url->Text());
    if (!again || again->Text() != url->Text() || again->Secure() != url->Secure())
        std::abort();
}

void State(const uint8_t* data, size_t size)
{
    Message m;
    if (DecodeMessage(std::span<const uint8_t>(data, size), m).error != DecodeError::None)
        return;
    const PrinterState state = StateOfIppAnswer(m);
    if (state.conditions.size() > kMostListedOfAnAnswer || state.supplies.size() > kMostListedOfAnAnswer ||
        state.trays.size() > kMostListedOfAnAnswer)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] == 'U')
        Url(data + 1, size - 1);
    else if (size > 0 && data[0] == 'S')
        State(data + 1, size - 1);
    else
        Decode(data, size);
    return 0;
}
