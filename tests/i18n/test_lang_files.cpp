// The shipped UI string files: encoding, the same keys in every language, the keys the
// program reads, and English values that match the built-in defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "app/script/report/script_texts.h"
#include "common/ini_text.h"
#include "common/ui_text.h"
#include "job/outcome/print_summary.h"
#include "job/settings/paper_tables.h"
#include "printer/state/printer_state_text.h"
#include "tests/i18n/lang_file_entries.h"
#include "ui/access_keys.h"
#include "ui/finishing_choices.h"
#include "printer/state/ticket_names.h"
#include "ui/state_view.h"

namespace {
using KeySet = std::set<std::pair<std::wstring, std::wstring>>;

KeySet Keys(const std::vector<LangEntry>& entries)
{
    KeySet keys;
    for (const LangEntry& e : entries)
        keys.insert({e.strSection, e.strKey});
    return keys;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The keys of `keys` that `others` lacks, as " [SECTION]KEY" each.
std::string KeysNotIn(const KeySet& keys, const KeySet& others)
{
    std::wstring text;
    for (const auto& [section, key] : keys)
        if (!others.count({section, key}))
            text += L" [" + section + L"]" + key;
    return Narrow(text);
}

// The English file as the text source, noting every key asked of it.
class AskedKeys : public UITextSource {
public:
    AskedKeys()
    {
        for (const LangEntry& e : Shipped("EN"))
            m_ini.Set(e.strSection, e.strKey, e.strValue);
        SetUITextSource(this);
    }
    ~AskedKeys() override { SetUITextSource(nullptr); }
    bool Lookup(const std::wstring& section, const std::wstring& key, std::wstring& value) const override
    {
        m_asked.insert({section, key});
        return m_ini.Lookup(section, key, value);
    }
    const KeySet& Asked() const { return m_asked; }

private:
    CIniText m_ini;
    mutable KeySet m_asked;
};

// The English file makes the built-in texts, and every key the texts ask for is in every
// language's file: a key missing everywhere would pass through its built-in default.
void ExpectEnglishAsBuiltIn(const std::function<std::vector<std::wstring>()>& fnLines)
{
    const std::vector<std::wstring> builtIn = fnLines();
    const AskedKeys english;
    EXPECT_EQ(fnLines(), builtIn);
    for (const std::string& code : ShippedLanguages())
        EXPECT_EQ(KeysNotIn(english.Asked(), Keys(Shipped(code))), "") << code << " lacks them";
}
}  // namespace

TEST(LangFiles, AreUtf16WithBomCrlfAndMatchTheirSources)
{
    for (const std::string& code : ShippedLanguages()) {
        const std::string bytes = ReadBytes(LangFolder() / ("LOCAL_" + code + ".dat"));
        ASSERT_GE(bytes.size(), 2u) << code;
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << code;
        std::wstring dat = DecodeUtf16(bytes);
        EXPECT_EQ(dat.find(L"\r\n") != std::wstring::npos, true) << code;
        std::wstring lf;
        for (size_t i = 0; i < dat.size(); ++i)
            if (!(dat[i] == L'\r' && i + 1 < dat.size() && dat[i + 1] == L'\n'))
                lf += dat[i];
        const std::wstring src = DecodeUtf8(ReadBytes(LangFolder() / "src" / ("LOCAL_" + code + ".ini")));
        EXPECT_TRUE(lf == src) << "LOCAL_" << code << ".dat is out of date: run tools/gen-lang-files.py";
    }
}

TEST(LangFiles, EveryLanguageHoldsExactlyTheKeysOfEnglish)
{
    const KeySet english = Keys(Shipped("EN"));
    ASSERT_FALSE(english.empty());
    for (const std::string& code : ShippedLanguages()) {
        const std::vector<LangEntry> entries = Shipped(code);
        const KeySet keys = Keys(entries);
        EXPECT_EQ(keys.size(), entries.size()) << code << ": a key appears twice";
        EXPECT_EQ(KeysNotIn(english, keys), "") << code << " lacks them";
        EXPECT_EQ(KeysNotIn(keys, english), "") << code << " has them in extra";
        for (const LangEntry& e : entries)
            EXPECT_FALSE(e.strValue.empty()) << code << " [" << Narrow(e.strSection) << "]" << Narrow(e.strKey);
    }
}

TEST(LangFiles, EnglishHoldsEveryTextTheProgramReads)
{
    const std::map<std::wstring, std::vector<std::wstring>> kRead = {
        {L"UI_SHEET", {L"IDL_TITLE", L"IDL_OK", L"IDL_PRINT", L"IDL_CANCEL", L"IDL_HELP", L"IDL_VERSION",
                       L"IDD_BASICDLG", L"IDD_ADVANCEDDLG", L"IDD_FINISHINGDLG", L"IDL_RANGE", L"IDL_LABELLED"}},
        {L"ERROR_MSG", {L"IDL_MESSAGE_NOSUPPORT", L"IDL_MESSAGE_NOPRINTERSUPPORT", L"IDL_MESSAGE_NOPRINTER",
                        L"IDL_MESSAGE_BUSYOROFF", L"IDL_MESSAGE_NOFILES", L"IDL_MESSAGE_INVAILDFILE",
                        L"IDL_MESSAGE_INVALIDPRNRANGE", L"IDL_MESSAGE_PRINTFAILED", L"IDL_MESSAGE_REFUSEDCONTENT",
                        L"IDL_MESSAGE_TAKENOFF", L"IDL_MESSAGE_FILESWAIT"}},
        {L"UI_BASIC_TAB", {L"IDC_STATIC_SELECTPRINTER", L"IDC_STATIC_SELECTFILES", L"IDC_LIST_FILE",
                           L"IDC_BUTTON_REMOVE", L"IDC_BUTTON_BROWSE", L"IDC_STATIC_PRINTRANGE",
                           L"IDC_RADIO_PRINTRANGE_ALL", L"IDC_RADIO_PRINTRANGE_PAGES", L"IDC_STATIC_PRINTRANGE_FROM",
                           L"IDC_STATIC_PRINTRANGE_TO", L"IDC_STATIC_COPIES", L"IDC_STATIC_ORIENTATION",
                           L"IDC_RADIO_ORIENTATION_PORTRAIT", L"IDC_RADIO_ORIENTATION_LANDSCAPE",
                           L"IDC_BUTTON_DEFAULT", L"IDC_FILES", L"IDC_FILES_PRINTABLE"}},
        {L"UI_ADVANCED_TAB", {L"IDC_STATIC_PAPAEROPTION", L"IDC_STATIC_PAPERSIZE", L"IDC_STATIC_PAPERTYPE",
                              L"IDC_STATIC_DUPLEX", L"IDC_RADIO_DUPLEX_NONE", L"IDC_RADIO_DUPLEX_LONG",
                              L"IDC_RADIO_DUPLEX_SHORT", L"IDC_STATIC_COLORMODE", L"IDC_RADIO_COLORMODE_AUTO",
                              L"IDC_RADIO_COLORMODE_BW", L"IDC_STATIC_REDUCEENLARGE", L"IDC_CHECK_ZOOM_FIT",
                              L"IDC_STATIC_CUSTOM", L"IDC_BUTTON_ADV_DEFAULT"}},
        {L"UI_FINISHING_TAB", {L"IDC_STATIC_PAPERSOURCE", L"IDC_STATIC_TRAY", L"IDC_STATIC_OUTPUTBIN",
                               L"IDC_STATIC_FINISHING", L"IDC_STATIC_STAPLE", L"IDC_STATIC_PUNCH", L"IDC_STATIC_FOLD",
                               L"IDC_STATIC_PINPRINT", L"IDC_CHECK_PIN", L"IDC_STATIC_PIN", L"IDC_BUTTON_FIN_DEFAULT",
                               L"IDL_NOTE_NONE", L"IDL_NOTE_SPOOLER"}},
        {L"UNIT", {L"IDC_UNIT_MM", L"IDC_UNIT_INCH"}},
        {L"KORETTA_MENU", {L"MENUTEXT", L"COMMAND1", L"LIMITEDSELECTEDFILES"}},
        {L"UI_PRINT_RUN", {L"IDL_STATUS_CHECKING", L"IDL_STATUS_PRINTING", L"IDL_STATUS_WAITING",
                           L"IDL_STATUS_STOPPING", L"IDL_SUMMARY_SENT", L"IDL_SUMMARY_CANCELLED", L"IDL_SUMMARY_LINE",
                           L"IDL_SUMMARY_MORE", L"IDL_REASON_CANCELLED", L"IDL_REASON_PRINTERERROR",
                           L"IDL_REASON_OFFLINE", L"IDL_REASON_PAPEROUT", L"IDL_REASON_PAUSED", L"IDL_REASON_BLOCKED",
                           L"IDL_REASON_DELETED", L"IDL_REASON_INTERNAL", L"IDL_QUESTION_STOPCLOSE", L"IDL_YES",
                           L"IDL_NO", L"IDL_STATUS_ADMITTING", L"IDL_STATUS_FOLLOWING", L"IDL_QUESTION_PRINTERREPORTS",
                           L"IDL_QUESTION_SENDANYWAY"}},
        {L"PLURAL", {L"IDL_PLURAL_ONE"}},
    };
    const KeySet english = Keys(Shipped("EN"));
    for (const auto& [section, keys] : kRead)
        for (const std::wstring& key : keys)
            EXPECT_TRUE(english.count({section, key})) << Narrow(section) << "/" << Narrow(key);
    // Beyond the list: every key the product's sources name as a text, in whatever section.
    std::set<std::wstring> englishKeys;
    for (const auto& [section, key] : english)
        englishKeys.insert(key);
    const std::regex literal(R"re(L"(ID[LCD]_[A-Z0-9_]*[A-Z0-9])")re");
    size_t nFound = 0;
    for (const char* pszFolder : {"app", "ui", "job", "files", "printer", "common", "i18n", "installer", "koretta"}) {
        const std::filesystem::path folder = std::filesystem::path(LUMEO_SOURCE_DIR) / pszFolder;
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it, ++nFound)
                EXPECT_TRUE(englishKeys.count(Wide((*it)[1].str())))
                    << (*it)[1].str() << " of " << entry.path().filename().string() << " is in no section of English";
        }
    }
    EXPECT_GT(nFound, 200u) << "the scan found too few keys: the sources moved";
}

TEST(LangFiles, TranslationsKeepEveryPlaceOfTheirEnglishText)
{
    // Each place at least once; a language may choose words by it ("{2:file|files}") or not.
    const auto places = [](const std::wstring& text) {
        std::set<wchar_t> found;
        for (size_t i = text.find(L'{'); i != std::wstring::npos && i + 1 < text.size(); i = text.find(L'{', i + 1))
            found.insert(text[i + 1]);
        return found;
    };
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> english;
    for (const LangEntry& e : Shipped("EN"))
        english[{e.strSection, e.strKey}] = e.strValue;
    for (const std::string& code : ShippedLanguages())
        for (const LangEntry& e : Shipped(code))
            EXPECT_EQ(places(e.strValue), places(english[{e.strSection, e.strKey}]))
                << code << " " << Narrow(e.strSection) << "/" << Narrow(e.strKey);
}

TEST(LangFiles, EnglishPaperTablesEqualTheBuiltInOnesAndEveryRowIsThere)
{
    const PaperSizeTable builtInSizes[2] = {BuildPaperSizeTable(false), BuildPaperSizeTable(true)};
    const PaperTypeTable builtInTypes = BuildPaperTypeTable();
    const std::vector<LangEntry> english = Shipped("EN");
    {
        ScopedLangSource source(english);
        for (int bEnglish = 0; bEnglish < 2; ++bEnglish) {
            const PaperSizeTable sizes = BuildPaperSizeTable(bEnglish != 0);
            for (int i = 0; i < kPaperSizeCount; ++i) {
                const PaperSizeInfo& expected = builtInSizes[bEnglish][i];
                EXPECT_EQ(sizes[i].strName, expected.strName) << i;
                EXPECT_EQ(sizes[i].strPJL, expected.strPJL) << i;
                EXPECT_EQ(sizes[i].nWidthMM, expected.nWidthMM) << i;
                EXPECT_EQ(sizes[i].nHeightMM, expected.nHeightMM) << i;
                EXPECT_DOUBLE_EQ(sizes[i].dWidthInch, expected.dWidthInch) << i;
                EXPECT_DOUBLE_EQ(sizes[i].dHeightInch, expected.dHeightInch) << i;
            }
        }
        const PaperTypeTable types = BuildPaperTypeTable();
        for (int i = 0; i < kPaperTypeCount; ++i) {
            EXPECT_EQ(types[i].strName, builtInTypes[i].strName) << i;
            EXPECT_EQ(types[i].strPJL, builtInTypes[i].strPJL) << i;
        }
    }
    // Every row has its section (a misspelt section would only fall back to the defaults).
    std::set<std::wstring> sizeSections, typeSections;
    for (const LangEntry& e : english) {
        if (e.strSection.rfind(L"PAPER_INFO_", 0) == 0)
            sizeSections.insert(e.strSection);
        if (e.strSection.rfind(L"PAPERTYPE_INFO_", 0) == 0)
            typeSections.insert(e.strSection);
    }
    EXPECT_EQ(sizeSections.size(), static_cast<size_t>(kPaperSizeCount));
    EXPECT_EQ(typeSections.size(), static_cast<size_t>(kPaperTypeCount));
    EXPECT_TRUE(sizeSections.count(L"PAPER_INFO_ORIGINAL"));
    for (int i = 1; i < kPaperSizeCount; ++i)
        EXPECT_TRUE(sizeSections.count(L"PAPER_INFO_" + builtInSizes[0][i].strPJL)) << i;
    for (int i = 0; i < kPaperTypeCount; ++i)
        EXPECT_TRUE(typeSections.count(L"PAPERTYPE_INFO_" + builtInTypes[i].strPJL)) << i;
}

TEST(LangFiles, TranslationsKeepThePrinterKeywordsAndTheOriginalSizeFollowsTheUser)
{
    std::map<std::wstring, std::wstring> englishKeywords;
    for (const LangEntry& e : Shipped("EN"))
        if (e.strKey == L"PJLCMD")
            englishKeywords[e.strSection] = e.strValue;
    for (const std::string& code : ShippedLanguages()) {
        const std::vector<LangEntry> entries = Shipped(code);
        for (const LangEntry& e : entries) {
            if (e.strKey == L"PJLCMD") {
                EXPECT_EQ(e.strValue, englishKeywords[e.strSection]) << code << " " << Narrow(e.strSection);
            }
            if (e.strSection == L"PAPER_INFO_ORIGINAL") {
                EXPECT_TRUE(e.strKey == L"NAME" || e.strKey == L"PJLCMD") << code << " " << Narrow(e.strKey);
            }
        }
        // With the file in use the "Original" row still takes its dimensions from the user's language.
        ScopedLangSource source(entries);
        const PaperSizeTable english = BuildPaperSizeTable(true);
        const PaperSizeTable other = BuildPaperSizeTable(false);
        EXPECT_EQ(english[0].nWidthMM, 216) << code;
        EXPECT_EQ(english[0].nHeightMM, 279) << code;
        EXPECT_DOUBLE_EQ(english[0].dWidthInch, 8.5) << code;
        EXPECT_EQ(other[0].nWidthMM, 210) << code;
        EXPECT_EQ(other[0].nHeightMM, 297) << code;
        EXPECT_DOUBLE_EQ(other[0].dHeightInch, 11.69) << code;
        EXPECT_EQ(other[4].strPJL, L"A4") << code;
    }
}

TEST(LangFiles, EnglishCommandLineTextsEqualTheBuiltInOnes)
{
    auto Lines = [] {
        std::vector<std::wstring> lines = UsageLines(L"P", {});
        CommandLine cmd;
        cmd.strErrorToken = L"t";
        for (int e = 1; e <= static_cast<int>(UsageError::AllAndPrinter); ++e) {
            cmd.error = static_cast<UsageError>(e);
            lines.push_back(UsageErrorLine(cmd));
        }
        lines.insert(lines.end(), {NoRunLine(), UnknownPrinterLine(L"p"), SummaryLine({}, L"p")});
        std::vector<FileReport> reports = {{L"f", FileOutcome::Sent, true}};
        for (int n = 1; n <= static_cast<int>(FileOutcome::PrinterBusy); ++n)
            reports.push_back({L"f", static_cast<FileOutcome>(n), n > static_cast<int>(FileOutcome::Changed)});
        for (int nType = 0; nType <= 16; nType = nType ? 2 * nType : 1) {
            reports.push_back({L"f", TypeNotTakenReason(nType ? L".x" : L"", nType), false});
            reports.push_back({L"f", TypeNotTakenReason(L".pdf", 31 ^ nType), false});
            FileReason content(FileOutcome::NotOfItsType);
            content.nFileType = nType;
            reports.push_back({L"f", content, false});
        }
        reports.push_back({L"f", FileReason(FileOutcome::SpoolerRefused, L"why"), true});
        for (const FileReport& report : reports)
            lines.push_back(FileLine(report));
        std::ranges::copy(ReasonCountLines(reports), std::back_inserter(lines));
        lines.push_back(SummaryLine(reports, L"p"));
        lines.push_back(SummaryLine({reports.front()}, L"p"));
        lines.push_back(PrinterStoppedLine({}));
        for (size_t nFiles : {1, 2})
            for (FollowVerdict verdict : {FollowVerdict::Done, FollowVerdict::TimedOut})
                lines.push_back(PrinterRunLine({verdict, 3}, nFiles));
        lines.push_back(PrinterRunLine({FollowVerdict::Done, 0}, 1));
        DeviceIdRoute route;
        for (PortKind kind : {PortKind::Usb, PortKind::Parallel, PortKind::File, PortKind::Network}) {
            route.kind = kind;
            std::ranges::copy(ProbeLines(L"p", route, kind == PortKind::Usb, L"", 1), std::back_inserter(lines));
        }
        route.arrSnmp = {{L"a", L"c", true, L"u", true}, {L"", L"c", false, L"", false}};
        std::ranges::copy(ProbeLines(L"p", route, false, L"", -1), std::back_inserter(lines));
        PrinterState stopped;
        stopped.status = PrinterStatus::Stopped;
        lines.push_back(ProbeLines(L"p", route, true, L"", 1, &stopped).back());
        std::ranges::copy(ProbeLines(L"u", {}, true, L"", 1, nullptr, {{L"u", true, ""}, {L"u", false, "why"}}),
                          std::back_inserter(lines));
        lines.push_back(FilePrintedLine(L"a.pdf", 3));
        return lines;
    };
    ExpectEnglishAsBuiltIn(Lines);
}

TEST(LangFiles, EnglishPrinterStateTextsEqualTheBuiltInOnes)
{
    auto Lines = [] {
        PrinterState state;
        state.nPageCounter = 7;
        for (int k = 0; k <= static_cast<int>(ConditionKind::Other); ++k)
            state.conditions.push_back({ConditionSeverity::Stop, static_cast<ConditionKind>(k), ConditionDetail::None, {}});
        for (int d = 1; d <= static_cast<int>(ConditionDetail::MaintenanceOverdue); ++d)
            state.conditions.push_back(
                {ConditionSeverity::Warning, ConditionKind::Other, static_cast<ConditionDetail>(d), L"w"});
        state.supplies = {{L"", true, false, 10, 4}, {L"s", false, false, -2, -3}, {L"s", false, false, -2, -2}};
        state.trays = {{L"", L"", L"", 10, 5}};
        std::vector<std::wstring> lines = ProbeStateLines(PortKind::Network, state);
        lines.push_back(ProbeStateLines(PortKind::Usb, state).at(0));
        for (int s = 0; s <= static_cast<int>(PrinterStatus::Stopped); ++s)
            lines.push_back(PrinterStatusText(static_cast<PrinterStatus>(s)));
        lines.insert(lines.end(), {SeverityName(StateSeverity::NoAnswer), ViewOfCheck(-1, 2).strLine,
                                   ViewOfCheck(0, 1).strLine, ViewOfCheck(-1, 0, true).strLine, CardText(L"", ViewOfState(state).supplies)});
        return lines;
    };
    ExpectEnglishAsBuiltIn(Lines);
}

TEST(LangFiles, EnglishTicketTextsEqualTheBuiltInOnes)
{
    auto Lines = [] {
        TicketOffer offer;
        offer.road = TicketRoad::Ipp;
        for (const char* pszKeyword : {"main", "alternate", "large-capacity", "manual", "envelope", "by-pass-tray", "top",
                                       "middle", "bottom", "side", "left", "right", "center", "rear", "tray-2", "roll-1",
                                       "stacker-3", "mailbox-4", "face-up", "face-down", "my-mailbox", "photo"}) {
            offer.trays.push_back({pszKeyword, L"", 21000, 29700});
            offer.bins.push_back({pszKeyword, L""});
        }
        for (int32_t nValue = 1; nValue < 110; ++nValue)
            if (KindOfFinishing(nValue))
                offer.finishings.push_back(nValue);
        offer.nPinMaxDigits = 8;
        std::vector<std::wstring> lines = TicketOfferLines(offer);
        offer.nPinMaxDigits = 0;
        lines.push_back(TicketOfferLines(offer).back());
        for (int f = 1; f <= static_cast<int>(TicketFault::BadPin); ++f)
            lines.push_back(TicketRefusalText({static_cast<TicketFault>(f), L"/tray", L"v", L"o"}, L"p"));
        const FinishingLists lists = ListsOfOffer(offer);
        for (const bool bPin : {false, true})
            for (const LabelledText& text : TicketPreviewTexts(lists, {1, 1, 1, 1, 1}, bPin))
                lines.push_back(text.strLabel + L"=" + text.strValue);
        lines.insert(lines.end(), lists.trays.arrNames.begin(), lists.trays.arrNames.end());
        lines.insert(lines.end(), lists.bins.arrNames.begin(), lists.bins.arrNames.end());
        return lines;
    };
    ExpectEnglishAsBuiltIn(Lines);
}

TEST(LangFiles, TroubleIsSaidInTheUsersLanguageThenInThePrintersWordsOnce)
{
    PrinterState jam;
    jam.conditions = {{ConditionSeverity::Stop, ConditionKind::PaperJam, ConditionDetail::None, L"Paper jam in tray 1"}};
    EXPECT_EQ(PrinterReportText(jam), L"Paper jam in tray 1");
    ScopedLangSource source(Shipped("JP"));
    EXPECT_EQ(PrinterReportText(jam), L"\u7d19\u8a70\u307e\u308a: Paper jam in tray 1");
    EXPECT_EQ(PrinterStoppedLine(jam).find(PrinterReportText(jam)) + PrinterReportText(jam).size(),
              PrinterStoppedLine(jam).size());
}

TEST(LangFiles, CountsTakeTheFormsOfTheirLanguage)
{
    const std::map<std::string, std::vector<std::wstring>> kExpected = {
        {"EN", {L"0 of 1 file sent to P.", L"1 of 1 file sent to P.", L"3 of 5 files sent to P."}},
        {"GR", {L"0 von 1 Datei an P gesendet.", L"1 von 1 Datei an P gesendet.", L"3 von 5 Dateien an P gesendet."}},
        {"FN", {L"0 fichier sur 1 envoy\u00e9 \u00e0 P.", L"1 fichier sur 1 envoy\u00e9 \u00e0 P.",
                L"3 fichiers sur 5 envoy\u00e9s \u00e0 P."}},
        {"JP", {L"1 \u500b\u4e2d 0 \u500b\u306e\u30d5\u30a1\u30a4\u30eb\u3092 P \u306b\u9001\u4fe1\u3057\u307e\u3057\u305f\u3002",
                L"1 \u500b\u4e2d 1 \u500b\u306e\u30d5\u30a1\u30a4\u30eb\u3092 P \u306b\u9001\u4fe1\u3057\u307e\u3057\u305f\u3002",
                L"5 \u500b\u4e2d 3 \u500b\u306e\u30d5\u30a1\u30a4\u30eb\u3092 P \u306b\u9001\u4fe1\u3057\u307e\u3057\u305f\u3002"}},
    };
    for (const auto& [code, expected] : kExpected) {
        ScopedLangSource source(Shipped(code));
        std::vector<std::wstring> headlines;
        for (const auto& [nSent, nFiles] : {std::pair{0, 1}, {1, 1}, {3, 5}}) {
            std::vector<FileReason> reasons(nFiles, FileOutcome::NotFound);
            std::fill_n(reasons.begin(), nSent, FileReason(FileOutcome::Sent));
            headlines.push_back(
                SummarizePrintRun(L"P", std::vector<std::wstring>(nFiles, L"f"), reasons, false).strHeadline);
        }
        EXPECT_EQ(headlines, expected) << code;
    }
}

namespace {
// The controls of a dialog template that show their key's text as a label: visible group
// boxes, texts and buttons, by identifier (the identifier is the text's key).
std::vector<std::wstring> TemplateLabelIds(const std::string& strDialog)
{
    std::ifstream rc(std::filesystem::path(LUMEO_SOURCE_DIR) / "resources" / "lumeo.rc");
    std::vector<std::string> statements;
    bool bInside = false;
    for (std::string line; std::getline(rc, line);) {
        if (line.rfind(strDialog + " DIALOGEX", 0) == 0)
            bInside = true;
        else if (bInside && line == "END")
            break;
        else if (bInside && line.rfind("    ", 0) == 0 && line.find_first_not_of(' ') < 16)
            statements.push_back(line);  // a control starts at the statement's indent
        else if (bInside && !statements.empty())
            statements.back() += line;
    }
    const std::regex label(R"(^\s*(GROUPBOX|LTEXT|PUSHBUTTON|DEFPUSHBUTTON|CONTROL\s+"[^"]*",\s*\w+,\s*"Button"))");
    const std::regex id(R"(\b(IDC_\w+))");
    std::vector<std::wstring> ids;
    std::smatch match;
    for (const std::string& statement : statements)
        if (std::regex_search(statement, label) && statement.find("NOT WS_VISIBLE") == std::string::npos &&
            std::regex_search(statement, match, id)) {
            const std::string strId = match[1].str();
            ids.emplace_back(strId.begin(), strId.end());
        }
    return ids;
}
}  // namespace

TEST(LangFiles, EveryLabelOfAPageHasAnAccessKeyOfItsOwnInEveryLanguage)
{
    // The sheet's buttons and tabs answer Alt and a key on either page.
    const std::vector<std::wstring> kSheetKeys = {L"IDL_PRINT", L"IDL_CANCEL", L"IDL_HELP", L"IDD_BASICDLG",
                                                  L"IDD_ADVANCEDDLG", L"IDD_FINISHINGDLG"};
    for (const auto& [strDialog, strSection] : {std::pair{"IDD_BASIC", L"UI_BASIC_TAB"},
                                                {"IDD_ADVANCED", L"UI_ADVANCED_TAB"},
                                                {"IDD_FINISHING", L"UI_FINISHING_TAB"}}) {
        // The labels whose text comes from the string files (a fixed "(1 - 99)" has no key).
        std::vector<std::wstring> ids;
        const KeySet english = Keys(Shipped("EN"));
        for (const std::wstring& id : TemplateLabelIds(strDialog))
            if (english.count({strSection, id}))
                ids.push_back(id);
        ASSERT_GE(ids.size(), 11u) << strDialog;
        for (const std::string& code : ShippedLanguages()) {
            std::map<std::wstring, std::wstring> texts;  // key -> text on this page
            for (const LangEntry& e : Shipped(code))
                if ((e.strSection == L"UI_SHEET" &&
                     std::find(kSheetKeys.begin(), kSheetKeys.end(), e.strKey) != kSheetKeys.end()) ||
                    (e.strSection == strSection && std::find(ids.begin(), ids.end(), e.strKey) != ids.end()))
                    texts[e.strKey] = e.strValue;
            EXPECT_EQ(texts.size(), ids.size() + kSheetKeys.size()) << code << " " << strDialog;
            std::map<wchar_t, std::wstring> owners;
            for (const auto& [key, text] : texts) {
                const wchar_t chKey = AccessKeyOf(text);
                EXPECT_NE(chKey, 0) << code << " " << Narrow(key) << ": no access key";
                const auto [it, bNew] = owners.emplace(chKey, key);
                EXPECT_TRUE(bNew || !chKey) << code << " " << strDialog << ": " << Narrow(key) << " and "
                                            << Narrow(it->second) << " share their access key";
            }
        }
    }
}

TEST(LangFiles, TheReadmesStatusLineExamplesAreTextsTheProgramShows)
{
    const auto Read = [](const char* pszFile) {
        std::ifstream in(std::filesystem::path(LUMEO_SOURCE_DIR) / pszFile);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    };
    // A state, a condition, or a condition with the words of an alert our played printer sends.
    std::set<std::string> shown;
    for (int s = 0; s <= static_cast<int>(PrinterStatus::Stopped); ++s)
        shown.insert(Narrow(PrinterStatusText(static_cast<PrinterStatus>(s))));
    const std::string agent = Read("tests/support/printer_mib_agent.py");
    const std::regex alert(R"re(\(\d+, \d+, \d+, b"([^"\\%]*)"\))re");
    for (int k = 0; k <= static_cast<int>(ConditionKind::Other); ++k) {
        PrinterCondition condition{ConditionSeverity::Warning, static_cast<ConditionKind>(k)};
        shown.insert(Narrow(PrinterConditionText(condition)));
        for (auto it = std::sregex_iterator(agent.begin(), agent.end(), alert); it != std::sregex_iterator(); ++it) {
            const std::string words = (*it)[1].str();
            condition.strWords.assign(words.begin(), words.end());
            shown.insert(Narrow(PrinterConditionText(condition)));
        }
    }
    const std::string readme = Read("README.md");
    std::smatch list;
    ASSERT_TRUE(std::regex_search(readme, list, std::regex(R"(status line shows its state \(([^)]*)\))")));
    const std::string examples = list[1].str();
    const std::regex quoted("\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(examples.begin(), examples.end(), quoted); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(shown.count((*it)[1].str())) << (*it)[1].str();
}
