// One file to one print job when the environment fails it: the temporary folder missing,
// not a folder or out of reach; the disk full at once or after part of the spool file;
// the file gone between admission and print; the printer gone between opening and the
// document. Each ends without a crash, without a partial job at the printer, without a
// spool file left behind, and with message kind 6 or 8 and its log line.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "job/outcome/job_messages.h"
#include "job/spooler/send_data_to_device.h"
#include "job/spooler/spool_file.h"
#include "printer/queue/prt_control.h"
#include "printer/queue/spooler_api.h"
#include "tests/support/submission_run.h"
#include "tests/support/temp_file.h"
#include "tests/support/wine_printers.h"

namespace {
const wchar_t kPrinterName[] = L"Lumeo Faults USB";

// Files named KVQ*.tmp in a folder: what a run may have left behind.
int SpoolFilesIn(const std::wstring& strFolder)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((strFolder + L"\\KVQ*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    int n = 0;
    do
        ++n;
    while (FindNextFileW(h, &data));
    FindClose(h);
    return n;
}

// The process's TMP and TEMP pointed elsewhere while it lives.
class TempFolderOverride {
public:
    explicit TempFolderOverride(const std::wstring& strFolder)
    {
        for (const wchar_t* szName : {L"TMP", L"TEMP", L"USERPROFILE"}) {
            wchar_t sz[32768] = {};
            const DWORD n = GetEnvironmentVariableW(szName, sz, 32768);
            m_saved.push_back({szName, n ? std::wstring(sz) : std::wstring(), n != 0});
        }
        SetEnvironmentVariableW(L"TMP", strFolder.c_str());
        SetEnvironmentVariableW(L"TEMP", strFolder.c_str());
        SetEnvironmentVariableW(L"USERPROFILE", strFolder.c_str());
    }
    ~TempFolderOverride()
    {
        for (const Saved& s : m_saved)
            SetEnvironmentVariableW(s.name, s.bSet ? s.value.c_str() : nullptr);
    }

private:
    struct Saved {
        const wchar_t* name;
        std::wstring value;
        bool bSet;
    };
    std::vector<Saved> m_saved;
};

// Counts what reaches the spooler, passing every call on to Wine's.
std::atomic<int> g_nOpens{0};
bool g_bStartDocFails = false;
BOOL WINAPI CountingOpen(LPWSTR pName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault)
{
    ++g_nOpens;
    return WinspoolApi().OpenPrinterW(pName, phPrinter, pDefault);
}
DWORD WINAPI MaybeFailingStartDoc(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo)
{
    if (g_bStartDocFails) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);  // as when the printer was deleted meanwhile
        return 0;
    }
    return WinspoolApi().StartDocPrinterW(hPrinter, dwLevel, pDocInfo);
}

// A spool "file" on a device that is always full.
HANDLE FullDeviceCreator(const wchar_t*)
{
    return CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

// A spool "file" that takes a given number of bytes and then fails every write, the way
// a disk that fills up during the copy does. The bytes go to a pipe whose reader quits.
std::thread g_reader;
size_t g_nTakeBytes = 0;
std::atomic<size_t> g_nTaken{0};
HANDLE FillingDiskCreator(const wchar_t*)
{
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, nullptr, 65536))
        return INVALID_HANDLE_VALUE;
    g_nTaken = 0;
    g_reader = std::thread([hRead] {
        std::vector<char> buf(65536);
        while (g_nTaken < g_nTakeBytes) {
            DWORD n = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(buf.size(), g_nTakeBytes - g_nTaken));
            if (!ReadFile(hRead, buf.data(), want, &n, nullptr) || n == 0)
                break;
            g_nTaken += n;
        }
        CloseHandle(hRead);
    });
    return hWrite;
}
}  // namespace

class SubmissionFaults : public ::testing::Test, protected SubmissionRecorder {
protected:
    static void SetUpTestSuite()
    {
        s_pPrinters = new WinePrinters(L"Faults");
        s_pPrinter = s_pPrinters->AddRawPrinter(kPrinterName, L"USB007");
    }
    static void TearDownTestSuite()
    {
        delete s_pPrinters;
        s_pPrinters = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_pPrinter) << "Wine did not accept the test printer";
        g_nOpens = 0;
        g_bStartDocFails = false;
        static SpoolerApi s_api;
        s_api = WinspoolApi();
        s_api.OpenPrinterW = CountingOpen;
        s_api.StartDocPrinterW = MaybeFailingStartDoc;
        SetSpoolerApi(&s_api);
        SetJobMessageHandler([this](int nKind) { m_messages.push_back(nKind); });
        WinePrinters::ClearCapture(*s_pPrinter);
    }
    void TearDown() override
    {
        SetJobMessageHandler(nullptr);
        SetSpoolerApi(nullptr);
        SetSpoolFileCreator(nullptr);
        if (g_reader.joinable())
            g_reader.join();
    }

    int Send(const std::wstring& strPath)
    {
        CPrtControl prt;
        prt.SetCurrentPrinter(kPrinterName);
        return SendRecorded(prt, strPath);
    }
    // Nothing reached the printer and the user was told the file could not be printed.
    void ExpectRefusedBeforeTheSpooler()
    {
        EXPECT_EQ(g_nOpens, 0);
        EXPECT_EQ(WinePrinters::ReadCapture(*s_pPrinter), "");
        EXPECT_EQ(m_messages, std::vector<int>{kMsgInvalidFile});
        m_messages.clear();
    }

    PrinterChangeLock m_lock;
    static WinePrinters* s_pPrinters;
    static const TestPrinter* s_pPrinter;
    std::vector<int> m_messages;
};
WinePrinters* SubmissionFaults::s_pPrinters = nullptr;
const TestPrinter* SubmissionFaults::s_pPrinter = nullptr;

TEST_F(SubmissionFaults, TemporaryFolderMissingNotAFolderOrTooLong)
{
    TempFile file("faults_tmp.pdf", "%PDF-1.4 tmp");
    TempFile notAFolder("faults_not_a_folder", "x");
    const std::wstring strLong = L"C:\\" + std::wstring(300, L't');
    for (const std::wstring& strTemp : {std::wstring(L"C:\\lumeo\\no\\such\\temp"), notAFolder.Path(), strLong}) {
        {
            TempFolderOverride tmp(strTemp);
            EXPECT_EQ(Send(file.Path()), 0) << std::string(strTemp.begin(), strTemp.end());
        }
        EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Create the temp file"));
        ExpectRefusedBeforeTheSpooler();
    }
    // With the folder back, the same file prints.
    EXPECT_EQ(Send(file.Path()), 1);
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pPrinter).find("%PDF-1.4 tmp") != std::string::npos, true);
}

TEST_F(SubmissionFaults, TemporaryFolderWithoutWriteAccess)
{
    // A folder that exists but takes no new file, whoever asks (even root): /proc seen
    // through Wine's Z: drive. Folder permissions cannot stop a test run as root.
    const std::wstring strFolder = WineWindowsPath("/proc");
    ASSERT_FALSE(strFolder.empty());
    const std::wstring strProbe = strFolder + L"\\lumeo_probe";
    HANDLE hProbe = CreateFileW(strProbe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (hProbe != INVALID_HANDLE_VALUE) {
        CloseHandle(hProbe);
        DeleteFileW(strProbe.c_str());
        GTEST_SKIP() << "the folder took a file";
    }
    TempFile file("faults_ro.pdf", "%PDF-1.4 ro");
    {
        TempFolderOverride tmp(strFolder);
        EXPECT_EQ(Send(file.Path()), 0);
    }
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Create the temp file"));
    ExpectRefusedBeforeTheSpooler();
    EXPECT_EQ(SpoolFilesIn(strFolder), 0);
}

TEST_F(SubmissionFaults, DiskFullAtOnceOrDuringTheCopy)
{
    TempFile file("faults_full.pdf", "%PDF-" + std::string(1 << 20, 'F'));
    SetSpoolFileCreator(FullDeviceCreator);
    EXPECT_EQ(Send(file.Path()), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot write the temp file"));
    ASSERT_FALSE(m_strSpoolFile.empty());
    ExpectRefusedBeforeTheSpooler();

    // The header and part of the file fit, the rest does not (the pipe holds up to 64 KiB
    // more than its reader takes, so every cut here is at least that far from the end).
    for (size_t nTake : {size_t{100}, size_t{300} << 10, size_t{900} << 10}) {
        g_nTakeBytes = nTake;
        SetSpoolFileCreator(FillingDiskCreator);
        EXPECT_EQ(Send(file.Path()), 0) << nTake;
        g_reader.join();
        EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot write the temp file")) << nTake;
        ExpectRefusedBeforeTheSpooler();
    }
}

TEST_F(SubmissionFaults, FileRemovedOrLockedBetweenAdmissionAndPrint)
{
    std::wstring strPath;
    {
        TempFile file("faults_removed.pdf", "%PDF-1.4 removed");
        strPath = file.Path();
        ASSERT_TRUE(FileExists(strPath));  // admitted while it stood
    }
    EXPECT_EQ(Send(strPath), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Open PDF file"));
    EXPECT_TRUE(m_strSpoolFile.empty());  // no spool file was even named
    ExpectRefusedBeforeTheSpooler();

    // Another program holds it open for writing and shares nothing.
    TempFile locked("faults_locked.pdf", "%PDF-1.4 locked");
    HANDLE hHolder = CreateFileW(locked.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHolder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Send(locked.Path()), 0);
    CloseHandle(hHolder);
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Open PDF file"));
    ExpectRefusedBeforeTheSpooler();

    // A folder now stands where the file was.
    ASSERT_TRUE(CreateDirectoryW(strPath.c_str(), nullptr));
    EXPECT_EQ(Send(strPath), 0);
    RemoveDirectoryW(strPath.c_str());
    ExpectRefusedBeforeTheSpooler();
}

TEST_F(SubmissionFaults, PrinterGoneBetweenOpeningAndTheDocument)
{
    TempFile file("faults_gone.pdf", "%PDF-1.4 gone");
    g_bStartDocFails = true;
    EXPECT_EQ(Send(file.Path()), 1);  // handed to the spooler, which refused it
    EXPECT_TRUE(Logged(L"SendDataToDevice / nResult : 0"));
    EXPECT_TRUE(Logged(L"SendDataToDevice / The spooler did not take the whole document"));
    EXPECT_EQ(g_nOpens, 1);
    EXPECT_EQ(m_messages, std::vector<int>{kMsgPrintFailed});
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pPrinter), "");
}
