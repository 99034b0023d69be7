#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "files/command_line.h"
#include "files/command_line_options.h"
#include "files/name_pattern.h"
#include "job/settings/paper_tables.h"

namespace {
struct Parsed {
    std::vector<std::wstring> files;
    std::wstring printer;
};

Parsed Parse(const std::wstring& line)
{
    Parsed p;
    ParseCommandLine(line, p.files, p.printer);
    return p;
}

using Files = std::vector<std::wstring>;
}  // namespace

TEST(ParseCommandLine, QuotedPathsAsTheShellExtensionWritesThem)
{
    const Parsed p = Parse(L" \"C:\\My Files\\a.pdf\" \"C:\\b.pdf\"");
    EXPECT_EQ(p.files, (Files{L"C:\\My Files\\a.pdf", L"C:\\b.pdf"}));
    EXPECT_TRUE(p.printer.empty());
}

TEST(ParseCommandLine, PrinterOption)
{
    Parsed p = Parse(L"-M \"Office Printer 2\" C:\\a.pdf");
    EXPECT_EQ(p.printer, L"Office Printer 2");
    EXPECT_EQ(p.files, (Files{L"C:\\a.pdf"}));

    p = Parse(L"/mLaser C:\\a.pdf");
    EXPECT_EQ(p.printer, L"Laser");
    EXPECT_EQ(p.files, (Files{L"C:\\a.pdf"}));

    p = Parse(L"-m First -M Second");
    EXPECT_EQ(p.printer, L"Second");
    EXPECT_TRUE(p.files.empty());
}

TEST(ParseCommandLine, OtherOptionsAreSkipped)
{
    EXPECT_EQ(Parse(L"-x C:\\a.pdf").files, (Files{L"C:\\a.pdf"}));
    // Letters after the option's second character become a file name.
    EXPECT_EQ(Parse(L"-xabc C:\\a.pdf").files, (Files{L"abc", L"C:\\a.pdf"}));
}

TEST(ParseCommandLine, QuotesAtTheEdges)
{
    EXPECT_EQ(Parse(L"\"\"").files, (Files{L""}));
    EXPECT_EQ(Parse(L"a.pdf \"C:\\rest of line.pdf").files, (Files{L"a.pdf", L"C:\\rest of line.pdf"}));
    // A quote inside an unquoted token is an ordinary character.
    EXPECT_EQ(Parse(L"ab\"c d").files, (Files{L"ab\"c", L"d"}));
}

TEST(ParseCommandLine, OptionAtTheEndKeepsEarlierFiles)
{
    Parsed p = Parse(L"a.pdf b.pdf -M");
    EXPECT_EQ(p.files, (Files{L"a.pdf", L"b.pdf"}));
    EXPECT_TRUE(p.printer.empty());
    p = Parse(L"a.pdf -M   ");
    EXPECT_EQ(p.files, (Files{L"a.pdf"}));
}

TEST(ParseCommandLine, LoneDashAtTheEndStopsWithoutReadingPastIt)
{
    // The option letter would be the terminator: nothing may be read after it.
    std::wstring line = L"a.pdf -";
    EXPECT_EQ(Parse(line).files, (Files{L"a.pdf"}));
    EXPECT_EQ(Parse(L"/").files, Files{});
}

TEST(ParseCommandLine, EmptyAndBlankLines)
{
    EXPECT_TRUE(Parse(L"").files.empty());
    EXPECT_TRUE(Parse(L"     ").files.empty());
}

TEST(ParseCommandLine, TokensThatDoNotFitAreSkippedWhole)
{
    // A cut path could name another file that exists: nothing is taken from it.
    const std::wstring str259(259, L'f');
    const std::wstring str260(260, L'g');
    const std::wstring str300(300, L'h');
    Parsed p = Parse(L" \"" + str259 + L"\" \"" + str260 + L"\" " + str300 + L" next.pdf");
    EXPECT_EQ(p.files, (Files{str259, L"next.pdf"}));

    p = Parse(L"-M " + std::wstring(249, L'p') + L" a.pdf");
    EXPECT_EQ(p.printer, std::wstring(249, L'p'));
    // An overlong printer name leaves the one named before it.
    p = Parse(L"-M Office -M \"" + std::wstring(250, L'q') + L"\" a.pdf");
    EXPECT_EQ(p.printer, L"Office");
    EXPECT_EQ(p.files, (Files{L"a.pdf"}));
}

TEST(GetCmdToken, NeverWritesPastItsBuffer)
{
    wchar_t buffer[8];
    for (wchar_t& ch : buffer)
        ch = L'#';
    bool bFits = true;
    const size_t used = GetCmdToken(L"  abcdefghijkl rest", buffer, 5, &bFits);
    EXPECT_EQ(used, 2u + 12u + 1u);  // blanks, token, ending blank
    EXPECT_FALSE(bFits);
    EXPECT_EQ(std::wstring(buffer), L"");
    EXPECT_EQ(buffer[5], L'#');
    EXPECT_EQ(buffer[7], L'#');
    EXPECT_EQ(GetCmdToken(L"abcd", buffer, 5, &bFits), 4u);
    EXPECT_TRUE(bFits);
    EXPECT_EQ(std::wstring(buffer), L"abcd");
}

TEST(GetCmdToken, ConsumedCounts)
{
    wchar_t buffer[32];
    EXPECT_EQ(GetCmdToken(L"   ", buffer, 32), 0u);
    EXPECT_EQ(GetCmdToken(L"\"a b\"c", buffer, 32), 5u);
    EXPECT_EQ(std::wstring(buffer), L"a b");
    EXPECT_EQ(GetCmdToken(L"abc", buffer, 32), 3u);
    EXPECT_EQ(GetCmdToken(L"\"open", buffer, 32), 5u);
    EXPECT_EQ(std::wstring(buffer), L"open");
}

namespace {
// One line per command line: the run, the files, the printer and every option given,
// or the first fault.
std::wstring Describe(const std::wstring& line)
{
    const auto sizes = PaperSizeKeywords();
    const auto types = PaperTypeKeywords();
    const CommandLine c = ReadCommandLine(line, {sizes, types});
    const wchar_t* kModes[] = {L"sheet", L"print", L"probe", L"usage"};
    const wchar_t* kErrors[] = {L"",    L"unknown", L"value",     L"missing", L"nofile",
                                L"two", L"probe",   L"onlyprobe", L"all+m"};
    std::wstring s = kModes[static_cast<int>(c.mode)];
    if (c.error != UsageError::None)
        return s + L" !" + kErrors[static_cast<int>(c.error)] + L" " + c.strErrorToken +
               (c.strErrorValue.empty() ? L"" : L"=" + c.strErrorValue);
    for (const CmdFile& f : c.arrFiles)
        s += L" [" + (f.bTooLong ? L"long" : f.strPath) + L"]";
    if (c.bPrinterGiven)
        s += L" m=" + (c.bPrinterTooLong ? L"long" : c.strPrinter);
    const JobOptions& o = c.options;
    const std::pair<const wchar_t*, std::optional<int>> values[] = {
        {L"copies", o.nCopies}, {L"from", o.nFromPage}, {L"to", o.nToPage},     {L"paper", o.nPaperSize},
        {L"type", o.nPaperType}, {L"duplex", o.nDuplex}, {L"color", o.nColorMode}, {L"zoom", o.nZoom}};
    for (const auto& [name, value] : values)
        if (value)
            s += std::wstring(L" ") + name + L"=" + std::to_wstring(*value);
    if (o.bFitToPage)
        s += std::wstring(L" fit=") + (*o.bFitToPage ? L"1" : L"0");
    for (const auto& [name, words] : {std::pair{L"tray", o.strTray}, {L"bin", o.strOutputBin}, {L"finish", o.strFinishings}})
        if (words)
            s += std::wstring(L" ") + name + L"=" + *words;
    if (o.bPin)
        s += L" pin";
    if (c.nWaitSeconds != kDefaultWaitSeconds)
        s += L" wait=" + std::to_wstring(c.nWaitSeconds);
    return s + (c.bAll ? L" all" : L"") + (c.bJson ? L" json" : L"");
}
}  // namespace

TEST(ReadCommandLine, OptionsValuesAndFaults)
{
    const std::wstring long300(300, L'h'), long250(250, L'q'), long40(40, L'x');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"/print /m \"Office Printer 2\" /copies 2 /pages 2-7 /paper a4 /type Thick /duplex LONG /color bw "
         L"/zoom 150 /wait 5 \"C:\\My Files\\a.pdf\" b.jpg",
         L"print [C:\\My Files\\a.pdf] [b.jpg] m=Office Printer 2 copies=2 from=2 to=7 paper=4 type=2 duplex=1 "
         L"color=1 zoom=150 fit=0 wait=5"},
        // The last of a repeated option wins; /fit and /zoom replace each other.
        {L"-PRINT -Copies 3 -copies 4 -fit -zoom 60 a.pdf", L"print [a.pdf] copies=4 zoom=60 fit=0"},
        {L"/print /zoom 60 /fit /paper JISB4 /type used a.pdf", L"print [a.pdf] paper=16 type=10 zoom=60 fit=1"},
        // Quoted tokens are never options; option names are good file names.
        {L"/print \"/print\" \"-copies\" copies print a.pdf/print", L"print [/print] [-copies] [copies] [print] [a.pdf/print]"},
        {L"\"/print\" a.pdf", L"sheet [/print] [a.pdf]"},
        {L"/print /copies \"2\" /duplex \"short\" /mLaser a.pdf", L"print [a.pdf] m=Laser copies=2 duplex=2"},
        // The printer's own values, checked once it is known; a PIN never stands on the line.
        {L"/print /tray \"Tray 2\" /bin face-up /finish staple,punch-dual-left /pin a.pdf",
         L"print [a.pdf] tray=Tray 2 bin=face-up finish=staple,punch-dual-left pin"},
        {L"/print /pin 1234 a.pdf", L"print !value /pin"},
        {L"/print /tray " + std::wstring(128, L't') + L" a.pdf", L"print !value /tray=" + std::wstring(40, L't') + L"\u2026"},
        {L"/print /copies 0 a.pdf", L"print !value /copies=0"},
        {L"/print /copies 100 a.pdf", L"print !value /copies=100"},
        {L"/print /copies +1 a.pdf", L"print !value /copies=+1"},
        {L"/print /pages 5-3 a.pdf", L"print !value /pages=5-3"},
        {L"/print /pages 0-3 a.pdf", L"print !value /pages=0-3"},
        {L"/print /pages 3 a.pdf", L"print [a.pdf] from=3 to=3"},
        {L"/print /pages 3- a.pdf", L"print !value /pages=3-"},
        {L"/print /pages 0 a.pdf", L"print !value /pages=0"},
        {L"/print /pages 1-10000 a.pdf", L"print !value /pages=1-10000"},
        {L"/print /paper A7 a.pdf", L"print !value /paper=A7"},
        {L"/print /type heavy a.pdf", L"print !value /type=heavy"},
        {L"/print /duplex both a.pdf", L"print !value /duplex=both"},
        {L"/print /color grey a.pdf", L"print !value /color=grey"},
        {L"/print /zoom 49 a.pdf", L"print !value /zoom=49"},
        {L"/print /zoom 201 a.pdf", L"print !value /zoom=201"},
        {L"/print /wait 3601 a.pdf", L"print !value /wait=3601"},
        {L"/print /wait -1 a.pdf", L"print !value /wait=-1"},
        {L"/print /paper " + long40 + L" a.pdf", L"print !value /paper=" + long40 + L"\u2026"},
        {L"/print /bogus a.pdf", L"print !unknown /bogus"},
        {L"/print -xabc a.pdf", L"print !unknown -xabc"},
        {L"/print / a.pdf", L"print !unknown /"},
        {L"/print a.pdf /copies", L"print !missing /copies"},
        {L"/print a.pdf /m  ", L"print !missing /m"},
        {L"/print /m X", L"print !nofile "},
        {L"/print /probe a.pdf", L"print !two "},
        {L"/probe /m \"Lab Printer\"", L"probe m=Lab Printer"},
        // A printer's URL never keeps its password past the command line (a user alone is no secret).
        {L"/probe /m ipp://ann:s3@cr:t@h:631/ipp?a@b", L"probe m=ipp://ann:***@h:631/ipp?a@b"},
        {L"/probe /m ipp://ann@h/x:y@z", L"probe m=ipp://ann@h/x:y@z"},
        {L"/probe a.pdf", L"probe !probe a.pdf"},
        {L"/probe /copies 2", L"probe !probe /copies"},
        {L"/print /? /bogus", L"usage"},
        {L"/probe /ALL -json", L"probe all json"},
        {L"/probe /all /m X", L"probe !all+m "},
        {L"/print /all a.pdf", L"print !onlyprobe /all"},
        {L"/print /json a.pdf", L"print [a.pdf] json"},
        {L"/print " + long300 + L" /m " + long250 + L" b.pdf", L"print [long] [b.pdf] m=long"},
        // Without /print or /probe the line is read as the sheet always read it.
        {L"/copies 2 /paper a4 a.pdf -x b.pdf -xabc", L"sheet [a.pdf] [b.pdf] [abc] copies=2 paper=4"},
        {L"/copies 500 /zoom 75 -M Office \"C:\\a b.pdf\"", L"sheet [C:\\a b.pdf] m=Office zoom=75 fit=0"},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(Describe(line), expected) << std::string(line.begin(), line.end());
}

TEST(NamePattern, LastPartOnlyAnyCase)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"a.pdf", L"*.pdf", true},     {L"A.PDF", L"*.pdf", true},    {L"a.pdfx", L"*.pdf", false},
        {L"ab.pdf", L"?.pdf", false},   {L"a.pdf", L"?.pdf", true},    {L"scan 01.pdf", L"scan*0?.p*", true},
        {L"abc", L"a*b*c*", true},      {L"abd", L"a*c", false},       {L"", L"*", true}};
    for (const auto& [name, pattern, matches] : cases)
        EXPECT_EQ(MatchesNamePattern(name, pattern), matches) << std::wstring(name).size();
    EXPECT_TRUE(HasNamePattern(L"C:\\in\\*.pdf"));
    EXPECT_TRUE(HasNamePattern(L"C:x?.pdf"));
    EXPECT_FALSE(HasNamePattern(L"C:\\in*\\a.pdf"));
    // Folders and reparse points (links, junctions) are never matches; read-only or hidden files are.
    const std::vector<FolderEntry> entries = {{L"a.pdf", 0x20},  {L"dir.pdf", 0x10}, {L"link.pdf", 0x420},
                                              {L"b.pdf", 0x21},  {L"c.txt", 0x20},   {L"junction.pdf", 0x410},
                                              {L"d.pdf", 0x2}};
    EXPECT_EQ(MatchingFileNames(entries, L"*.pdf"), (std::vector<std::wstring>{L"a.pdf", L"b.pdf", L"d.pdf"}));
}
