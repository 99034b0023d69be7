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

TEST(PdfSelection, OnlyANameEndingInPdfIsAdmittedInAnyCase)
{
    for (const wchar_t* pdf : {L"C:\\a.pdf", L"C:\\a.PDF", L"x.Pdf", L".pdf"})
        EXPECT_TRUE(EndsInPdf(pdf));
    // Parts of ".pdf/" are other types, not PDF files.
    for (const wchar_t* other : {L"a.pd", L"a.p", L"a.", L"apdf", L"a.pdf/", L"/", L"a.df", L"a.pdfx", L"a.txt", L""})
        EXPECT_FALSE(EndsInPdf(other)) << std::string(other, other + wcslen(other));
}

// A drop block as the shell builds it: the header, then the names in 16-bit or 8-bit units.
std::string DropBlock(uint32_t nOffset, bool bWide, const std::u16string& names)
{
    std::string block(20, '\0');
    for (int i = 0; i < 4; ++i)
        block[i] = static_cast<char>(nOffset >> (8 * i));
    block[16] = bWide;
    for (char16_t c : names) {
        block += static_cast<char>(c & 0xFF);
        if (bWide)
            block += static_cast<char>(c >> 8);
    }
    return block;
}

std::vector<std::u16string> NamesOf(const std::string& block)
{
    DropList list(block.data(), block.size());
    std::vector<std::u16string> names;
    const unsigned char* pName = nullptr;
    for (size_t nChars = 0; list.Next(pName, nChars);) {
        std::u16string name;
        for (size_t i = 0; i < nChars; ++i)
            name += list.IsWide() ? static_cast<char16_t>(pName[2 * i] | (pName[2 * i + 1] << 8)) : pName[i];
        names.push_back(name);
    }
    return names;
}

TEST(PdfSelection, DropListIsReadInOnePassAndNeverPastTheBlock)
{
    using namespace std::string_literals;
    using Names = std::vector<std::u16string>;
    EXPECT_EQ(NamesOf(DropBlock(20, true, u"C:\\a.pdf\0D:\\\u00e9.txt\0\0"s)), (Names{u"C:\\a.pdf", u"D:\\\u00e9.txt"}));
    EXPECT_EQ(NamesOf(DropBlock(20, false, u"a.pdf\0b\0\0"s)), (Names{u"a.pdf", u"b"}));
    EXPECT_EQ(NamesOf(DropBlock(20, true, u"a.pdf\0\0b.pdf\0\0"s)), Names{u"a.pdf"});  // the list ends at its empty name
    // Hostile blocks: a last name without its null, names outside the block or inside its header.
    EXPECT_EQ(NamesOf(DropBlock(20, true, u"a.pdf\0b.pdf"s)), Names{u"a.pdf"});
    EXPECT_EQ(NamesOf(DropBlock(20, true, u""s) + '\0'), Names{});
    EXPECT_EQ(NamesOf(DropBlock(4000, true, u"a.pdf\0\0"s)), Names{});
    EXPECT_EQ(NamesOf(DropBlock(8, true, u"a.pdf\0\0"s)), Names{});
    EXPECT_EQ(NamesOf(std::string(12, '\0')), Names{});
}

TEST(PdfSelection, ParametersQuoteEveryPathAfterABlank)
{
    EXPECT_EQ(ComposeLumeoParameters({}), L"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\a.pdf"}), L" \"C:\\a.pdf\"");
    EXPECT_EQ(ComposeLumeoParameters({L"C:\\My Docs\\a.pdf", L"D:\\b c.PDF"}),
              L" \"C:\\My Docs\\a.pdf\" \"D:\\b c.PDF\"");
}
