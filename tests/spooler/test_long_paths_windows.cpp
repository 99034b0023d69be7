// Paths at the 260-character bound: a file's path must fit the 260-character buffers
// of the file list and the print run (259 characters and the terminator). One of 259
// is admitted and printed byte for byte; a longer one is refused at the gate and by
// the submission, without a spool file left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "files/admission.h"
#include "job/outcome/job_messages.h"
#include "job/spooler/pjl_envelope.h"
#include "job/spooler/send_data_to_device.h"
#include "printer/queue/prt_control.h"
#include "tests/support/log_capture.h"
#include "tests/support/wine_printers.h"

namespace {
const wchar_t kPrinterName[] = L"Lumeo Gaps Long Path";
const std::string kPdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n";

// Long names need the \\?\ form to be made and removed on Windows itself.
std::wstring Extended(const std::wstring& strPath) { return L"\\\\?\\" + strPath; }

bool WriteFileAt(const std::wstring& strPath, const std::string& strContent)
{
    HANDLE h = CreateFileW(Extended(strPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    const bool bOk = WriteFile(h, strContent.data(), static_cast<DWORD>(strContent.size()), &nWritten, nullptr) &&
                     nWritten == strContent.size();
    CloseHandle(h);
    return bOk;
}

// The spool files in the temporary folder ("KVQ" and four hexadecimal digits).
std::vector<std::wstring> SpoolFiles()
{
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((std::wstring(szTemp) + L"KVQ*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(data.cFileName);
    while (FindNextFileW(h, &data));
    FindClose(h);
    return files;
}

// A chain of folders under /tmp (Z:\tmp in Wine) deep enough for paths past the bound.
class DeepFolder {
public:
    DeepFolder()
    {
        std::wstring strDir = WineWindowsPath("/tmp");
        if (strDir.empty())
            return;
        if (strDir.back() == L'\\')
            strDir.pop_back();
        strDir += L"\\lumeo_gaps_long_" + std::to_wstring(GetCurrentProcessId());
        for (int i = 0; i < 7; ++i) {
            if (i > 0)
                strDir += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + i));
            if (!CreateDirectoryW(Extended(strDir).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                return;
            m_dirs.push_back(strDir);
        }
    }
    ~DeepFolder()
    {
        for (const std::wstring& strFile : m_files)
            DeleteFileW(Extended(strFile).c_str());
        for (auto it = m_dirs.rbegin(); it != m_dirs.rend(); ++it)
            RemoveDirectoryW(Extended(*it).c_str());
    }
    bool Ready() const { return !m_dirs.empty() && m_dirs.back().size() > 300; }

    // A file whose full path is exactly nChars characters long, ending in strExt.
    std::wstring MakeFile(size_t nChars, const std::wstring& strExt, const std::string& strContent)
    {
        // The deepest folder that leaves room for a name of at least one character.
        for (auto it = m_dirs.rbegin(); it != m_dirs.rend(); ++it) {
            const size_t nFixed = it->size() + 1 + strExt.size();
            if (nFixed >= nChars)
                continue;
            std::wstring strPath = *it + L"\\" + std::wstring(nChars - nFixed, L'p') + strExt;
            if (!WriteFileAt(strPath, strContent))
                return {};
            m_files.push_back(strPath);
            return strPath;
        }
        return {};
    }

private:
    std::vector<std::wstring> m_dirs;
    std::vector<std::wstring> m_files;
};
}  // namespace

class LongPaths : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pPrinters = new WinePrinters(L"GapsLong");
        s_pPrinter = s_pPrinters->AddRawPrinter(kPrinterName, L"USB031");
    }
    static void TearDownTestSuite()
    {
        delete s_pPrinters;
        s_pPrinters = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(s_pPrinter, nullptr) << "Wine did not accept the test printer";
        ASSERT_TRUE(m_folder.Ready());
        SetJobMessageHandler([this](int nKind) { m_messages.push_back(nKind); });
    }
    void TearDown() override { SetJobMessageHandler(nullptr); }

    int Send(const std::wstring& strPath)
    {
        PrinterChangeLock lock;
        CPrtControl prt;
        const PRINTER_INFO_2W* pInfo = prt.GetPrinterInfo(prt.SetCurrentPrinter(kPrinterName));
        EXPECT_TRUE(pInfo && pInfo->pPrinterName == std::wstring(kPrinterName)) << "printer not listed";
        WinePrinters::ClearCapture(*s_pPrinter);
        const std::vector<std::wstring> before = SpoolFiles();
        const int nResult = SendDataToDevice(prt, strPath);
        EXPECT_EQ(SpoolFiles(), before) << "spool file left behind";
        return nResult;
    }

    static WinePrinters* s_pPrinters;
    static const TestPrinter* s_pPrinter;
    DeepFolder m_folder;
    std::vector<int> m_messages;
};
WinePrinters* LongPaths::s_pPrinters = nullptr;
const TestPrinter* LongPaths::s_pPrinter = nullptr;

TEST_F(LongPaths, PathOf259CharactersIsAdmittedAndPrintedByteForByte)
{
    const std::wstring strPath = m_folder.MakeFile(259, L".pdf", kPdf);
    ASSERT_EQ(strPath.size(), 259u);
    EXPECT_TRUE(ValidatePathname(strPath, 1));
    EXPECT_FALSE(ValidatePathname(strPath, 2));  // the type rule still applies

    const std::string strHeader = ToThreadAnsi(SendStartPJLCommand(strPath));
    EXPECT_NE(strHeader.find("@FILESIZE=" + std::to_string(kPdf.size()) + "\""), std::string::npos);
    ASSERT_EQ(Send(strPath), 1);
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pPrinter), strHeader + kPdf + ToThreadAnsi(SendEndPJLCommand()));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(LongPaths, PathsOf260AndMoreAreRefusedWithMessageSixAndNothingPrinted)
{
    for (size_t nChars : {size_t{260}, size_t{261}, size_t{300}}) {
        SCOPED_TRACE(nChars);
        const std::wstring strPath = m_folder.MakeFile(nChars, L".pdf", kPdf);
        ASSERT_EQ(strPath.size(), nChars);
        // The file is there: only its path's length refuses it.
        ASSERT_NE(GetFileAttributesW(Extended(strPath).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(ValidatePathname(strPath, 31));

        m_messages.clear();
        LogCapture log;
        EXPECT_EQ(Send(strPath), 0);
        EXPECT_EQ(m_messages, std::vector<int>{kMsgInvalidFile});
        EXPECT_TRUE(log.Contains(L"SendDataToDevice / Cannot Open PDF file"));
        EXPECT_EQ(WinePrinters::ReadCapture(*s_pPrinter), "");
    }
}
