// The admission gate at the 260-character bound, on a system that opens any length:
// the file list and the print run hold 259 characters, so a longer path is refused
// even though the file is there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "files/admission.h"

namespace {
class DeepFiles {
public:
    DeepFiles() : m_root("/tmp/lumeo_len_" + std::to_string(getpid()))
    {
        std::filesystem::path dir = m_root;
        for (char c = 'a'; c < 'h'; ++c)
            dir /= std::string(40, c);
        std::filesystem::create_directories(dir);
        m_deepest = dir.string();
    }
    ~DeepFiles()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    // An existing file whose path is nChars characters long.
    std::wstring Make(size_t nChars, const std::string& strExt)
    {
        std::string strDir = m_deepest;
        while (strDir.size() + 1 + strExt.size() >= nChars)
            strDir = std::filesystem::path(strDir).parent_path().string();
        const std::string strPath = strDir + "/" + std::string(nChars - strDir.size() - 1 - strExt.size(), 'f') + strExt;
        std::ofstream(strPath) << "%PDF-";
        return std::wstring(strPath.begin(), strPath.end());
    }

private:
    std::string m_root;
    std::string m_deepest;
};
}  // namespace

TEST(ValidatePathnameLength, TwoHundredFiftyNineCharactersIsTheLongestAdmittedPath)
{
    DeepFiles files;
    const std::wstring str259 = files.Make(259, ".pdf");
    ASSERT_EQ(str259.size(), 259u);
    EXPECT_TRUE(ValidatePathname(str259, 1));
    for (size_t nChars : {size_t{260}, size_t{261}, size_t{330}}) {
        const std::wstring strPath = files.Make(nChars, ".pdf");
        ASSERT_EQ(strPath.size(), nChars);
        ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(strPath)));
        EXPECT_FALSE(ValidatePathname(strPath, 31)) << nChars;
    }
}
