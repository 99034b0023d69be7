// Both installers against folders of stand-in files: every file of the one list is
// required, so a build that lacks one makes neither installer; the winget manifest names
// the built MSI's own hash and product code.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
const std::string kInstaller = std::string(LUMEO_SOURCE_DIR) + "/installer";

std::string Output(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
        text.append(buffer, n);
    if (pipe)
        pclose(pipe);
    return text.substr(0, text.find('\n'));
}

class SetupBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v makensis >/dev/null && command -v wixl >/dev/null && command -v msibuild "
                        ">/dev/null") != 0)
            GTEST_SKIP() << "makensis, wixl or msibuild is not installed";
        m_root = fs::temp_directory_path() / ("lumeo_setup_script_" + std::to_string(getpid()));
        fs::create_directories(m_root / "wix");
        std::system(("python3 '" + kInstaller + "/installers.py' wix '" + (m_root / "wix").string() + "' 1.0.0")
                        .c_str());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    // A bin folder with the named files, then both installers; whether each was made.
    std::pair<bool, bool> Build(const std::vector<std::string>& files)
    {
        fs::remove_all(m_root / "bin");
        fs::create_directories(m_root / "bin");
        for (const std::string& name : files)
            std::ofstream(m_root / "bin" / name) << "stand-in";
        fs::remove(m_root / "Setup.exe");
        fs::remove(m_root / "Setup.msi");
        const std::string exe = "makensis -V1 -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DBINDIR='" +
                                (m_root / "bin").string() + "' -DOUTFILE='" + (m_root / "Setup.exe").string() +
                                "' '" + kInstaller + "/lumeo.nsi' >/dev/null 2>&1";
        const std::string msi = "cd '" + (m_root / "bin").string() + "' && wixl -a x64 -D Version=1.0.0 -D BinDir=. -I '" +
                                (m_root / "wix").string() + "' -o ../Setup.msi '" + kInstaller +
                                "/lumeo.wxs' >/dev/null 2>&1 && python3 '" + kInstaller +
                                "/installers.py' finish ../Setup.msi";
        return {std::system(exe.c_str()) == 0 && fs::exists(m_root / "Setup.exe"),
                std::system(msi.c_str()) == 0 && fs::exists(m_root / "Setup.msi")};
    }

    fs::path m_root;
};

// The one list: names, and whether only LumeoSetup.exe places the file.
std::vector<std::pair<std::string, bool>> ListedFiles()
{
    std::vector<std::pair<std::string, bool>> files;
    std::ifstream list(kInstaller + "/files.txt");
    for (std::string line; std::getline(list, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string name, mark;
        if (words >> name)
            files.emplace_back(name, static_cast<bool>(words >> mark));
    }
    return files;
}
}  // namespace

TEST_F(SetupBuild, EveryFileOfTheListIsRequired)
{
    const auto listed = ListedFiles();
    ASSERT_GE(listed.size(), 16u);
    std::vector<std::string> all;
    for (const auto& [name, exeOnly] : listed)
        all.push_back(name);
    ASSERT_EQ(Build(all), std::make_pair(true, true));
    for (const auto& [missing, exeOnly] : listed) {
        std::vector<std::string> files;
        for (const std::string& name : all)
            if (name != missing)
                files.push_back(name);
        EXPECT_EQ(Build(files), std::make_pair(false, exeOnly)) << missing;
    }
}

TEST_F(SetupBuild, TheWingetManifestNamesTheBuiltMsi)
{
    std::vector<std::string> all;
    for (const auto& [name, exeOnly] : ListedFiles())
        all.push_back(name);
    ASSERT_TRUE(Build(all).second);
    const std::string msi = (m_root / "Setup.msi").string();
    ASSERT_EQ(std::system(("python3 '" + kInstaller + "/installers.py' winget '" + msi + "' '" +
                           (m_root / "winget").string() + "'")
                              .c_str()),
              0);
    std::ifstream in(m_root / "winget" / "Corvane.Lumeo.installer.yaml");
    const std::string manifest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string sha256 = Output("sha256sum '" + msi + "' | cut -c1-64 | tr a-f A-F");
    const std::string productCode = Output("msiinfo export '" + msi + "' Property | tr -d '\\r' | sed -n 's/^ProductCode\t//p'");
    ASSERT_EQ(sha256.size(), 64u);
    EXPECT_NE(manifest.find("InstallerSha256: " + sha256 + "\n"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("ProductCode: '" + productCode + "'\n"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("PackageVersion: 1.0.0\n"), std::string::npos);
    EXPECT_NE(manifest.find("Scope: machine\n"), std::string::npos);
}
#endif
