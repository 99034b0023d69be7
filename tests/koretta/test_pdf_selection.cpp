// Which selected items the "Lumeo" command takes, and how they reach Lumeo's command line.
#include <gtest/gtest.h>

#include "context_menu/pdf_selection.h"

TEST(PdfSelection, ExtensionIsTheFileNamePartFromTheLastDot)
{
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\report.PDF"), L".PDF");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\archive.tar.gz"), L".gz");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\name ending."), L".");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\My.Folder\\Docs"), L"");  // a dot of a parent folder does not count
    EXPECT_EQ(ExtensionOfFileName(L"Docs"), L"");
}

TEST(PdfSelection, OnlyAWholePdfExtensionIsAdmittedInAnyCase)
{
    EXPECT_TRUE(IsAdmittedExtension(L".pdf"));
    EXPECT_TRUE(IsAdmittedExtension(L".PDF"));
    EXPECT_TRUE(IsAdmittedExtension(L".Pdf"));
    // Parts of ".pdf/" are other types, not PDF files.
    for (const wchar_t* other : {L".pd", L".p", L".", L"pdf", L".pdf/", L"/", L".df", L".pdfx", L".txt", L""})
        EXPECT_FALSE(IsAdmittedExtension(other)) << std::string(other, other + wcslen(other));
}

TEST(PdfSelection, ParametersQuoteEveryPathAfterABlank)
{
    EXPECT_EQ(ComposeLumeoParameters({}), L"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\a.pdf"}), L" \"C:\\a.pdf\"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\My Docs\\a.pdf", L"D:\\b c.PDF"}),
              L" \"C:\\My Docs\\a.pdf\" \"D:\\b c.PDF\"");
}
