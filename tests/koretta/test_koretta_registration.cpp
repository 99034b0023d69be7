// Registration of Koretta.dll through regsvr32: the registry holds exactly the server's
// entries, unregistration removes them but keeps the shared shell keys, and a second
// registration replaces the class and handler keys whole.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/koretta/koretta_test_support.h"

using namespace koretta_test;

namespace {
const std::wstring kClassKey = std::wstring(L"CLSID\\") + kClsidText;
const std::wstring kHandlerKey = std::wstring(kHandlersKey) + L"\\LumeoMenuExt";
const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + kLibidText;

class KorettaRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::make_unique<ScratchFolder>(L"koretta_reg");
        m_module = m_folder->Path() + L"Koretta.dll";
        ASSERT_TRUE(CopyFileW((BinDir() + L"Koretta.dll").c_str(), m_module.c_str(), FALSE)) << "Koretta.dll not built";
    }
    void TearDown() override
    {
        RunRegsvr32(L"/u /s", m_module);
        m_folder.reset();
    }

    void ExpectRegistered()
    {
        EXPECT_EQ(TreeOf(HKEY_CLASSES_ROOT, kClassKey), ExpectedClassTree(m_module));
        EXPECT_EQ(TreeOf(HKEY_CLASSES_ROOT, L"Koretta.ContextMenuExt.1"),
                  Sorted({L"", L"|=ContextMenuExt Class", L"CLSID", std::wstring(L"CLSID|=") + kClsidText}));
        EXPECT_EQ(TreeOf(HKEY_CLASSES_ROOT, L"Koretta.ContextMenuExt"),
                  Sorted({L"", L"|=ContextMenuExt Class", L"CLSID", std::wstring(L"CLSID|=") + kClsidText, L"CurVer",
                          L"CurVer|=Koretta.ContextMenuExt.1"}));
        EXPECT_EQ(TreeOf(HKEY_CLASSES_ROOT, kHandlerKey), Sorted({L"", std::wstring(L"|=") + kClsidText}));
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), L"Lumeo");
        EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0", nullptr), L"Koretta 1.0 Type Library");
        EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0\\0\\win64", nullptr), m_module);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + kIidText));
    }

    void ExpectUnregistered()
    {
        for (const std::wstring& key : {kClassKey, std::wstring(L"Koretta.ContextMenuExt.1"),
                                        std::wstring(L"Koretta.ContextMenuExt"), kHandlerKey, kTypeLibKey,
                                        std::wstring(L"Interface\\") + kIidText})
            EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), L"<missing>");
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*"));
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*\\ShellEx"));
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandlersKey));
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    }

    std::unique_ptr<ScratchFolder> m_folder;
    std::wstring m_module;
};

void SetString(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}
}  // namespace

TEST_F(KorettaRegistration, RegisterThenUnregisterLeavesOnlyTheSharedShellKeys)
{
    // Another extension's handler beside ours must survive our unregistration.
    SetString(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\KorettaTestNeighbour", nullptr, L"{neighbour}");

    ASSERT_EQ(RunRegsvr32(L"/s", m_module), 0u);
    ExpectRegistered();

    ASSERT_EQ(RunRegsvr32(L"/u /s", m_module), 0u);
    ExpectUnregistered();
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, std::wstring(kHandlersKey) + L"\\KorettaTestNeighbour", nullptr),
              L"{neighbour}");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(kHandlersKey) + L"\\KorettaTestNeighbour").c_str());
}

TEST_F(KorettaRegistration, SecondRegistrationReplacesClassAndHandlerKeysWhole)
{
    ASSERT_EQ(RunRegsvr32(L"/s", m_module), 0u);
    // Leftovers of an older version inside the ForceRemove keys.
    SetString(HKEY_CLASSES_ROOT, kClassKey, L"Stale", L"old");
    SetString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", nullptr, L"C:\\old\\Koretta.dll");
    SetString(HKEY_CLASSES_ROOT, kClassKey + L"\\OldSubkey", nullptr, L"old");
    SetString(HKEY_CLASSES_ROOT, kHandlerKey, L"Stale", L"old");

    ASSERT_EQ(RunRegsvr32(L"/s", m_module), 0u);
    ExpectRegistered();
}
