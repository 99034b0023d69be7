#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "files/admission.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_file.h"

TEST(IsExtensionAdmitted, MaskDecidesTheTypes)
{
    EXPECT_TRUE(IsExtensionAdmitted(L".PDF", 3));
    EXPECT_TRUE(IsExtensionAdmitted(L".Jfif", 3));
    EXPECT_FALSE(IsExtensionAdmitted(L".tif", 3));
    EXPECT_FALSE(IsExtensionAdmitted(L".png", 3));
    EXPECT_TRUE(IsExtensionAdmitted(L".tiff", 4));
    EXPECT_TRUE(IsExtensionAdmitted(L".bmp", 31));
}

TEST(IsExtensionAdmitted, WholeEntriesOnly)
{
    // A missing or partial extension is no listed type.
    EXPECT_FALSE(IsExtensionAdmitted(L"", 31));
    EXPECT_FALSE(IsExtensionAdmitted(L".jp", 31));
    EXPECT_FALSE(IsExtensionAdmitted(L".pd", 31));
    EXPECT_FALSE(IsExtensionAdmitted(L".", 31));
    EXPECT_FALSE(IsExtensionAdmitted(L".pdf/", 31));
    EXPECT_FALSE(IsExtensionAdmitted(L".lnk", 31));
}

TEST(IsExtensionAdmitted, NoPrinterStateAdmitsAnything)
{
    for (int mask : {0, -1, -2}) {
        EXPECT_FALSE(IsExtensionAdmitted(L".pdf", mask));
        EXPECT_FALSE(IsExtensionAdmitted(L"", mask));
    }
}

TEST(ValidatePathname, FileStatusAndExtension)
{
    TempFile pdf("adm_report.PDF", "%PDF-");
    TempFile jfif("adm_photo.Jfif", "\xFF\xD8\xFF");
    TempFile tif("adm_scan.tif", "x");
    TempFile bare("adm_noext", "x");
    TempFile partial("adm_x.jp", "x");
    EXPECT_TRUE(ValidatePathname(pdf.Path(), 3));
    EXPECT_TRUE(ValidatePathname(jfif.Path(), 3));
    EXPECT_FALSE(ValidatePathname(tif.Path(), 3));
    EXPECT_FALSE(ValidatePathname(bare.Path(), 31));
    EXPECT_FALSE(ValidatePathname(partial.Path(), 31));
    EXPECT_FALSE(ValidatePathname(pdf.Path(), 0));
    EXPECT_FALSE(ValidatePathname(pdf.Path(), -1));
    EXPECT_FALSE(ValidatePathname(pdf.Path(), -2));
}

TEST(ValidatePathname, RefusesWhatIsNoRegularFile)
{
    const auto folder = std::filesystem::temp_directory_path() / "lumeo_test_folder.pdf";
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(ValidatePathname(folder.wstring(), 31));
    std::filesystem::remove(folder);
    EXPECT_FALSE(ValidatePathname(L"", 31));
    EXPECT_FALSE(ValidatePathname((std::filesystem::temp_directory_path() / "lumeo_missing.pdf").wstring(), 31));
    TempFile pdf("adm_wild.pdf", "x");
    const std::wstring wild = pdf.Path().substr(0, pdf.Path().size() - 5) + L"?.pdf";
    EXPECT_FALSE(ValidatePathname(wild, 31));
}

TEST(ValidatePathname, LogsItsDecision)
{
    TempFile pdf("adm_logged.pdf", "%PDF-1.7");
    LogCapture log;
    ValidatePathname(pdf.Path(), 1);
    EXPECT_TRUE(log.Contains(L"ValidatePathname / strFileExt : .pdf"));
    EXPECT_TRUE(log.Contains(L"ValidatePathname / strFileExtFilter : .pdf/"));
    EXPECT_TRUE(log.Contains(L"ValidatePathname / bValid : 1"));
}

TEST(ValidatePathname, FirstBytesMustBeThoseOfTheType)
{
    using Case = std::tuple<const char*, std::string, bool>;
    for (const auto& [pszName, strBytes, bAdmitted] :
         {Case{"sig.pdf", std::string(1019, ' ') + "%PDF-", true}, Case{"sig.jpg", "\xFF\xD8\xFF", true},
          Case{"late.pdf", std::string(1020, ' ') + "%PDF-", false}, Case{"sig.tif", std::string("II*\0", 4), true},
          Case{"sig.tiff", std::string("MM\0*", 4), true}, Case{"sig.png", "\x89PNG\r\n\x1A\n", true},
          Case{"cut.png", "\x89PNG\r\n", false}, Case{"sig.bmp", "BM", true}, Case{"pdf.bmp", "%PDF-1.4", false}})
        EXPECT_EQ(ValidatePathname(TempFile(pszName, strBytes).Path(), 31), bAdmitted) << pszName;
}

TEST(DropRefusalMessage, ByPrinterState)
{
    EXPECT_EQ(DropRefusalMessage(-1), 4);
    EXPECT_EQ(DropRefusalMessage(-2), 3);
    EXPECT_EQ(DropRefusalMessage(0), 1);
    EXPECT_EQ(DropRefusalMessage(31), 1);
}
