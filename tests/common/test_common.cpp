#include <gtest/gtest.h>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/folder_rights.h"
#include "common/ini_text.h"
#include "common/printable_text.h"
#include "common/ui_text.h"
#include "common/wide_format.h"
#include "files/file_types.h"
#include "tests/support/log_capture.h"

TEST(DebugLog, WritesOnlyWhenTheSwitchIsOn)
{
    {
        LogCapture log(0);
        DebugLog(L"hidden %d", 1);
        DebugLogAlways(L"shown %d", 2);
        EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"shown 2"});
    }
    {
        LogCapture log(0x10000 >> 4);  // any non-zero value
        DebugLog(L"PortName is %s", L"USB001");
        EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"PortName is USB001"});
    }
}

TEST(DebugLog, CutsAtTheBufferAndAddsNothing)
{
    LogCapture log;
    std::wstring longText(3000, L'y');
    DebugLog(L"%s", longText.c_str());
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], std::wstring(1023, L'y'));
}

TEST(WideFormat, UsesTheWindowsMeaningOfStringConversions)
{
    EXPECT_EQ(FormatWide(64, L"[%s] [%S] %d%%", L"wide", "narrow", 42), L"[wide] [narrow] 42%");
    EXPECT_EQ(FormatWide(64, L"%-5s|%3d", L"ab", 7), L"ab   |  7");
    EXPECT_EQ(FormatWide(4, L"%s", L"abcdef"), L"abc");
}

TEST(UIText, DefaultsMissingKeysEmptyValuesAndCut)
{
    CIniText ini(L"\xFEFF[UI_SHEET]\r\nIDL_TITLE = Lumeo Deutsch \r\nIDL_OK=\r\n[ERROR_MSG]\r\nLONG=" +
                 std::wstring(400, L'z') + L"\r\n");
    SetUITextSource(&ini);
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), L"Lumeo Deutsch");
    EXPECT_EQ(GetUIText(L"ui_sheet", L"idl_title", L"Lumeo"), L"Lumeo Deutsch");  // names ignore case
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_OK", L"OK"), L"");
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_HELP", L"Help"), L"Help");
    EXPECT_EQ(GetUIText(L"NOSECTION", L"X", L"dflt"), L"dflt");
    EXPECT_EQ(GetUIText(L"ERROR_MSG", L"LONG", L""), std::wstring(259, L'z'));
    SetUITextSource(nullptr);
}

TEST(UIText, IntegersReadLikeTheProfileReader)
{
    CIniText ini(L"[P]\nA=210\nB= -12x\nC=abc\nD=\n");
    SetUITextSource(&ini);
    EXPECT_EQ(GetUIInt(L"P", L"A", 1), 210);
    EXPECT_EQ(GetUIInt(L"P", L"B", 1), -12);
    EXPECT_EQ(GetUIInt(L"P", L"C", 1), 0);
    EXPECT_EQ(GetUIInt(L"P", L"MISSING", 33), 33);
    SetUITextSource(nullptr);
}

TEST(UIText, NoFileGivesTheBuiltInDefault)
{
    g_szUIFileName[0] = L'\0';
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), L"Lumeo");
    EXPECT_EQ(GetUIInt(L"PAPER_INFO_A4", L"WIDTH_MM", 210), 210);
}

TEST(AnsiText, AsciiRoundTrips)
{
    EXPECT_EQ(ToThreadAnsi(L"@PJL SET PAPER=A4\r\n"), "@PJL SET PAPER=A4\r\n");
    EXPECT_EQ(FromAnsi("MFG:X;CMD:PDF,JPEG;"), L"MFG:X;CMD:PDF,JPEG;");
}

TEST(FileTypes, AdmissionListsAndWholeEntryMatch)
{
    EXPECT_EQ(AdmissionListOfMask(31), L".pdf/.jpg/.jpeg/.jpe/.jfif/.tif/.tiff/.png/.bmp/");
    EXPECT_EQ(AdmissionListOfMask(3), L".pdf/.jpg/.jpeg/.jpe/.jfif/");
    EXPECT_EQ(AdmissionListOfMask(0), L"");
    EXPECT_EQ(AdmissionListOfMask(-1), L"");
    EXPECT_EQ(AdmissionListOfMask(-2), L"");
    EXPECT_EQ(FileTypeOfExtension(L".PDF"), kTypePDF);
    EXPECT_EQ(FileTypeOfExtension(L".Jfif"), kTypeJPEG);
    EXPECT_EQ(FileTypeOfExtension(L".jp"), 0);
    EXPECT_EQ(FileTypeOfExtension(L".pe"), 0);  // inside ".jpe/" but not a whole entry
    EXPECT_EQ(FileTypeOfExtension(L"."), 0);
    EXPECT_EQ(FileTypeOfExtension(L""), 0);
    EXPECT_EQ(PathExtension(L"C:\\a.b\\report.PDF"), L".PDF");
    EXPECT_EQ(PathExtension(L"C:\\a.b\\report"), L"");
    EXPECT_EQ(PathExtension(L"report.pdf copy"), L"");
}

TEST(PrintableText, ControlCharactersAreReplacedAndEverythingElseIsKept)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"MFG:Osmira;CMD:PDF;", L"MFG:Osmira;CMD:PDF;"},
        {std::wstring(L"a\0b", 3), L"a\xFFFD" L"b"},
        {L"\x1B[2J\r\nVerdict\t\x7F\x85\x9F", L"\xFFFD[2J\xFFFD\xFFFDVerdict\xFFFD\xFFFD\xFFFD\xFFFD"},
        {L"x\x202E" L"fdp.exe\x2066\x2069\x200E\x200F\x061C\x2028\x2029", L"x\xFFFD" L"fdp.exe" + std::wstring(7, L'\xFFFD')},
        {L"\x00A0\x00DC" L"bersicht \x65E5\x672C \x2030\x2065\x206A ~", L"\x00A0\x00DC" L"bersicht \x65E5\x672C \x2030\x2065\x206A ~"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(PrintableText(text), expected) << text.size();
}

TEST(FolderRights, OnlyAdministratorsAndTheSystemMayChangeAFolder)
{
    const wchar_t* const kAdmin = L"S-1-5-21-1-2-3-1001";  // an administrator's own account
    const struct {
        std::wstring_view sddl;
        const wchar_t* pszAdministrator;
        bool bSafe;
    } kCases[] = {
        {kProtectedFolderSddl, L"", true},
        // A drive's root: users may add folders, and Modify passes on to new ones only.
        {L"O:SYG:SYD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)", L"",
         true},
        // A folder made straight under it inherits that Modify.
        {L"O:BAD:AI(A;ID;0x1301bf;;;AU)(A;OICIID;FA;;;BA)", L"", false},
        {L"O:BAD:(A;;SD;;;BU)", L"", false},                           // delete or rename it
        {L"O:BAD:(A;;DT;;;AU)", L"", false},                           // its entries
        {L"O:BAD:(A;;WD;;;WD)", L"", false},                           // its rights
        {L"O:BAD:(A;;WO;;;BU)", L"", false},                           // take it over
        {L"O:BAD:(A;CI;0x2;;;BU)", L"", false},                        // write into it
        {L"O:S-1-5-21-1-2-3-1001D:(A;;FR;;;SY)", L"", false},          // owned by a user
        {L"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;0x1200a9;;;WD)", kAdmin, true},
        {L"O:BAD:(A;OICI;0x1301ff;;;WD)", kAdmin, false},
        {L"O:BAD:(D;;FA;;;BU)(A;;0x1200a9;;;BU)(A;;FA;;;S-1-5-18)", L"", true},
        {L"O:BAG:SYD:P(A;OICI;FA;;;SY)S:(ML;;NW;;;HI)", L"", true},
        {L"O:BAD:NO_ACCESS_CONTROL", L"", false},                      // a null DACL
        {L"O:BA", L"", false},                                         // no DACL read
        {L"", L"", false},
        {L"O:BAD:(A;;QQ;;;BU)", L"", false},                           // rights not understood
        {L"O:BAD:(A;;0x1200a9;;;BU", L"", false},                      // cut
        {L"O:BAD:(XU;;FA;;;BU)", L"", false},                          // a kind not understood
    };
    for (const auto& test : kCases)
        EXPECT_EQ(OnlyAdministratorsMayChange(test.sddl, test.pszAdministrator), test.bSafe)
            << std::string(test.sddl.begin(), test.sddl.end());
    // In the program folder itself a subfolder users may add is one it may load from.
    const std::wstring_view kAddFolder = L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x1200ad;;;BU)";
    EXPECT_TRUE(OnlyAdministratorsMayChange(kAddFolder));
    EXPECT_FALSE(OnlyAdministratorsMayChange(kAddFolder, L"", true));
    EXPECT_TRUE(OnlyAdministratorsMayChange(kProtectedFolderSddl, L"", true));
}
