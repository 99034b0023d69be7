#include <gtest/gtest.h>

#include "common/ansi_text.h"
#include "common/ini_text.h"
#include "job/document/uel_search.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/pjl_envelope.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_file.h"

namespace {
// The options the main sheet sets at construction.
void ApplySheetDefaults(CParamMngr& p)
{
    p.m_JobSettings = JobSettings{};
    p.SetPrintRange(0);
    p.SetPageRange(1, 1);
    p.SetCopies(1);
    p.SetZoom(100);
}

class PJLEnvelope : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUITextSource(&m_ini);
        m_pParam = CreateParamMngr();
        ApplySheetDefaults(*m_pParam);
    }
    void TearDown() override
    {
        DestroyParamMngr();
        SetUITextSource(nullptr);
    }
    // The header as the spool file receives it.
    static std::string HeaderBytes(const std::wstring& path) { return ToThreadAnsi(SendStartPJLCommand(path)); }

    CIniText m_ini;
    CParamMngr* m_pParam = nullptr;
};

std::string Line(const std::string& text) { return text + "\r\n"; }
std::string JobAttr(const std::string& value) { return Line("@PJL SET JOBATTR=\"" + value + "\""); }
}  // namespace

TEST_F(PJLEnvelope, WorkedExampleIsByteExact)
{
    TempFile pdf("worked.pdf", std::string(12345, 'x'));
    const std::string expected = ReadWholeFile(std::string(LUMEO_SOURCE_DIR) + "/tests/data/pjl/worked_example_header.bin");
    ASSERT_EQ(expected.size(), 304u);
    EXPECT_EQ(HeaderBytes(pdf.Path()), expected);
    EXPECT_EQ(ToThreadAnsi(SendEndPJLCommand()), "\x1b%-12345X");
}

TEST_F(PJLEnvelope, AllOptionsSetGiveTheirLinesInOrder)
{
    JobSettings& s = m_pParam->m_JobSettings;
    s.m_nColorMode = 1;
    s.m_nDuplex = 1;
    s.m_bFitToPage = 1;
    s.m_nZoom = 150;
    s.m_nCopies = 3;
    s.m_nPrintRange = 1;
    s.m_nFromPage = 2;
    s.m_nToPage = 5;
    s.m_nOrientation = 1;  // landscape still reads PORTRAIT
    s.m_nPaperSize = 4;
    s.m_nPaperType = 1;
    TempFile jpg("photo.JPG", std::string(1000, '\xff'));
    EXPECT_EQ(HeaderBytes(jpg.Path()),
              Line("\x1b%-12345X@PJL") + Line("@PJL SET COLORMODE=MONO") + Line("@PJL SET DUPLEX=ON") +
                  Line("@PJL SET BINDING=LONGEDGE") + JobAttr("@ZOOM=0") + Line("@PJL SET COPIES=3") +
                  Line("@PJL SET ORIENTATION=PORTRAIT") + JobAttr("@FSTP=2") + JobAttr("@LSTP=5") +
                  Line("@PJL SET PAPER=A4") + Line("@PJL SET PAPERTYPE=NORMAL") + JobAttr("@FILESIZE=1000") +
                  Line("@PJL ENTER LANGUAGE=JPEG"));
}

// A tray and a bin only when chosen, after the paper; what the header cannot say is named.
TEST(PJLCompose, TrayAndBinLinesFollowThePaperAndWhatCannotBeSaidIsNamed)
{
    JobSettings s;
    s.m_Ticket.strTray = "TRAY2";
    s.m_Ticket.strOutputBin = "UPPERBIN";
    const std::string h = ToThreadAnsi(ComposeStartPJL(s, L"A4", L"OFF", 7, L"a.pdf"));
    EXPECT_NE(h.find("@PJL SET PAPERTYPE=OFF\r\n@PJL SET MEDIASOURCE=TRAY2\r\n@PJL SET OUTBIN=UPPERBIN\r\n"
                     "@PJL SET JOBATTR=\"@FILESIZE=7\""),
              std::string::npos) << h;
    EXPECT_EQ(TicketNotCarried(s.m_Ticket), L"");
    for (const auto& [fnSet, strNamed] :
         {std::pair<void (*)(JobTicket&), std::wstring>([](JobTicket& t) { t.strTray = "tray-2\r\n@PJL"; },
                                                         L"media-source=tray-2\r\n@PJL"),
          {[](JobTicket& t) { t.arrFinishings = {4}; }, L"finishings"},
          {[](JobTicket& t) { t.strPin = "1234"; }, L"job-password"}}) {
        JobSettings other;
        fnSet(other.m_Ticket);
        EXPECT_EQ(TicketNotCarried(other.m_Ticket), strNamed);
        EXPECT_EQ(ToThreadAnsi(ComposeStartPJL(other, L"A4", L"OFF", 7, L"a.pdf")).find("MEDIASOURCE"), std::string::npos);
    }
}

TEST(PJLCompose, DuplexAndColourValues)
{
    JobSettings s;
    auto has = [&](const std::string& piece) {
        return ToThreadAnsi(ComposeStartPJL(s, L"AUTO", L"OFF", 0, L"a.pdf")).find(piece) != std::string::npos;
    };
    s.m_nDuplex = 2;
    EXPECT_TRUE(has("@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=SHORTEDGE\r\n"));
    s.m_nDuplex = 7;  // any other value: off
    EXPECT_TRUE(has("@PJL SET DUPLEX=OFF\r\n@PJL SET JOBATTR"));
    EXPECT_FALSE(has("BINDING"));
    s.m_nColorMode = 5;  // anything but 1 is colour
    EXPECT_TRUE(has("COLORMODE=COLOR"));
}

TEST(PJLCompose, ZoomAndPageRangeRules)
{
    JobSettings s;
    auto header = [&] { return ToThreadAnsi(ComposeStartPJL(s, L"AUTO", L"OFF", 0, L"a.pdf")); };
    s.m_nZoom = 150;
    s.m_bFitToPage = 0;
    EXPECT_NE(header().find("\"@ZOOM=150\""), std::string::npos);
    s.m_bFitToPage = 1;
    EXPECT_NE(header().find("\"@ZOOM=0\""), std::string::npos);
    s.m_bFitToPage = 2;  // only exactly 1 means fit
    EXPECT_NE(header().find("\"@ZOOM=150\""), std::string::npos);

    s.m_nFromPage = 2;
    s.m_nToPage = 4;
    s.m_nPrintRange = 0;  // "All" ignores the edits
    EXPECT_NE(header().find("\"@FSTP=0\"\r\n@PJL SET JOBATTR=\"@LSTP=0\""), std::string::npos);
    s.m_nPrintRange = 1;
    s.m_nFromPage = s.m_nToPage = 3;
    EXPECT_NE(header().find("\"@FSTP=3\"\r\n@PJL SET JOBATTR=\"@LSTP=3\""), std::string::npos);
}

TEST(PJLCompose, LanguageFollowsTheFileTypeOfTheList)
{
    EXPECT_EQ(LanguageLineOfPath(L"C:\\docs\\a.Pdf"), L"@PJL ENTER LANGUAGE=PDF\r\n");
    EXPECT_EQ(LanguageLineOfPath(L"C:\\docs\\a.bmp"), L"@PJL ENTER LANGUAGE=BMP\r\n");
    EXPECT_EQ(LanguageLineOfPath(L"b.png"), L"@PJL ENTER LANGUAGE=PNG\r\n");
    for (const wchar_t* jpeg : {L"x.jpg", L"x.JPEG", L"x.jpe", L"x.jfif"})
        EXPECT_EQ(LanguageLineOfPath(jpeg), L"@PJL ENTER LANGUAGE=JPEG\r\n") << jpeg;
    for (const wchar_t* tiff : {L"x.tif", L"x.TIFF"})
        EXPECT_EQ(LanguageLineOfPath(tiff), L"@PJL ENTER LANGUAGE=TIFF\r\n") << tiff;
    for (const wchar_t* none : {L"x.txt", L"x", L"x.jp", L"x.pd", L"dir.pdf\\file", L"x.pdf.txt", L"x.pdf x"})
        EXPECT_EQ(LanguageLineOfPath(none), L"") << none;
}

TEST(PJLCompose, NothingFollowsTheLanguageLine)
{
    std::string h = ToThreadAnsi(ComposeStartPJL(JobSettings{}, L"AUTO", L"OFF", 0, L"x.txt"));
    // Unknown type: the FILESIZE line ends the header.
    EXPECT_EQ(h.substr(h.size() - 32), "@PJL SET JOBATTR=\"@FILESIZE=0\"\r\n");
}

TEST(PJLCompose, FileSizeOfTwoGibibytesAndMoreIsTheTrueDecimalSize)
{
    const int64_t big = (int64_t{1} << 31) + 1;
    std::string h = ToThreadAnsi(ComposeStartPJL(JobSettings{}, L"AUTO", L"OFF", big, L"big.pdf"));
    EXPECT_NE(h.find("\"@FILESIZE=2147483649\""), std::string::npos);
    h = ToThreadAnsi(ComposeStartPJL(JobSettings{}, L"AUTO", L"OFF", int64_t{5} << 32, L"big.pdf"));
    EXPECT_NE(h.find("\"@FILESIZE=21474836480\""), std::string::npos);
}

TEST_F(PJLEnvelope, MissingFileAndOverlongPathGiveFileSizeZero)
{
    EXPECT_NE(HeaderBytes(L"no_such_file_here.pdf").find("\"@FILESIZE=0\""), std::string::npos);
    EXPECT_EQ(QueryFileSizeForPJL(std::wstring(260, L'a')), 0);
}

TEST_F(PJLEnvelope, PaperKeywordsComeFromTheUIStringFile)
{
    DestroyParamMngr();
    m_ini.Parse(L"[PAPER_INFO_A4]\nNAME=DIN A4\nPJLCMD=A4PLUS\n[PAPERTYPE_INFO_NORMAL]\nPJLCMD=PLAIN\n"
                L"[PAPER_INFO_A5]\nPJLCMD=A5\x1B%-12345X@PJL SET PASSWORD=0\n[PAPERTYPE_INFO_THICK]\nPJLCMD=thick\n");
    m_pParam = CreateParamMngr();
    ApplySheetDefaults(*m_pParam);
    m_pParam->SetPaperSize(4);
    m_pParam->SetPaperType(1);
    std::string h = HeaderBytes(L"x.pdf");
    EXPECT_NE(h.find("@PJL SET PAPER=A4PLUS\r\n@PJL SET PAPERTYPE=PLAIN\r\n"), std::string::npos);
    // Anything but capitals, digits and "_" is no keyword: the built-in one stays.
    EXPECT_EQ(m_pParam->PaperSizes()[5].strPJL, L"A5");
    EXPECT_EQ(m_pParam->PaperTypes()[2].strPJL, L"THICK");
}

TEST_F(PJLEnvelope, LogsEveryPieceBetweenBanners)
{
    LogCapture log;
    SendStartPJLCommand(L"a.pdf");
    SendEndPJLCommand();
    const auto& lines = log.Lines();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[0], L"///////////////////// SendStartPJLCommand /////////////////////");
    EXPECT_EQ(lines[1], L"strColorMode : @PJL SET COLORMODE=COLOR\r\n");
    EXPECT_EQ(lines[10], L"strDataType : @PJL ENTER LANGUAGE=PDF\r\n");
    EXPECT_EQ(lines[11], lines[0]);
    EXPECT_EQ(lines[12].rfind(L"SendStartPJLCommand / strPJLCommand : \x1B%-12345X@PJL\r\n", 0), 0u);
    EXPECT_EQ(lines[13], L"SendEndPJLCommand / nResult : \x1B%-12345X");
}

TEST(UelSearch, FindsTheExitAtEveryPlaceAndNothingThatOnlyLooksLikeIt)
{
    for (const std::string strSeq : {"\x1B%-12345X", "\x1B%-12346X"}) {
        for (size_t nAt = 0; nAt + strSeq.size() <= 64; ++nAt) {
            const std::string strBytes = std::string(nAt, 'X') + strSeq + std::string(55 - nAt, 'X');
            UelSearch whole, halves;  // halves: cut inside the sequence
            halves.Feed(strBytes.data(), nAt + 4);
            EXPECT_EQ(halves.Feed(strBytes.data() + nAt + 4, 60 - nAt), strSeq[7] == '5') << nAt;
            EXPECT_EQ(whole.Feed(strBytes.data(), 64), strSeq[7] == '5') << nAt;
        }
    }
}
