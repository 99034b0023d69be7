#include "printer/state/printer_state.h"

#include <algorithm>

#include "common/printable_text.h"

namespace {

// Code points of valid UTF-8, or nothing for bytes that are not.
std::optional<std::u32string> DecodeUtf8(std::string_view bytes)
{
    std::u32string out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80            ? 0
                          : (lead & 0xE0) == 0xC0 ? 1
                          : (lead & 0xF0) == 0xE0 ? 2
                          : (lead & 0xF8) == 0xF0 ? 3
                                                  : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size())
            return std::nullopt;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;  // overlong, out of range or a surrogate
        out += cp;
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

// Characters that move the cursor or the writing direction rather than show (all of them
// lie in the Basic Multilingual Plane).
bool IsControl(char32_t cp) { return cp <= 0xFFFF && IsControlCharacter(static_cast<wchar_t>(cp)); }

void AppendWide(std::wstring& out, char32_t cp)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

}  // namespace

bool HasStopCondition(const PrinterState& state)
{
    return state.status == PrinterStatus::Stopped ||
           std::any_of(state.conditions.begin(), state.conditions.end(),
                       [](const PrinterCondition& c) { return c.severity == ConditionSeverity::Stop; });
}

const PrinterCondition* MainCondition(const PrinterState& state)
{
    for (ConditionSeverity severity : {ConditionSeverity::Stop, ConditionSeverity::Warning})
        for (const PrinterCondition& condition : state.conditions)
            if (condition.severity == severity)
                return &condition;
    return nullptr;
}

std::optional<int> LevelPercent(int nLevel, int nMaxCapacity, bool bPercentUnit)
{
    if (nLevel < 0)
        return std::nullopt;
    if (nMaxCapacity > 0)
        return static_cast<int>(std::min<int64_t>(100, int64_t{nLevel} * 100 / nMaxCapacity));
    if (bPercentUnit)
        return std::min(nLevel, 100);
    return std::nullopt;
}

std::wstring CleanPrinterText(std::string_view bytes, size_t nMaxChars)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::u32string points;
    if (std::optional<std::u32string> utf8 = DecodeUtf8(bytes))
        points = std::move(*utf8);
    else
        for (char c : bytes)
            points += static_cast<char32_t>(static_cast<unsigned char>(c));
    for (char32_t& cp : points)
        if (IsControl(cp))
            cp = U' ';
    const size_t first = points.find_first_not_of(U' ');
    if (first == std::u32string::npos)
        return {};
    points = points.substr(first, points.find_last_not_of(U' ') - first + 1);
    if (points.size() > nMaxChars)
        points.resize(nMaxChars);
    std::wstring out;
    for (char32_t cp : points)
        AppendWide(out, cp);
    return out;
}
