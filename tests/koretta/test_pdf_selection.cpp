// Which selected items the "Lumeo" command takes, and how they reach Lumeo's command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "context_menu/pdf_selection.h"

TEST(PdfSelection, ExtensionIsTheFileNamePartFromTheLastDot)
{
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\report.PDF"), L".PDF");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\archive.tar.gz"), L".gz");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\Docs\\name ending."), L".");
    EXPECT_EQ(ExtensionOfFileName(L"C:\\My.Folder\\Docs"), L"");  // a dot of a parent folder does not count
    EXPECT_EQ(ExtensionOfFileName(L"Docs"), L"");
}

TEST(PdfSelection, OnlyANameEndingInPdfIsAdmittedInAnyCase)
{
    for (const wchar_t* pdf : {L"C:\\a.pdf", L"C:\\a.PDF", L"x.Pdf", L".pdf"})
        EXPECT_TRUE(EndsInPdf(pdf));
    // Parts of ".pdf/" are other types, not PDF files.
    for (const wchar_t* other : {L"a.pd", L"a.p", L"a.", L"apdf", L"a.pdf/", L"/", L"a.df", L"a.pdfx", L"a.txt", L""})
        EXPECT_FALSE(EndsInPdf(other)) << std::string(other, other + wcslen(other));
}

// What DropList reads from a block the shell would build: a header naming nOffset, then the
// names in 16 or 8 bits each, the block cut to nBytes when given. Names end in '|'.
std::u16string NamesIn(uint32_t nOffset, bool bWide, const std::u16string& names, size_t nBytes = SIZE_MAX)
{
    std::string block(20, '\0');
    std::memcpy(block.data(), &nOffset, 4);
    block[16] = bWide;
    for (char16_t c : names)
        block += bWide ? std::string{static_cast<char>(c), static_cast<char>(c >> 8)} : std::string(1, char(c));
    DropList list(block.data(), std::min(nBytes, block.size()));
    std::u16string read;
    const unsigned char* p = nullptr;
    for (size_t nChars = 0; list.Next(p, nChars); read += u'|')
        for (size_t i = 0; i < nChars; ++i)
            read += bWide ? static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8)) : p[i];
    return read;
}

TEST(PdfSelection, DropListIsReadInOnePassAndNeverPastTheBlock)
{
    using namespace std::string_literals;
    EXPECT_EQ(NamesIn(20, true, u"C:\\a.pdf\0D:\\\u00e9.txt\0\0"s), u"C:\\a.pdf|D:\\\u00e9.txt|");
    EXPECT_EQ(NamesIn(20, false, u"a.pdf\0b\0\0"s), u"a.pdf|b|");
    EXPECT_EQ(NamesIn(20, true, u"a.pdf\0\0b.pdf\0\0"s), u"a.pdf|");  // the list ends at its empty name
    // Hostile blocks: a last name without its null, half a character, names outside the block or in its header.
    EXPECT_EQ(NamesIn(20, true, u"a.pdf\0b.pdf"s), u"a.pdf|");
    EXPECT_EQ(NamesIn(20, true, u"a\0\0"s, 23), u"");
    EXPECT_EQ(NamesIn(4000, true, u"a.pdf\0\0"s), u"");
    EXPECT_EQ(NamesIn(8, true, u"a.pdf\0\0"s), u"");
    EXPECT_EQ(NamesIn(20, true, u"a.pdf\0\0"s, 12), u"");
}

TEST(PdfSelection, ParametersQuoteEveryPathAfterABlank)
{
    EXPECT_EQ(ComposeLumeoParameters({}), L"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\a.pdf"}), L" \"C:\\a.pdf\"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\My Docs\\a.pdf", L"D:\\b c.PDF"}),
              L" \"C:\\My Docs\\a.pdf\" \"D:\\b c.PDF\"");
}
