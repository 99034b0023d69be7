// The printer's state from what its agent answered: status, error bits, alerts, page
// counter and supply levels, and the printer's own words made fit to show; and what its
// successive states say after a run.
#include <gtest/gtest.h>

#include "printer/ipp/ipp_printer_state.h"
#include "printer/ipp/ipp_ticket_offer.h"
#include "printer/state/printer_follow.h"
#include "printer/state/printer_state_text.h"
#include "printer/state/supported_types.h"
#include "printer/snmp/printer_mib_state.h"
#include "printer/state/ticket_names.h"

namespace {
using K = ConditionKind;
using D = ConditionDetail;
constexpr ConditionSeverity S = ConditionSeverity::Stop;
constexpr ConditionSeverity W = ConditionSeverity::Warning;

PrinterCondition C(ConditionSeverity severity, K kind, D detail = D::None, std::wstring strWords = {})
{
    return {severity, kind, detail, std::move(strWords)};
}

PrinterMibValues Values(std::optional<int> nDevice, std::optional<int> nPrinter, std::optional<std::string> bits,
                        std::vector<PrinterMibAlert> alerts = {})
{
    PrinterMibValues v;
    v.nDeviceStatus = nDevice;
    v.nPrinterStatus = nPrinter;
    v.strErrorState = bits;
    v.alerts = std::move(alerts);
    return v;
}

// A Get-Printer-Attributes answer: printer-state (0: none) and string attributes.
ipp::Message IppAnswer(int nState, std::vector<std::pair<std::string, std::vector<std::string>>> texts = {})
{
    ipp::Message m;
    ipp::AttributeGroup& g = m.AddGroup(ipp::GroupTag::Printer);
    if (nState)
        g.AddInteger("printer-state", ipp::ValueTag::Enum, nState);
    for (const auto& [name, values] : texts)
        g.Add(name, name.ends_with("-reasons") ? ipp::ValueTag::Keyword : ipp::ValueTag::Text, values);
    return m;
}
}  // namespace

TEST(PrinterState, StatusAndConditionsFollowTheBitsAndAlerts)
{
    const struct Case {
        const char* name;
        PrinterMibValues values;
        PrinterStatus status;
        std::vector<PrinterCondition> conditions;
    } cases[] = {
        {"nothing answered", {}, PrinterStatus::Unknown, {}},
        {"idle", Values(2, 3, std::string("\0\0", 2)), PrinterStatus::Ready, {}},
        {"printing, toner low", Values(2, 4, "\x20"), PrinterStatus::Printing, {C(W, K::TonerLow)}},
        {"warming up", Values(4, 5, {}), PrinterStatus::WarmingUp, {}},
        {"a warning without words", Values(3, 3, {}), PrinterStatus::Warning, {}},
        {"down without a reason", Values(5, 1, {}), PrinterStatus::Stopped, {C(S, K::Other, D::DeviceDown)}},
        {"every bit of both octets, stops first",
         Values(5, 1, "\xFF\xFF"),
         PrinterStatus::Stopped,
         {C(S, K::OutOfPaper), C(S, K::OutOfToner), C(S, K::CoverOpen), C(S, K::PaperJam), C(S, K::Offline),
          C(S, K::ServiceRequested), C(W, K::PaperLow), C(W, K::TonerLow), C(W, K::Other, D::InputTrayMissing),
          C(W, K::Other, D::OutputTrayMissing), C(W, K::Other, D::SupplyMissing), C(W, K::OutputFull, D::OutputNearFull),
          C(W, K::OutputFull), C(W, K::OutOfPaper, D::InputTrayEmpty), C(W, K::ServiceRequested, D::MaintenanceOverdue)}},
        {"alerts speak before bits, news is no trouble",
         Values(5, 1, "\x04\x00",
                {{3, 8, 8, "Paper jam in tray 1"}, {4, 11, 1104, "Black toner low"}, {5, 6, 4, "Cover closed"},
                 {3, 5, 9999, "Call service 66044"}, {4, 8, 13, "Tray 2 empty"}, {4, 11, 13, "Cyan empty"},
                 {4, 30, 30208, "Stapler jam"}, {1, 5, 503, "Power up"}, {3, 8, 8, "Paper jam in tray 1"}}),
         PrinterStatus::Stopped,
         {C(S, K::PaperJam, D::None, L"Paper jam in tray 1"), C(S, K::Other, D::None, L"Call service 66044"),
          C(S, K::OutOfPaper, D::None, L"Tray 2 empty"), C(S, K::OutOfToner, D::None, L"Cyan empty"),
          C(S, K::PaperJam, D::None, L"Stapler jam"), C(W, K::TonerLow, D::None, L"Black toner low")}},
        {"a warning alert on an idle printer", Values(2, 3, {}, {{4, 9, 902, "Output bin almost full"}}),
         PrinterStatus::Warning, {C(W, K::OutputFull, D::None, L"Output bin almost full")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrinterState state = StateOfPrinterMib(c.values);
        EXPECT_EQ(state.status, c.status);
        EXPECT_EQ(state.conditions, c.conditions);
        EXPECT_EQ(HasStopCondition(state), c.status == PrinterStatus::Stopped);
    }
}

TEST(PrinterState, IppStateReasonsTheirSuffixesAndThePrintersWordsMakeTheSameState)
{
    const struct Case {
        const char* name;
        ipp::Message answer;
        PrinterStatus status;
        std::vector<PrinterCondition> conditions;
        std::wstring strMessage = {};  // the printer's general word, no condition's
        std::vector<PrinterCondition> reports = {};
    } cases[] = {
        {"nothing answered", IppAnswer(0), PrinterStatus::Unknown, {}},
        {"idle", IppAnswer(3, {{"printer-state-reasons", {"none"}}, {"printer-state-message", {"Idle."}}}),
         PrinterStatus::Ready, {}, L"Idle."},
        {"printing, toner low, its message apart",
         IppAnswer(4, {{"printer-state-reasons", {"toner-low"}}, {"printer-state-message", {"Black \x1b[2Jlow"}}}),
         PrinterStatus::Printing, {C(W, K::TonerLow)}, L"Black  [2Jlow"},
        {"suffixes decide, reports are news, alerts give words",
         IppAnswer(3, {{"printer-state-reasons", {"cover-open-warning", "toner-empty-report", "media-jam-error"}},
                       {"printer-alert", {"code=coverOpen;index=2", "code=jam;index=1"}},
                       {"printer-alert-description", {"Front door", "Jam in tray 1"}}}),
         PrinterStatus::Stopped,
         {C(S, K::PaperJam, D::None, L"Jam in tray 1"), C(W, K::CoverOpen, D::None, L"Front door")},
         L"",
         {C(W, K::OutOfToner)}},
        {"no suffix: empties, opens and pauses stop, levels warn",
         IppAnswer(3, {{"printer-state-reasons", {"media-low", "media-empty", "door-open", "marker-supply-empty",
                                                  "paused", "marker-waste-almost-full", "fuser-odd\x07"}}}),
         PrinterStatus::Stopped,
         {C(S, K::OutOfPaper), C(S, K::CoverOpen), C(S, K::OutOfToner), C(S, K::Offline), C(W, K::PaperLow),
          C(W, K::ServiceRequested, D::None, L"marker-waste-almost-full"), C(W, K::Other, D::None, L"fuser-odd")}},
        {"stopped without a reason, its message apart", IppAnswer(5, {{"printer-state-message", {"Stopped by Ann"}}}),
         PrinterStatus::Stopped, {C(S, K::Other, D::DeviceDown)}, L"Stopped by Ann"},
        {"an unknown warning", IppAnswer(3, {{"printer-state-reasons", {"moving-to-paused", "other-warning"}}}),
         PrinterStatus::Warning, {C(W, K::Other, D::None, L"other")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrinterState state = StateOfIppAnswer(c.answer);
        EXPECT_EQ(state.status, c.status);
        EXPECT_EQ(state.conditions, c.conditions);
        EXPECT_EQ(state.strMessage, c.strMessage);
        EXPECT_EQ(state.reports, c.reports);
    }

    // The device ID as sent, else one made of the formats it takes, judged by the same rule.
    const struct {
        ipp::Message answer;
        std::wstring strId;
        int nTypes;
    } ids[] = {
        {IppAnswer(3, {{"printer-device-id", {"MFG:A;CMD:PWGRaster;"}},
                       {"document-format-supported", {"application/pdf"}}}),
         L"MFG:A;CMD:PWGRaster;", 0},
        {IppAnswer(3, {{"printer-device-id", {""}}, {"document-format-supported", {"image/bmp", "image/png",
         "image/tiff", "image/jpeg", "application/pdf"}}}), L"CMD:PDF,JPEG,TIFF,PNG,BMP;", 31},
        {IppAnswer(3, {{"document-format-supported", {"application/octet-stream"}}}), L"", 0},
    };
    for (const auto& id : ids) {
        EXPECT_EQ(DeviceIdOfIppAnswer(id.answer), id.strId);
        EXPECT_EQ(SupportedTypesFromDeviceID(DeviceIdOfIppAnswer(id.answer)), id.nTypes);
    }

    // Supplies and trays: PWG's printer-supply and printer-input-tray with the ready media,
    // else the marker pair and the ready media's sources.
    ipp::Message pwg = IppAnswer(3, {{"printer-supply", {"class=receptacleThatIsFilled;type=wasteToner;unit=percent;"
        "maxcapacity=100;level=25;", "type=toner;unit=percent;maxcapacity=100;level=-3;colorantname=black;"}},
        {"printer-supply-description", {"Waste"}}, {"printer-input-tray", {"maxcapacity=250;level=100;name=main",
        "maxcapacity=x;level=-9;name=by-pass-tray"}}});
    ipp::AttributeGroup members;
    members.Add("media-source", ipp::ValueTag::Keyword, "main");
    members.Add("media-size-name", ipp::ValueTag::Keyword, "iso_a4_210x297mm");
    pwg.groups[0].AddCollection("media-col-ready") = members.attributes;
    PrinterState state = StateOfIppAnswer(pwg);
    ASSERT_EQ(state.supplies.size(), 2u);
    EXPECT_TRUE(state.supplies[0].strDescription == L"Waste" && state.supplies[0].bReceptacle);
    EXPECT_TRUE(state.supplies[1].strDescription == L"black toner" && !state.supplies[1].bReceptacle);
    EXPECT_EQ(state.supplies[1].nLevel, kLevelSomeRemaining);
    ASSERT_EQ(state.trays.size(), 2u);
    EXPECT_TRUE(state.trays[0].strName == L"main" && state.trays[0].strMedia == L"A4");
    EXPECT_TRUE(state.trays[1].nMaxCapacity == kLevelUnknown && state.trays[1].nLevel == kLevelUnknown);
    ipp::Message cups =
        IppAnswer(3, {{"marker-names", {"Black", "Waste"}}, {"marker-types", {"toner", "waste-toner"}}});
    ipp::Attribute& levels = cups.groups[0].AddInteger("marker-levels", ipp::ValueTag::Integer, 60);
    levels.values.push_back(levels.values[0]);
    levels.values[1].integer = 400;
    cups.groups[0].attributes.push_back(pwg.groups[0].attributes.back());  // media-col-ready
    state = StateOfIppAnswer(cups);
    ASSERT_EQ(state.supplies.size(), 2u);
    EXPECT_EQ(LevelPercent(state.supplies[0].nLevel, state.supplies[0].nMaxCapacity, true), 60);
    EXPECT_TRUE(state.supplies[1].bReceptacle && state.supplies[1].nLevel == 100);
    ASSERT_EQ(state.trays.size(), 1u);
    EXPECT_EQ(state.trays[0].strMedia, L"A4");

    // One answer fills at most 64 of each, the rest only counted; each tray finds its media.
    std::vector<std::string> reasons, supplies, trays;
    for (int i = 0; i < 32767; ++i)
        reasons.push_back("odd-" + std::to_string(i));
    for (int i = 0; i < 100; ++i)
        supplies.push_back("type=toner;level=5;"), trays.push_back(i == 63 ? "name=main" : "name=t" + std::to_string(i));
    ipp::Message many = IppAnswer(3, {{"printer-state-reasons", reasons}, {"printer-supply", supplies},
                                      {"printer-input-tray", trays}});
    many.groups[0].attributes.push_back(pwg.groups[0].attributes.back());  // media-col-ready
    state = StateOfIppAnswer(many);
    EXPECT_EQ(state.conditions.size(), kMostListedOfAnAnswer - 1);
    EXPECT_EQ(state.conditions.size() + state.nMoreConditions, reasons.size());
    EXPECT_TRUE(state.supplies.size() == 64 && state.nMoreSupplies == 36 && state.nMoreTrays == 36);
    ASSERT_EQ(state.trays.size(), 64u);
    EXPECT_EQ(state.trays[63].strMedia, L"A4");
    EXPECT_EQ(ProbeStateLines(PortKind::Network, state).back(), L"\x2026 and 36 more");
    // Media names as people say them; a name of no such form as it is.
    for (const auto& [pszName, strShown] : {std::pair("jis_b5_182x257mm", L"JIS B5"), {"custom_x", L"custom_x"}}) {
        pwg.groups[0].attributes.back().values[0].members[1].values[0].text = pszName;
        EXPECT_EQ(StateOfIppAnswer(pwg).trays.at(0).strMedia, strShown) << pszName;
    }
}

TEST(PrinterState, CounterSuppliesAndTraysKeepTheirSpecialLevels)
{
    PrinterMibValues v = Values(2, 3, {});
    v.nLifeCount = 1000;
    v.nCounterUnit = 7;  // impressions
    v.supplies = {{3, 21, 7, 10000, 8000, "Black Toner"}, {1, 4, 19, -2, 40, "Waste"}, {4, 1, 19, 100, -3, "Box"}};
    v.inputs = {{"Tray 1", "Cassette", "A4", 250, -3}};
    const PrinterState state = StateOfPrinterMib(v);
    EXPECT_EQ(state.nPageCounter, 1000u);
    ASSERT_EQ(state.supplies.size(), 3u);
    EXPECT_FALSE(state.supplies[0].bReceptacle);
    EXPECT_TRUE(state.supplies[1].bReceptacle && state.supplies[1].bPercentUnit);  // by its waste type
    EXPECT_TRUE(state.supplies[2].bReceptacle);
    EXPECT_EQ(state.trays.at(0).strMedia, L"A4");
    v.nCounterUnit = 3;  // a length is no page count
    EXPECT_FALSE(StateOfPrinterMib(v).nPageCounter);

    const struct {
        int nLevel, nMax;
        bool bPercent;
        std::optional<int> percent;
    } levels[] = {{8000, 10000, false, 80}, {40, -2, true, 40}, {40, -2, false, {}}, {-3, 100, false, {}},
                  {-2, 100, true, {}},     {-1, -1, true, {}},  {150, 100, false, 100}, {5, 0, false, {}}};
    for (const auto& l : levels)
        EXPECT_EQ(LevelPercent(l.nLevel, l.nMax, l.bPercent), l.percent) << l.nLevel << "/" << l.nMax;
}

// What a job may choose: only what the printer lists, each value one that can go back as it came.
TEST(TicketOffer, OnlyWhatThePrinterListsAndNamesUnmistakablyIsOffered)
{
    ipp::Message answer = IppAnswer(3, {{"media-col-supported", {"media-size", "media-source"}},
                                        {"media-source-supported", {"auto", "tray-2", "Tray\r\n3", "com.x-tray"}},
                                        {"output-bin-supported", {"auto", "face-up", "stacker-2"}},
                                        {"job-password-encryption-supported", {"none"}}});
    ipp::AttributeGroup& g = answer.groups[0];
    ipp::Attribute& finishings = g.AddInteger("finishings-supported", ipp::ValueTag::Enum, 3);
    for (const int32_t nValue : {4, 7, 22, 31, 74, 88, 93})
        finishings.values.push_back({ipp::ValueTag::Enum, {}, {}, nValue});
    g.AddInteger("job-password-supported", ipp::ValueTag::Integer, 99);
    std::vector<ipp::Attribute>& members = g.AddCollection("media-col-ready");
    members.push_back({"media-source", {{ipp::ValueTag::Keyword, "tray-2"}}});
    std::vector<ipp::Attribute>& size = members.emplace_back(ipp::Attribute{"media-size", {}}).values.emplace_back().members;
    members.back().values.back().tag = ipp::ValueTag::BegCollection;
    size = {{"x-dimension", {{ipp::ValueTag::Integer, {}, {}, 21000}}}, {"y-dimension", {{ipp::ValueTag::Integer, {}, {}, 29700}}}};
    TicketOffer offer = TicketOfferOfIppAnswer(answer, false);
    ASSERT_EQ(offer.trays.size(), 2u);  // not auto, and nothing that could end a line
    EXPECT_EQ(std::pair(offer.trays[0].nWidth, offer.trays[0].nHeight), std::pair(21000, 29700));
    EXPECT_EQ(OfferedTraysText(offer), L"Tray 2 (tray-2), com.x-tray (com.x-tray)");
    EXPECT_EQ(OfferedBinsText(offer), L"Face up (face-up), Stacker 2 (stacker-2)");
    // Staple, punch and fold values only, each named by what it does.
    EXPECT_EQ(OfferedFinishingsText(offer),
              L"Staple (staple), Staple (top right) (staple-top-right), Staple (2\x00D7, bottom) "
              L"(staple-dual-bottom), Punch (2\x00D7, left) (punch-dual-left), Punch (several, right) "
              L"(punch-multiple-right), Fold (half) (fold-half)");
    for (const int32_t nValue : offer.finishings)
        EXPECT_EQ(FinishingOfKeyword(FinishingKeyword(nValue)), nValue);
    // A PIN taken only as typed is offered over TLS alone, and never longer than a PIN is.
    EXPECT_EQ(offer.nPinMaxDigits, 0);
    offer = TicketOfferOfIppAnswer(answer, true);
    EXPECT_EQ(offer.nPinMaxDigits, kMaxPinDigits);
    EXPECT_FALSE(offer.bPinHashed);

    // Over the spooler: the Printer MIB's names that make one PJL keyword each.
    PrinterMibValues v = Values(2, 3, {});
    v.inputs = {{"Tray 1", "", "", 0, 0, 4, 297000, 210000}, {"Tray-2", "", "", 0, 0, 3, 85000, 110000},
                {"TRAY 2", "", "", 0, 0}, {"Fach \xc3\xa4", "", "", 0, 0}, {"", "", "", 0, 0}};
    v.outputs = {{"Face Down Bin"}, {"Upper"}};
    offer = StateOfPrinterMib(v).offer;
    ASSERT_EQ(offer.trays.size(), 1u);
    EXPECT_EQ(offer.trays[0].strValue, "TRAY1");
    EXPECT_EQ(std::pair(offer.trays[0].nWidth, offer.trays[0].nHeight), std::pair(21000, 29700));
    EXPECT_EQ(OfferedBinsText(offer), L"Face Down Bin (FACEDOWNBIN), Upper (UPPER)");
    EXPECT_EQ(offer.road, TicketRoad::Spooler);
    EXPECT_TRUE(offer.finishings.empty() && offer.nPinMaxDigits == 0);
}

TEST(PrinterState, PrinterWordsAreCleanedAndBounded)
{
    const struct {
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {std::string("Black\0\0\0garbage", 16), L"Black"},
        {"\x1b]0;owned\x07 Toner\r\nlow\t", L"]0;owned  Toner  low"},
        {"T\xC3\xB3ner \xE2\x80\xAE" "cba", L"T\u00F3ner  cba"},  // UTF-8, a right-to-left override
        {"T\xF3ner \x85", L"T\u00F3ner"},                          // not UTF-8: Latin-1, C1 control
        {"Caf\xC0\xA9", L"Caf\u00C0\u00A9"},                        // an overlong form: Latin-1
        {std::string(600, 'x'), std::wstring(kMaxPrinterTextChars, L'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanPrinterText(c.bytes), c.expected);
}

TEST(PrinterFollow, SuccessiveSamplesDecideAndTheCounterSaysThePages)
{
    using P = PrinterStatus;
    using V = FollowVerdict;
    constexpr long kSilent = -2;  // the printer did not answer
    struct Sample {
        int64_t nMs;
        P status;
        long nCounter;  // -1: none
        V verdict;
        int nUnit = 7;  // impressions
        uint32_t nDevice = 1;
    };
    const auto State = [](P status, long nCounter, int nUnit = 7, uint32_t nDevice = 1) {
        PrinterState state;
        state.status = status;
        if (nCounter >= 0)
            state.nPageCounter = static_cast<uint32_t>(nCounter);
        state.nCounterUnit = nUnit;
        state.nCounterDevice = nDevice;
        return state;
    };
    const struct {
        const char* name;
        P before;
        long nBefore;
        std::vector<Sample> samples;
        std::optional<uint32_t> pages;
    } cases[] = {
        {"three pages", P::Ready, 1000,
         {{1000, P::Printing, 1000, V::Following}, {2000, P::Printing, 1002, V::Following},
          {3000, P::Ready, 1003, V::Following}, {4000, P::Ready, 1003, V::Done}}, 3},
        {"a page too quick to be seen", P::Ready, 1000,
         {{1000, P::Ready, 1001, V::Following}, {2000, P::Warning, 1001, V::Done}}, 1},
        {"a jam after a page", P::Ready, 1000,
         {{1000, P::Printing, 1000, V::Following}, {2000, P::Stopped, 1001, V::Trouble}}, 1},
        {"nothing moves: done once quiet", P::Ready, 1000,
         {{1000, P::Ready, 1000, V::Following}, {7000, P::Ready, 1000, V::Following},
          {PrinterFollow::kQuietMs, P::Ready, 1000, V::Done}}, 0},
        {"silent, then the time is up", P::Ready, 1000,
         {{1000, P::Printing, 1001, V::Following}, {30000, P::Unknown, kSilent, V::Following},
          {60000, P::Printing, 1002, V::TimedOut}}, 2},
        {"a silence between idle samples", P::Ready, 1000,
         {{1000, P::Ready, 1001, V::Following}, {2000, P::Unknown, kSilent, V::Following},
          {3000, P::Ready, 1001, V::Following}, {4000, P::Ready, 1001, V::Done}}, 1},
        {"no state at all", P::Unknown, -1, {{1000, P::Unknown, -1, V::NoState}}, {}},
        {"a counter alone", P::Unknown, 500,
         {{1000, P::Unknown, 502, V::Following}, {2000, P::Unknown, 502, V::Done}}, 2},
        {"a counter that went back", P::Ready, 1000,
         {{1000, P::Printing, 7, V::Following}, {2000, P::Ready, 8, V::Following}, {3000, P::Ready, 8, V::Done}}, {}},
        {"a rise past the pages the run can make", P::Ready, 1000,
         {{1000, P::Ready, 1101, V::Following}, {2000, P::Ready, 1101, V::Done}}, {}},
        {"counts of another unit or device are no count", P::Ready, 1000,
         {{1000, P::Printing, 1001, V::Following}, {2000, P::Printing, 1003, V::Following, 7, 2},
          {3000, P::Ready, 1050, V::Following, 8}, {4000, P::Ready, 1050, V::Done, 8}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrinterFollow follow(State(c.before, c.nBefore), 60000, 100);
        for (const Sample& sample : c.samples)
            EXPECT_EQ(follow.Add(State(sample.status, sample.nCounter, sample.nUnit, sample.nDevice),
                                 sample.nCounter != kSilent, sample.nMs),
                      sample.verdict)
                << sample.nMs;
        EXPECT_EQ(follow.PagesPrinted(), c.pages);
    }
}
