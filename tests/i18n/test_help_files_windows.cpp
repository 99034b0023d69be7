// The compiled help files open through the platform's CHM storage (the storage the HTML
// Help viewer reads) and hold every page of their language unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "tests/i18n/lang_file_entries.h"
#include "tests/i18n/program_folder.h"

// The CHM storage of the platform (itss), the reader behind the HTML Help viewer. Declared
// outside the unnamed namespace: a class of internal linkage without overriders would let
// the compiler treat its calls as unreachable.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {
const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

// The bytes of one file inside a .chm, or nothing when it cannot be read.
std::string ReadFromChm(const std::wstring& chm, const std::wstring& inner)
{
    IITStorage* pStorages = nullptr;
    if (FAILED(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                reinterpret_cast<void**>(&pStorages))))
        return {};
    IStorage* pStorage = nullptr;
    pStorages->StgOpenStorage(chm.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &pStorage);
    pStorages->Release();
    if (!pStorage)
        return {};
    std::string bytes;
    IStream* pStream = nullptr;
    if (SUCCEEDED(pStorage->OpenStream(inner.c_str(), nullptr, STGM_READ, 0, &pStream)) && pStream) {
        char buffer[4096];
        ULONG nRead = 0;
        while (SUCCEEDED(pStream->Read(buffer, sizeof(buffer), &nRead)) && nRead > 0)
            bytes.append(buffer, nRead);
        pStream->Release();
    }
    pStorage->Release();
    return bytes;
}
}  // namespace

TEST(HelpFilesWindows, EveryLanguageHoldsItsPagesAndContents)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const std::filesystem::path helpSources = std::filesystem::path(LUMEO_SOURCE_DIR) / "resources" / "help";
    for (const std::string& code : ShippedLanguages()) {
        const std::wstring chm = WinePath((std::string(LUMEO_BIN_DIR) + "/HELP_" + code + ".chm").c_str());
        ASSERT_NE(GetFileAttributesW(chm.c_str()), INVALID_FILE_ATTRIBUTES) << code;
        for (const char* page : {"index", "printer", "files", "options", "explorer", "scripts"}) {
            const std::string name = std::string(page) + ".html";
            const std::string source = ReadBytes(helpSources / code / name);
            ASSERT_FALSE(source.empty()) << code << " " << name;
            EXPECT_EQ(ReadFromChm(chm, std::wstring(name.begin(), name.end())), source) << code << " " << name;
        }
        EXPECT_NE(ReadFromChm(chm, L"toc.hhc").find("index.html"), std::string::npos) << code;
        EXPECT_FALSE(ReadFromChm(chm, L"lumeo.css").empty()) << code;
    }
    CoUninitialize();
}
