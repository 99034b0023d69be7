// Both installers against folders of stand-in files: the product's own files are required,
// so a build that lacks one of them makes neither; the winget manifest names the built MSI.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>
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
        if (std::system("{ command -v makensis && command -v wixl && command -v msibuild; } >/dev/null") != 0)
            GTEST_SKIP() << "makensis, wixl or msibuild is not installed";
        m_root = fs::temp_directory_path() / ("lumeo_setup_script_" + std::to_string(getpid()));
        fs::create_directories(m_root / "bin");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    // A bin folder with the named files, then makensis and wixl: whether each made its installer.
    std::pair<bool, bool> Build(const std::vector<std::string>& files)
    {
        fs::remove_all(m_root / "bin");
        fs::create_directories(m_root / "bin");
        for (const std::string& name : files)
            std::ofstream(m_root / "bin" / name) << "stand-in";
        const fs::path setup = m_root / "Setup.exe";
        fs::remove(setup);
        const std::string command = "makensis -V1 -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DBINDIR='" +
                                    (m_root / "bin").string() +
                                    "' -DOUTFILE='" + setup.string() + "' '" + LUMEO_SOURCE_DIR +
                                    "/installer/lumeo.nsi' >/dev/null 2>&1";
        const std::string msi = "cd " + m_root.string() + " && python3 " + kScript + " wix . 1.0.0 && cd bin && " +
                                "wixl -a x64 -D Version=1.0.0 -D BinDir=. -I .. -o ../Setup.msi " + LUMEO_SOURCE_DIR +
                                "/installer/lumeo.wxs 2>/dev/null && python3 " + kScript + " finish ../Setup.msi";
        return {std::system(command.c_str()) == 0 && fs::exists(setup), std::system(msi.c_str()) == 0};
    }
    const std::string kScript = LUMEO_SOURCE_DIR "/installer/installers.py";

    fs::path m_root;
};

const std::vector<std::string> kProductFiles = {
    "LumeoSetupHelper.dll", "Koretta.dll",  "Lumeo.exe",    "LumeoCmd.exe", "vnMUIDLL.dll", "Uninstall.exe", "Lumeo.Ver",
    "LOCAL_EN.dat", "LOCAL_FN.dat", "LOCAL_GR.dat", "LOCAL_JP.dat", "LOCAL_KR.dat",  "HELP_EN.chm",
    "HELP_FN.chm",  "HELP_GR.chm",  "HELP_JP.chm",  "HELP_KR.chm"};
}  // namespace

TEST_F(SetupBuild, EveryFileOfTheProductIsRequiredAndTheManifestNamesTheMsi)
{
    ASSERT_EQ(Build(kProductFiles), std::make_pair(true, true));
    // The winget manifest's lines for the hash and the product code, as the MSI's own tools read them.
    const std::string msi = (m_root / "Setup.msi").string();
    ASSERT_EQ(std::system(("python3 " + kScript + " winget " + msi + " " + (m_root / "winget").string()).c_str()), 0);
    std::ifstream in(m_root / "winget" / "Corvane.Lumeo.installer.yaml");
    const std::string manifest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string expected =
        "sha256sum " + msi + " | awk '{print \"  InstallerSha256: \" toupper($1)}'; msiinfo export " + msi +
        " Property | tr -d '\\r' | awk -F'\\t' '$1==\"ProductCode\" {print \"ProductCode: '\\''\" $2 \"'\\''\"}'";
    FILE* pipe = popen(expected.c_str(), "r");
    char line[256];
    int nLines = 0;
    for (; fgets(line, sizeof(line), pipe); ++nLines)
        EXPECT_NE(manifest.find(line), std::string::npos) << line << manifest;
    EXPECT_EQ(pclose(pipe) == 0 ? nLines : -1, 2);
    // What Windows reads of the built MSI: the folder lock under its real column names, the
    // properties a user may pass to an elevated installation, Koretta's registration a feature of its own.
    auto table = [&](const std::string& name) {
        FILE* out = popen(("msiinfo export " + msi + " " + name + " | tr -d '\\r'").c_str(), "r");
        std::string text;
        for (char buffer[512]; fgets(buffer, sizeof(buffer), out);)
            text += buffer;
        pclose(out);
        return text;
    };
    // Written out, not the generator's constant: a change to that constant must show here.
    const std::string lock = table("MsiLockPermissionsEx");
    EXPECT_TRUE(lock.starts_with("MsiLockPermissionsEx\tLockObject\tTable\tSDDLText\tCondition\n")) << lock;
    EXPECT_NE(lock.find("\nProgramFolder\tINSTALLFOLDER\tCreateFolder\t"
                        "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)\t\n"),
              std::string::npos) << lock;
    const std::string properties = table("Property");
    const size_t secure = properties.find("\nSecureCustomProperties\t");
    ASSERT_NE(secure, std::string::npos);
    EXPECT_EQ(properties.substr(secure, properties.find('\n', secure + 1) - secure),
              "\nSecureCustomProperties\tWIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;LANGUAGE;CONTEXTMENU");
    EXPECT_NE(table("FeatureComponents").find("\nContextMenu\tKorettaRegistration\n"), std::string::npos);
    for (const std::string& missing : kProductFiles) {
        std::vector<std::string> files;
        for (const std::string& name : kProductFiles)
            if (name != missing)
                files.push_back(name);
        // The MSI has its own uninstall.
        EXPECT_EQ(Build(files), std::make_pair(false, missing == "Uninstall.exe")) << missing;
    }
}
#endif
