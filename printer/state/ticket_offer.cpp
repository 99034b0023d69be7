#include "printer/state/ticket_offer.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char*, 4> kCorners = {"top-left", "bottom-left", "top-right", "bottom-right"};
constexpr std::array<const char*, 4> kEdges = {"left", "top", "right", "bottom"};
constexpr std::array<const char*, 12> kFolds = {"accordion", "double-gate", "gate", "half", "half-z", "left-gate",
                                               "letter", "parallel", "poster", "right-gate", "z", "engineering-z"};

struct Range {
    int32_t nFirst;
    FinishingKind kind;
    const char* pszCount;  // before the edge; nullptr: the corners
};
// The placed values of the finishings enum, four in a row.
constexpr Range kPlaced[] = {
    {20, FinishingKind::Staple, nullptr}, {28, FinishingKind::Staple, "dual"}, {32, FinishingKind::Staple, "triple"},
    {70, FinishingKind::Punch, nullptr},  {74, FinishingKind::Punch, "dual"},  {78, FinishingKind::Punch, "triple"},
    {82, FinishingKind::Punch, "quad"},   {86, FinishingKind::Punch, "multiple"},
};
constexpr const char* kKindWords[] = {"staple", "punch", "fold"};
}  // namespace

bool TicketOffer::KnowsTrayPaper() const
{
    return std::any_of(trays.begin(), trays.end(), [](const OfferedTray& t) { return t.nWidth > 0 && t.nHeight > 0; });
}

std::optional<FinishingKind> KindOfFinishing(int32_t nValue)
{
    if (nValue == 4)
        return FinishingKind::Staple;
    if (nValue == 5)
        return FinishingKind::Punch;
    if (nValue == 10 || (nValue >= 90 && nValue < 90 + static_cast<int32_t>(kFolds.size())))
        return FinishingKind::Fold;
    for (const Range& range : kPlaced)
        if (nValue >= range.nFirst && nValue < range.nFirst + 4)
            return range.kind;
    return std::nullopt;
}

std::string FinishingKeyword(int32_t nValue)
{
    const std::optional<FinishingKind> kind = KindOfFinishing(nValue);
    if (!kind)
        return {};
    std::string keyword = kKindWords[static_cast<int>(*kind)];
    if (nValue >= 90)
        return keyword + "-" + kFolds[static_cast<size_t>(nValue - 90)];
    for (const Range& range : kPlaced)
        if (nValue >= range.nFirst && nValue < range.nFirst + 4) {
            const size_t nAt = static_cast<size_t>(nValue - range.nFirst);
            return keyword + (range.pszCount ? std::string("-") + range.pszCount + "-" + kEdges[nAt]
                                             : std::string("-") + kCorners[nAt]);
        }
    return keyword;
}

std::optional<int32_t> FinishingOfKeyword(std::string_view keyword)
{
    for (int32_t nValue = 4; nValue < 90 + static_cast<int32_t>(kFolds.size()); ++nValue)
        if (KindOfFinishing(nValue) && FinishingKeyword(nValue) == keyword)
            return nValue;
    return std::nullopt;
}

std::string PjlKeywordOfName(std::string_view name)
{
    std::string keyword;
    for (const char ch : name) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
            keyword += ch;
        else if (ch >= 'a' && ch <= 'z')
            keyword += static_cast<char>(ch - 'a' + 'A');
        else if (ch != ' ' && ch != '-' && ch != '_')
            return {};
    }
    return keyword.size() <= 31 ? keyword : std::string();
}
