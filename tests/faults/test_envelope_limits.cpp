// The PJL header of files at the edges of what a path and a size can be: paths of 259
// and of 260 characters and more, files of 2 GiB + 1 and 4 GiB + 1 bytes (sparse).
#include <gtest/gtest.h>

#include "common/ansi_text.h"
#include "job/spooler/pjl_envelope.h"
#include "tests/faults/sized_file.h"

namespace {
std::string Header(const std::wstring& path) { return ToThreadAnsi(SendStartPJLCommand(path)); }

std::string FileSizeLine(int64_t n) { return "@PJL SET JOBATTR=\"@FILESIZE=" + std::to_string(n) + "\"\r\n"; }
}  // namespace

TEST(EnvelopeLimits, PathOf259CharactersIsMeasured)
{
    SizedFile file(259, 4097);
    ASSERT_TRUE(file.Made());
    ASSERT_EQ(file.Path().size(), 259u);
    EXPECT_EQ(QueryFileSizeForPJL(file.Path()), 4097);
    const std::string h = Header(file.Path());
    EXPECT_NE(h.find(FileSizeLine(4097)), std::string::npos);
    EXPECT_NE(h.find("@PJL ENTER LANGUAGE=PDF\r\n"), std::string::npos);
}

TEST(EnvelopeLimits, PathsOf260CharactersAndMoreCountAsNotFound)
{
    for (size_t n : {260u, 261u, 300u, 1000u}) {
        SizedFile file(n, 4097);
        ASSERT_TRUE(file.Made()) << n;
        ASSERT_EQ(file.Path().size(), n);
        EXPECT_EQ(QueryFileSizeForPJL(file.Path()), 0) << n;
        const std::string h = Header(file.Path());
        EXPECT_NE(h.find(FileSizeLine(0)), std::string::npos) << n;
        // The rest of the header is whole: the language still follows the extension.
        EXPECT_EQ(h.substr(h.size() - 25), "@PJL ENTER LANGUAGE=PDF\r\n") << n;
    }
}

TEST(EnvelopeLimits, FilesBeyond2And4GiBKeepTheirWholeSize)
{
    for (int64_t size : {(int64_t{1} << 31) - 1, (int64_t{1} << 31) + 1, (int64_t{1} << 32) + 1}) {
        SizedFile file(80, size, L".jpg");
        ASSERT_TRUE(file.Made()) << size;
        EXPECT_EQ(QueryFileSizeForPJL(file.Path()), size);
        const std::string h = Header(file.Path());
        EXPECT_NE(h.find(FileSizeLine(size)), std::string::npos) << size;
        EXPECT_NE(h.find("@PJL ENTER LANGUAGE=JPEG\r\n"), std::string::npos);
    }
}
