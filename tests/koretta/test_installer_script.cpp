// The setup script against folders of stand-in files: the product's own files are
// required, so a build that lacks one of them makes no setup at all.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

class SetupBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v makensis >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "makensis is not installed";
        m_root = fs::temp_directory_path() / ("lumeo_setup_script_" + std::to_string(getpid()));
        fs::create_directories(m_root / "bin");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    // A bin folder with the named files, then makensis; true when it made the setup.
    bool Build(const std::vector<std::string>& files)
    {
        fs::remove_all(m_root / "bin");
        fs::create_directories(m_root / "bin");
        for (const std::string& name : files)
            std::ofstream(m_root / "bin" / name) << "stand-in";
        const fs::path setup = m_root / "Setup.exe";
        fs::remove(setup);
        const std::string command = "makensis -V1 -INPUTCHARSET UTF8 -DBINDIR='" + (m_root / "bin").string() +
                                    "' -DOUTFILE='" + setup.string() + "' '" + LUMEO_SOURCE_DIR +
                                    "/installer/lumeo.nsi' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 && fs::exists(setup);
    }

    fs::path m_root;
};

const std::vector<std::string> kProductFiles = {
    "Koretta.dll",  "Lumeo.exe",    "LumeoCmd.exe", "vnMUIDLL.dll", "Uninstall.exe", "Lumeo.Ver",
    "LOCAL_EN.dat", "LOCAL_FN.dat", "LOCAL_GR.dat", "LOCAL_JP.dat", "LOCAL_KR.dat",  "HELP_EN.chm",
    "HELP_FN.chm",  "HELP_GR.chm",  "HELP_JP.chm",  "HELP_KR.chm"};
}  // namespace

TEST_F(SetupBuild, EveryFileOfTheProductIsRequired)
{
    ASSERT_TRUE(Build(kProductFiles));
    for (const std::string& missing : kProductFiles) {
        std::vector<std::string> files;
        for (const std::string& name : kProductFiles)
            if (name != missing)
                files.push_back(name);
        EXPECT_FALSE(Build(files)) << missing;
    }
}
#endif
