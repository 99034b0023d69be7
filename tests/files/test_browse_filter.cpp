#include <gtest/gtest.h>

#include "common/ini_text.h"
#include "files/browse_filter.h"
#include "files/user_messages.h"

TEST(BuildBrowseFilter, EveryTypeThePrinterTakesFirstThenEachType)
{
    const std::wstring filter = BuildBrowseFilter(31, L"files", L"All files Lumeo can print");
    const std::wstring strTypes = L"PDF files (*.PDF)|*.pdf|"
                                  L"JPEG files (*.JPG,*.JPEG,*.JPE,*.JFIF)|*.jpg;*.jpeg;*.jpe;*.jfif|"
                                  L"TIFF files (*.TIF,*.TIFF)|*.tif;*.tiff|"
                                  L"PNG files (*.PNG)|*.png|"
                                  L"BMP files (*.BMP)|*.bmp|";
    EXPECT_EQ(strTypes.size(), 176u);
    EXPECT_EQ(filter, L"All files Lumeo can print (*.PDF,*.JPG,*.JPEG,*.JPE,*.JFIF,*.TIF,*.TIFF,*.PNG,*.BMP)|"
                      L"*.pdf;*.jpg;*.jpeg;*.jpe;*.jfif;*.tif;*.tiff;*.png;*.bmp|" + strTypes);
    EXPECT_EQ(BuildBrowseFilter(1 | 8, L"Dateien", L"Alle druckbaren"),
              L"Alle druckbaren (*.PDF,*.PNG)|*.pdf;*.png|PDF Dateien (*.PDF)|*.pdf|PNG Dateien (*.PNG)|*.png|");
    for (int mask : {0, -1, -2})
        EXPECT_EQ(BuildBrowseFilter(mask, L"files", L"x"), L"All files (*.*)|*.*|");
}

TEST(FilterToDialogBuffer, TerminatorsAndTheLongestWord)
{
    const std::wstring word(259, L'w');
    const std::wstring filter = BuildBrowseFilter(31, word, word);
    const std::vector<wchar_t> buffer = FilterToDialogBuffer(filter);
    ASSERT_EQ(buffer.size(), filter.size() + 2);
    // Twelve strings (six descriptions, six patterns), then the empty one ending the list.
    std::vector<std::wstring> strings;
    size_t pos = 0;
    while (buffer[pos] != L'\0') {
        strings.emplace_back(&buffer[pos]);
        pos += strings.back().size() + 1;
    }
    ASSERT_EQ(strings.size(), 12u);
    EXPECT_EQ(strings[2], L"PDF " + word + L" (*.PDF)");
    EXPECT_EQ(strings[11], L"*.bmp");
}

TEST(SplitOpenFileSelection, OneOrSeveralFiles)
{
    const wchar_t single[] = L"C:\\docs\\a.pdf\0\0";
    EXPECT_EQ(SplitOpenFileSelection(single, 16), (std::vector<std::wstring>{L"C:\\docs\\a.pdf"}));
    const wchar_t several[] = L"C:\\docs\0b.pdf\0a.jpg\0\0";
    EXPECT_EQ(SplitOpenFileSelection(several, sizeof(several) / sizeof(wchar_t)),
              (std::vector<std::wstring>{L"C:\\docs\\b.pdf", L"C:\\docs\\a.jpg"}));
    const wchar_t unterminated[] = {L'a', L'b'};
    EXPECT_EQ(SplitOpenFileSelection(unterminated, 2), (std::vector<std::wstring>{L"ab"}));
}

TEST(UserMessages, KeysDefaultsAndLocalizedTexts)
{
    ASSERT_NE(UserMessageOfCode(1), nullptr);
    EXPECT_STREQ(UserMessageOfCode(3)->key, L"IDL_MESSAGE_NOPRINTER");
    EXPECT_STREQ(UserMessageOfCode(7)->key, L"IDL_MESSAGE_INVALIDPRNRANGE");
    EXPECT_EQ(UserMessageOfCode(0), nullptr);
    EXPECT_EQ(UserMessageOfCode(8), nullptr);
    EXPECT_EQ(GetUserMessageText(2),
              L"The selected printer does not support this program. Please, select the appropriate printer.");
    CIniText ini(L"[ERROR_MSG]\nIDL_MESSAGE_BUSYOROFF=Besetzt\n[UI_SHEET]\nIDL_TITLE=Lumeo DE\n");
    SetUITextSource(&ini);
    EXPECT_EQ(GetUserMessageText(4), L"Besetzt");
    EXPECT_EQ(GetUserMessageTitle(), L"Lumeo DE");
    EXPECT_EQ(GetUserMessageText(1), L"Not support the file format");
    SetUITextSource(nullptr);
}
