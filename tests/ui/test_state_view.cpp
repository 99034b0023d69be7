// What the sheet shows of a printer's state: the indicator's severity, the supplies'
// levels of its card, the line of a printer that cannot be printed on, and how a line
// and the card are cut to their room.
#include <gtest/gtest.h>

#include <algorithm>

#include "printer/state/printer_state_text.h"
#include "ui/line_fit.h"
#include "ui/state_view.h"

TEST(StateView, SeverityLevelsAndTheLineOfAPrinterThatCannotPrint)
{
    using S = StateSeverity;
    const struct {
        PrinterStatus status;
        std::vector<ConditionSeverity> conditions;
        S expected;
    } cases[] = {
        {PrinterStatus::Ready, {}, S::Ready},     {PrinterStatus::Printing, {}, S::Ready},
        {PrinterStatus::Unknown, {}, S::Unknown}, {PrinterStatus::Warning, {}, S::Warning},
        {PrinterStatus::Ready, {ConditionSeverity::Warning}, S::Warning},
        {PrinterStatus::Stopped, {}, S::Stop},
        {PrinterStatus::Ready, {ConditionSeverity::Warning, ConditionSeverity::Stop}, S::Stop},
    };
    for (const auto& c : cases) {
        PrinterState state;
        state.status = c.status;
        for (ConditionSeverity severity : c.conditions)
            state.conditions.push_back({severity, ConditionKind::Other, ConditionDetail::None, L"w"});
        EXPECT_EQ(SeverityOf(state), c.expected) << static_cast<int>(c.status);
    }
    PrinterState state;
    state.supplies = {{L"Black", false, true, 100, 15}, {L"", true, false, kLevelUnknown, kLevelUnknown}};
    const StateView view = ViewOfState(state);
    ASSERT_EQ(view.supplies.size(), 2u);
    EXPECT_EQ(view.supplies[0].percent, 15);
    EXPECT_FALSE(view.supplies[1].percent);
    EXPECT_EQ(CardText(L"Ready", view.supplies), L"Ready\r\nSupply: Black: 15 %\r\nSupply: Supply 2: unknown");
    // The card tells all else: the further conditions, the message on its own, the news.
    const PrinterCondition toner{ConditionSeverity::Warning, ConditionKind::TonerLow, ConditionDetail::None, L""};
    state = {PrinterStatus::Printing, {toner, {ConditionSeverity::Warning, ConditionKind::PaperLow}}, L"Printing.", {toner}};
    const StateView told = ViewOfState(state);
    EXPECT_EQ(told.strLine + L"|" + told.arrDetails.at(0) + L"|" + told.arrDetails.at(1) + L"|" + told.arrDetails.at(2),
              L"Toner low|Warning: Paper low|The printer says: Printing.|Information: Toner low");
    EXPECT_EQ(PrinterReportText(state), L"Toner low. The printer says: Printing.");
    state.strMessage = L"Toner low in cartridge K";  // words of the main condition: no sentence of its own
    EXPECT_TRUE(PrinterReportText(state) == state.strMessage && ViewOfState(state).arrDetails.size() == 2u);
    state.conditions.clear();
    EXPECT_EQ(SeverityOf(state), S::Ready) << "news is no warning";
    EXPECT_EQ(ViewOfCheck(-1, 2).severity, S::NoAnswer);
    EXPECT_EQ(ViewOfCheck(-1, 2).strLine, L"The printer does not answer: no answer within the time-out. F5 asks "
                                          L"again. 2 files wait for a printer that takes them.");
    EXPECT_EQ(ViewOfCheck(0, 0).strLine, L"Lumeo cannot print on this printer. F5 checks again.");
    EXPECT_EQ(ViewOfCheck(-1, 0, false, L"no connection").strLine, L"The printer does not answer: no connection. F5 asks again.");
    // A printer that answered but could not be reached safely is not said to be silent.
    const StateView unsafe = ViewOfCheck(-1, 1, false, L"no secure connection", L"Unsafe: changed", L"Unsafe: A instead of B");
    EXPECT_EQ(unsafe.severity, S::Stop);
    EXPECT_EQ(unsafe.strLine, L"Unsafe: changed. F5 asks again. 1 file waits for a printer that takes it.");
    EXPECT_EQ(unsafe.arrDetails, std::vector<std::wstring>{L"Unsafe: A instead of B"});
}

// Each code point one unit wide: a surrogate pair is one character.
TEST(StateView, TheStatusLineEndsWithAnEllipsisWhereItIsCut)
{
    const TextMeasure measure = [](std::wstring_view text) {
        return int(std::count_if(text.begin(), text.end(), [](wchar_t c) { return c < 0xDC00 || c > 0xDFFF; }));
    };
    const std::wstring kHan = L"\xD840\xDC0B";  // one character beyond the 16-bit plane
    const struct {
        std::wstring strText;
        int nWidth;
        size_t nLines;
        std::vector<std::wstring> expected;
    } cases[] = {
        {L"Road: IPP to ipp://127.0.0.1:18660/ipp/print", 20, 2, {L"Road: IPP to", L"ipp://127.0.0.1:186\x2026"}},
        {L"no answer within the time-out. F5 asks again.", 16, 2, {L"no answer within", L"the time-out.\x2026"}},
        {L"no answer within the time-out.", 40, 2, {L"no answer within the time-out."}},
        {L"プリンターが応答しません。時間内に応答がありません。", 10, 2, {L"プリンターが応答しま", L"せん。時間内に応答\x2026"}},
        {kHan + kHan + kHan + kHan, 3, 1, {kHan + kHan + L"\x2026"}},
        {L"応答しません: no answer. F5 で再確認します。1 件のファイル", 16, 2, {L"応答しません: no", L"answer. F5 で再確認\x2026"}},
        {L"a" + kHan + kHan, 2, 2, {L"a" + kHan, kHan}},
        {L"first\r\nsecond third", 20, 2, {L"first", L"second third"}},
        {L"first\r\nsecond", 20, 1, {L"first\x2026"}},
        {L"  ", 20, 2, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitTextLines(c.strText, measure, c.nWidth, c.nLines), c.expected) << c.nWidth << " " << c.nLines;
}

// A card of a printer with more than the screen has room for ends with how many were left out.
TEST(StateView, TheCardCountsWhatItLeavesOut)
{
    const std::vector<int> arrHeights = {10, 10, 10, 10};
    EXPECT_EQ(CardEntriesThatFit(arrHeights, 5, 30, 0), 2u);
    EXPECT_EQ(CardEntriesThatFit(arrHeights, 5, 40, 0), 4u) << "all fit: no line for what was left out";
    EXPECT_EQ(CardEntriesThatFit(arrHeights, 5, 40, 1), 3u);
    EXPECT_EQ(CardEntriesThatFit(arrHeights, 5, 1, 0), 1u) << "the status line shows in any case";
    PrinterState state;
    state.supplies = {{L"Black", false, true, 100, 15}};
    state.nMoreConditions = 2;
    state.nMoreSupplies = 3;
    state.nMoreTrays = 1;
    state.trays = {{L"", L"Bypass", L"", 100, 80}};
    const StateView view = ViewOfState(state);
    EXPECT_EQ(view.arrDetails, std::vector<std::wstring>{L"Tray: Bypass (media unknown): 80 %"});
    EXPECT_EQ(CardText(L"Ready", view.supplies, view.nMore), L"Ready\r\nSupply: Black: 15 %\r\n\x2026 and 6 more");
}
