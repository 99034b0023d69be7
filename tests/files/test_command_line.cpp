#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/command_line.h"

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
