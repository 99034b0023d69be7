// One file to one print job, through Wine's spooler to a captured port: the port
// must receive exactly the PJL header, the file and the trailer.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "common/system_error.h"
#include "files/admission.h"
#include "job/job_messages.h"
#include "job/pjl_envelope.h"
#include "job/print_sender.h"
#include "job/print_summary.h"
#include "job/send_data_to_device.h"
#include "job/spool_file.h"
#include "printer/document_window.h"
#include "printer/prt_control.h"
#include "printer/spooler_api.h"
#include "tests/i18n/lang_file_entries.h"
#include "tests/support/child_process.h"
#include "tests/support/log_capture.h"
#include "tests/support/submission_run.h"
#include "tests/support/temp_file.h"
#include "tests/support/wine_printers.h"

namespace {
const wchar_t kUsbName[] = L"Lumeo Submit USB";
const wchar_t kNetName[] = L"Lumeo Submit Network";
const wchar_t kXpsName[] = L"Lumeo Submit XPS";
const wchar_t kGoneName[] = L"Lumeo Submit Gone";
const std::string kUELBytes = "\x1B%-12345X";

// The type's signature, then pseudo-random bytes up to nBytes.
std::string PseudoRandomBytes(size_t nBytes, const std::string& strSignature = "%PDF-")
{
    std::string strBytes(nBytes, '\0');
    unsigned int nState = 12345u;
    for (char& c : strBytes) {
        nState = nState * 1103515245u + 12345u;
        c = static_cast<char>(nState >> 23);
    }
    return strBytes.replace(0, strSignature.size(), strSignature);
}

// What a spooler seam saw.
struct SpoolerCalls {
    std::vector<std::wstring> docNames;
    std::vector<std::wstring> dataTypes;
    int nWrites = 0;
    int nEndDocs = 0;
    int nAborts = 0;
    DWORD nWriteLimit = 0;    // a write takes at most this much (0: all)
    int nFailingWrite = -1;   // the write (0-based) that fails
    int nThrowingWrite = -1;  // the write that throws
    bool bWriteTakesNothing = false;
};
SpoolerCalls g_calls;

DWORD WINAPI RecordingStartDoc(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo)
{
    const auto* pInfo = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo);
    g_calls.docNames.push_back(pInfo->pDocName ? pInfo->pDocName : L"");
    g_calls.dataTypes.push_back(pInfo->pDatatype ? pInfo->pDatatype : L"");
    return WinspoolApi().StartDocPrinterW(hPrinter, dwLevel, pDocInfo);
}

BOOL WINAPI LimitedWrite(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten)
{
    const int nThis = g_calls.nWrites++;
    if (nThis == g_calls.nFailingWrite) {
        *pcWritten = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    if (g_calls.bWriteTakesNothing) {
        *pcWritten = 0;
        return TRUE;
    }
    const DWORD cbTake = g_calls.nWriteLimit && cbBuf > g_calls.nWriteLimit ? g_calls.nWriteLimit : cbBuf;
    return WinspoolApi().WritePrinter(hPrinter, pBuf, cbTake, pcWritten);
}

// A spooler that accepts the document without printing it (for failures Wine's own
// spooler cannot show: its AbortPrinter still prints the job on closing).
BOOL WINAPI FakeOpen(LPWSTR, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW)
{
    *phPrinter = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5150));
    return TRUE;
}
BOOL WINAPI FakeClose(HANDLE) { return TRUE; }
BOOL WINAPI FakeNoDriver(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded)
{
    *pcbNeeded = 0;
    SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
    return FALSE;
}
DWORD WINAPI FakeStartDoc(HANDLE, DWORD, LPBYTE pDocInfo)
{
    g_calls.docNames.push_back(reinterpret_cast<const DOC_INFO_1W*>(pDocInfo)->pDocName);
    return 7;
}
BOOL WINAPI FakePage(HANDLE) { return TRUE; }
BOOL WINAPI FakeWrite(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten)
{
    const int nThis = g_calls.nWrites++;
    if (nThis == g_calls.nThrowingWrite)
        throw std::runtime_error("the write threw");
    if (nThis == g_calls.nFailingWrite) {
        *pcWritten = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    *pcWritten = g_calls.bWriteTakesNothing ? 0 : (cbBuf > 1000 ? 1000 : cbBuf);
    return TRUE;
}
BOOL WINAPI FakeEndDoc(HANDLE)
{
    ++g_calls.nEndDocs;
    return TRUE;
}
BOOL WINAPI FakeAbort(HANDLE)
{
    ++g_calls.nAborts;
    return TRUE;
}

// A driver record whose driver file is the given path.
const wchar_t* g_pszDriverPath = nullptr;
BOOL WINAPI FakeDriver(HANDLE, LPWSTR, DWORD, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbNeeded)
{
    *pcbNeeded = sizeof(DRIVER_INFO_2W);
    if (!pBuffer || cbBuf < sizeof(DRIVER_INFO_2W)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    DRIVER_INFO_2W info = {};
    info.pDriverPath = const_cast<wchar_t*>(g_pszDriverPath);
    memcpy(pBuffer, &info, sizeof(info));
    return TRUE;
}

HANDLE FailingSpoolFileCreator(const wchar_t*) { return INVALID_HANDLE_VALUE; }

// Every spool file of the temporary folder, opened for writing as another program would.
int g_nSpoolFilesSeen = 0, g_nSpoolFilesOpened = 0;
std::wstring g_strPlanted;
void TryToOpenSpoolFiles(unsigned long long)
{
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
        if (entry.path().filename().wstring().rfind(L"KVQ", 0) != 0)
            continue;
        ++g_nSpoolFilesSeen;
        HANDLE hOther = CreateFileW(entry.path().c_str(), GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
        g_nSpoolFilesOpened += hOther != INVALID_HANDLE_VALUE ? 1 : 0;
        if (hOther != INVALID_HANDLE_VALUE)
            CloseHandle(hOther);
    }
}

// After the first block the file grows, written from outside Wine as a share's other
// clients would write it: no sharing of the open file stops that.
std::wstring g_strGrowingFile;
void GrowFromOutside(unsigned long long)
{
    SetCopyBlockHook(nullptr);  // once
    const std::string strScript = "printf grown >> '" + WineUnixPath(g_strGrowingFile) + "'";
    StartDetached(L"\"" + WineWindowsPath("/bin/sh") + L"\" -c \"" + std::wstring(strScript.begin(), strScript.end()) +
                  L"\"");
    for (int i = 0; i < 400 && std::filesystem::file_size(g_strGrowingFile) == 1u << 20; ++i)
        Sleep(50);  // Wine cannot wait for a Linux program: its bytes tell it has run
}
}  // namespace

class SpoolerSubmission : public ::testing::Test, protected SubmissionRecorder {
protected:
    static void SetUpTestSuite()
    {
        s_pPrinters = new WinePrinters(L"Submit");
        s_pUsb = s_pPrinters->AddRawPrinter(kUsbName, L"USB001");
        s_pNet = s_pPrinters->AddRawPrinter(kNetName, L"IP_127.0.0.1");
        s_pXps = s_pPrinters->AddXpsPrinter(kXpsName, L"XPS001:");
        s_pGone = s_pPrinters->AddRawPrinter(kGoneName, L"USB009");
    }
    static void TearDownTestSuite()
    {
        delete s_pPrinters;
        s_pPrinters = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_pUsb && s_pNet && s_pXps && s_pGone) << "Wine did not accept the test printers";
        g_calls = SpoolerCalls();
        SetJobMessageHandler([this](int nKind) { m_messages.push_back(nKind); });
    }
    void TearDown() override
    {
        SetJobMessageHandler(nullptr);
        SetSpoolerApi(nullptr);
        SetSpoolFileCreator(nullptr);
        SetCopyBlockHook(nullptr);
        SetDocumentWindowBytes(0);
    }

    static void UseSpooler(const SpoolerApi& api)
    {
        static SpoolerApi s_api;
        s_api = api;
        SetSpoolerApi(&s_api);
    }
    static SpoolerApi FakeSpooler()
    {
        SpoolerApi api = WinspoolApi();
        api.OpenPrinterW = FakeOpen;
        api.ClosePrinter = FakeClose;
        api.GetPrinterDriverW = FakeNoDriver;
        api.StartDocPrinterW = FakeStartDoc;
        api.StartPagePrinter = FakePage;
        api.WritePrinter = FakeWrite;
        api.EndPagePrinter = FakePage;
        api.EndDocPrinter = FakeEndDoc;
        api.AbortPrinter = FakeAbort;
        return api;
    }

    static std::string Envelope(const std::wstring& strPath, const std::string& strContent)
    {
        return ToThreadAnsi(SendStartPJLCommand(strPath)) + strContent + ToThreadAnsi(SendEndPJLCommand());
    }

    // Sends the file to the named printer; checks the spool file is gone afterwards.
    int Send(const TestPrinter& printer, const std::wstring& strPath)
    {
        CPrtControl prt;
        prt.SetCurrentPrinter(printer.strName);
        const PRINTER_INFO_2W* pInfo = prt.GetPrinterInfo(prt.GetCurrentIndex());
        EXPECT_TRUE(pInfo && pInfo->pPrinterName == printer.strName) << "printer not listed";
        WinePrinters::ClearCapture(printer);
        return SendRecorded(prt, strPath);
    }

    // The list read by each test must not change under it.
    PrinterChangeLock m_lock;
    static WinePrinters* s_pPrinters;
    static const TestPrinter* s_pUsb;
    static const TestPrinter* s_pNet;
    static const TestPrinter* s_pXps;
    static const TestPrinter* s_pGone;
    std::vector<int> m_messages;
};
WinePrinters* SpoolerSubmission::s_pPrinters = nullptr;
const TestPrinter* SpoolerSubmission::s_pUsb = nullptr;
const TestPrinter* SpoolerSubmission::s_pNet = nullptr;
const TestPrinter* SpoolerSubmission::s_pXps = nullptr;
const TestPrinter* SpoolerSubmission::s_pGone = nullptr;

TEST_F(SpoolerSubmission, AnEmptyFileIsRefusedAndSmallOnesArriveWrappedInTheEnvelope)
{
    TempFile empty("submit_empty.pdf", "");
    EXPECT_EQ(Send(*s_pUsb, empty.Path()), 0);  // no byte, no type
    EXPECT_EQ(m_messages, std::vector<int>{kMsgRefusedContent});
    m_messages.clear();

    const std::string strBlock = PseudoRandomBytes(4096, "\xFF\xD8\xFF");
    TempFile block("submit_block.jpg", strBlock);
    ASSERT_EQ(Send(*s_pNet, block.Path()), 1);
    const std::string strCaptured = WinePrinters::ReadCapture(*s_pNet);
    EXPECT_EQ(strCaptured, Envelope(block.Path(), strBlock));
    EXPECT_NE(strCaptured.find("@FILESIZE=4096\""), std::string::npos);
    EXPECT_EQ(strCaptured.substr(strCaptured.size() - kUELBytes.size() - 4096, 4096), strBlock);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, MultiMegabyteFileArrivesWholeInOneWindowOrMany)
{
    const std::string strContent = PseudoRandomBytes((5u << 20) + 321, std::string("II*\0", 4));
    TempFile file("submit_large.tif", strContent);
    const std::string strExpected = Envelope(file.Path(), strContent);

    ASSERT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_TRUE(WinePrinters::ReadCapture(*s_pUsb) == strExpected);

    SetDocumentWindowBytes(1u << 20);  // six windows, the last one short
    ASSERT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_TRUE(WinePrinters::ReadCapture(*s_pUsb) == strExpected);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, SpoolerTakingPartOfEachWriteStillGetsEveryByte)
{
    const std::string strContent = PseudoRandomBytes((3u << 20) + 17, "\x89PNG\r\n\x1A\n");
    TempFile file("submit_partial.png", strContent);
    SpoolerApi api = WinspoolApi();
    api.WritePrinter = LimitedWrite;
    UseSpooler(api);
    g_calls.nWriteLimit = 65521;
    SetDocumentWindowBytes(1u << 20);

    ASSERT_EQ(Send(*s_pNet, file.Path()), 1);
    EXPECT_TRUE(WinePrinters::ReadCapture(*s_pNet) == Envelope(file.Path(), strContent));
    EXPECT_GT(g_calls.nWrites, 48);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, DocumentNameAndDataTypeFollowFileAndDriver)
{
    SpoolerApi api = WinspoolApi();
    api.StartDocPrinterW = RecordingStartDoc;
    UseSpooler(api);
    TempFile file("submit_named.bmp", "BM123");
    Send(*s_pUsb, file.Path());
    Send(*s_pXps, file.Path());
    ASSERT_EQ(g_calls.docNames.size(), 2u);
    EXPECT_EQ(g_calls.docNames[0], L"KVQ_lumeo_test_submit_named.bmp");
    EXPECT_EQ(g_calls.dataTypes[0], L"RAW");
    EXPECT_EQ(g_calls.dataTypes[1], L"XPS_PASS");
    EXPECT_TRUE(Logged(L"This is XPS Driver so Document Data type was set [XPS_PASS]"));
    m_messages.clear();  // Wine's print processor refuses XPS_PASS, which is fine here

    // A path without a backslash is the whole name.
    wchar_t szOldDir[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, szOldDir);
    const std::wstring strDir = file.Path().substr(0, file.Path().rfind(L'\\'));
    SetCurrentDirectoryW(strDir.c_str());
    const std::string strExpected = Envelope(L"lumeo_test_submit_named.bmp", "BM123");
    EXPECT_EQ(Send(*s_pUsb, L"lumeo_test_submit_named.bmp"), 1);
    SetCurrentDirectoryW(szOldDir);
    ASSERT_EQ(g_calls.docNames.size(), 3u);
    EXPECT_EQ(g_calls.docNames[2], L"KVQ_lumeo_test_submit_named.bmp");
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), strExpected);
    EXPECT_NE(strExpected.find("@FILESIZE=5\""), std::string::npos);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, XpsDriverIsKnownByItsFileNameInAnyCase)
{
    SpoolerApi api = WinspoolApi();
    api.GetPrinterDriverW = FakeDriver;
    UseSpooler(api);
    CPrtControl prt;
    HANDLE hAny = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1));
    for (const wchar_t* pszPath : {L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MXDWDRV.DLL",
                                   L"C:\\drivers\\MxDwDrv.dll", L"mxdwdrv.dll"}) {
        g_pszDriverPath = pszPath;
        EXPECT_TRUE(prt.IsXPSDriver(hAny)) << pszPath;
    }
    for (const wchar_t* pszPath : {L"C:\\drivers\\mxdwdrv.dll.bak", L"C:\\mxdwdrv.dll\\unidrv.dll",
                                   L"C:\\drivers\\xmxdwdrv.dll", static_cast<const wchar_t*>(nullptr)}) {
        g_pszDriverPath = pszPath;
        EXPECT_FALSE(prt.IsXPSDriver(hAny)) << (pszPath ? pszPath : L"(null)");
    }
    EXPECT_FALSE(prt.IsXPSDriver(nullptr));
}

TEST_F(SpoolerSubmission, PrinterThatCannotBeOpenedIsReportedAndTheRunGoesOn)
{
    CPrtControl prt;  // lists the printer, which then goes away
    prt.SetCurrentPrinter(kGoneName);
    ASSERT_TRUE(s_pPrinters->DeletePrinter(kGoneName));
    TempFile first("submit_gone1.pdf", "%PDF-first");
    TempFile second("submit_gone2.pdf", "%PDF-second");
    LogCapture log;
    EXPECT_EQ(SendDataToDevice(prt, first.Path()), 1);
    EXPECT_TRUE(log.Contains(L"SendDataToDevice / nResult : 0"));
    EXPECT_EQ(m_messages, std::vector<int>{kMsgPrintFailed});
    EXPECT_FALSE(FileExists(SpoolFileOf(log)));

    prt.SetCurrentPrinter(kUsbName);
    EXPECT_EQ(SendDataToDevice(prt, second.Path()), 1);
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), Envelope(second.Path(), "%PDF-second"));
    EXPECT_EQ(m_messages, std::vector<int>{kMsgPrintFailed});
}

TEST_F(SpoolerSubmission, FailingWriteAbortsTheJobAndTellsTheUserOnce)
{
    UseSpooler(FakeSpooler());
    TempFile file("submit_fail.pdf", PseudoRandomBytes(10000));
    g_calls.nFailingWrite = 3;
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_EQ(g_calls.nAborts, 1);
    EXPECT_EQ(g_calls.nEndDocs, 0);
    EXPECT_EQ(m_messages, std::vector<int>{kMsgPrintFailed});
    EXPECT_TRUE(Logged(L"SendDataToDevice / nResult : 3000"));

    // A spooler that keeps taking nothing is a failure, not an endless loop.
    g_calls = SpoolerCalls();
    g_calls.bWriteTakesNothing = true;
    m_messages.clear();
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_EQ(g_calls.nWrites, 1);
    EXPECT_EQ(g_calls.nAborts, 1);
    EXPECT_EQ(m_messages, std::vector<int>{kMsgPrintFailed});

    // Everything taken in 1000-byte bites ends the document normally.
    g_calls = SpoolerCalls();
    m_messages.clear();
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_EQ(g_calls.nEndDocs, 1);
    EXPECT_EQ(g_calls.nAborts, 0);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, UnreadableFileOrSpoolFileShowsMessageSixAndLeavesNothing)
{
    EXPECT_EQ(Send(*s_pUsb, L"C:\\no\\such\\folder\\missing.pdf"), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Open PDF file"));
    EXPECT_TRUE(m_strSpoolFile.empty());
    EXPECT_EQ(m_messages, std::vector<int>{kMsgInvalidFile});

    m_messages.clear();
    SetSpoolFileCreator(FailingSpoolFileCreator);
    TempFile file("submit_nospool.pdf", "%PDF");
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / Cannot Create the temp file"));
    EXPECT_TRUE(m_strSpoolFile.empty());  // none was made
    EXPECT_EQ(m_messages, std::vector<int>{kMsgInvalidFile});
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), "");
}

TEST_F(SpoolerSubmission, SpoolFileIsNewUnderARandomKVQNameAndNoOtherHandleOpensIt)
{
    TempFile file("submit_spool.pdf", PseudoRandomBytes(3 << 20));
    SetCopyBlockHook(TryToOpenSpoolFiles);
    ASSERT_EQ(Send(*s_pUsb, file.Path()), 1);
    EXPECT_GT(g_nSpoolFilesSeen, 0);
    EXPECT_EQ(g_nSpoolFilesOpened, 0) << "the spool file could be opened for writing while it was filled";
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    const std::wstring strFirst = m_strSpoolFile;
    EXPECT_EQ(strFirst.size(), wcslen(szTemp) + 3 + 16 + 4) << strFirst;
    EXPECT_EQ(_wcsnicmp(strFirst.c_str(), (std::wstring(szTemp) + L"KVQ").c_str(), wcslen(szTemp) + 3), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / strDocName : KVQ_lumeo_test_submit_spool.pdf"));

    // A name that exists is never opened: another one is made, and the file found stays as it was.
    TempFile small("submit_spool_small.pdf", "%PDF-1.4");
    SetSpoolFileCreator([](const wchar_t* pszPath) {
        if (g_strPlanted.empty()) {
            g_strPlanted = pszPath;
            std::ofstream(std::filesystem::path(pszPath), std::ios::binary) << "planted";
        }
        return CreateNewSpoolFile(pszPath);
    });
    ASSERT_EQ(Send(*s_pUsb, small.Path()), 1);
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), Envelope(small.Path(), "%PDF-1.4"));
    ASSERT_FALSE(g_strPlanted.empty());
    EXPECT_NE(m_strSpoolFile, g_strPlanted);
    EXPECT_NE(m_strSpoolFile, strFirst);
    EXPECT_EQ(ReadWholeFile(g_strPlanted), "planted");
    DeleteFileW(g_strPlanted.c_str());
}

TEST_F(SpoolerSubmission, FileThatGrowsDuringTheCopyIsNotSent)
{
    TempFile file("submit_growing.pdf", PseudoRandomBytes(1u << 20));
    g_strGrowingFile = file.Path();
    SetCopyBlockHook(GrowFromOutside);
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 0);
    EXPECT_TRUE(Logged(L"SendDataToDevice / changed while it was being sent"));
    EXPECT_EQ(m_messages, std::vector<int>{kMsgInvalidFile});
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), "");
}

namespace {
// Job statuses a fake spooler reports, one script per job id (1, 2, ...): each look
// takes the next status; past the end of its script the job has left the queue.
std::vector<std::vector<DWORD>> g_jobScripts;
std::vector<size_t> g_jobLooks;
DWORD g_nNextJob = 0;
DWORD WINAPI NumberedStartDoc(HANDLE, DWORD, LPBYTE) { return ++g_nNextJob; }
BOOL WINAPI ScriptedGetJob(HANDLE, DWORD nJob, DWORD, LPBYTE pJob, DWORD cbBuf, LPDWORD pcbNeeded)
{
    *pcbNeeded = sizeof(JOB_INFO_1W);
    if (nJob == 0 || nJob > g_jobScripts.size() || g_jobLooks[nJob - 1] >= g_jobScripts[nJob - 1].size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!pJob || cbBuf < sizeof(JOB_INFO_1W)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    JOB_INFO_1W info = {};
    info.JobId = nJob;
    info.Status = g_jobScripts[nJob - 1][g_jobLooks[nJob - 1]++];
    memcpy(pJob, &info, sizeof(info));
    return TRUE;
}
}  // namespace

TEST_F(SpoolerSubmission, AStopBeforeTheFirstWriteSendsNothingAndOneAfterItAbortsTheJob)
{
    UseSpooler(FakeSpooler());
    TempFile file("submit_stop.pdf", PseudoRandomBytes(3 << 20));
    struct {
        const char* pszWhen;
        std::function<bool()> fnStop;
        size_t nDocs;
        int nAborts;
    } cases[] = {
        {"during the copy", [nAsked = 0]() mutable { return ++nAsked >= 3; }, 0, 0},
        {"during the writes", [] { return g_calls.nWrites >= 2; }, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhen);
        g_calls = SpoolerCalls();
        CPrtControl prt;
        prt.SetCurrentPrinter(kUsbName);
        SendControl control;
        control.fnStopRequested = c.fnStop;
        LogCapture log;
        const SendResult result = SubmitFile(prt, file.Path(), SnapshotJob(), control);
        EXPECT_EQ(result.reason.outcome, FileOutcome::Cancelled);
        EXPECT_EQ(g_calls.docNames.size(), c.nDocs);
        EXPECT_EQ(g_calls.nAborts, c.nAborts);
        EXPECT_EQ(g_calls.nEndDocs, 0);
        const std::wstring strSpool = SpoolFileOf(log);
        EXPECT_FALSE(strSpool.empty() || FileExists(strSpool)) << "the spool file goes";
    }
    EXPECT_TRUE(m_messages.empty()) << "a stop is no failure to show";
}

TEST_F(SpoolerSubmission, EachJobIsFollowedUntilItLeavesTheQueueOrShowsTrouble)
{
    SpoolerApi api = FakeSpooler();
    api.StartDocPrinterW = NumberedStartDoc;
    api.GetJobW = ScriptedGetJob;
    UseSpooler(api);
    constexpr DWORD kPrinting = JOB_STATUS_PRINTING, kSpooling = JOB_STATUS_SPOOLING;
    g_nNextJob = 0;
    g_jobScripts = {{kSpooling, kPrinting},                        // leaves the queue: sent
                    {kPrinting, kPrinting | JOB_STATUS_PAPEROUT},  // out of paper, then gone
                    {JOB_STATUS_PRINTED | JOB_STATUS_DELETING},    // printed and being removed
                    {JOB_STATUS_OFFLINE},                          // the printer is off
                    std::vector<DWORD>(1000, kPrinting)};          // still printing when the wait ends
    g_jobLooks.assign(g_jobScripts.size(), 0);
    TempFile file("submit_follow.pdf", "%PDF-1.4 follow");
    PrintRunInput input;
    input.strPrinter = kUsbName;
    input.arrFiles.assign(g_jobScripts.size(), file.Path());
    input.nWaitSeconds = 1;
    const PrintRunEnd end = SendPrintFiles(input, nullptr, nullptr);
    EXPECT_EQ(end.arrOutcomes, (std::vector<FileReason>{FileOutcome::Sent, FileOutcome::PaperOut, FileOutcome::Sent,
                                                          FileOutcome::PrinterOffline, FileOutcome::Sent}));
    EXPECT_FALSE(end.bCancelled);
    EXPECT_EQ(g_calls.nEndDocs, 5);
}

TEST_F(SpoolerSubmission, EveryCauseIsFoundWhereItHappensAndReadsAsItsOwnTextInEveryLanguage)
{
    UseSpooler(FakeSpooler());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lumeo_test_reasons";
    std::filesystem::create_directories(folder / "folder.pdf");
    auto Make = [&](const wchar_t* pszName, const std::string& strBytes) {
        std::ofstream(folder / pszName, std::ios::binary) << strBytes;
        return (folder / pszName).wstring();
    };
    auto Admit = [](const std::wstring& strPath, int nTypes, FileReason reason = {}) {
        return ValidatePathname(strPath, nTypes, &reason) ? FileReason(FileOutcome::Sent) : reason;
    };
    auto Submit = [](const std::wstring& strPath, std::function<bool()> fnStop = nullptr) {
        CPrtControl prt;
        prt.SetCurrentPrinter(kUsbName);
        SendControl control;
        control.fnStopRequested = std::move(fnStop);
        return SubmitFile(prt, strPath, SnapshotJob(), control).reason;
    };
    const std::wstring strPdf = Make(L"good.pdf", "%PDF-1.4");
    const std::wstring strLocked = Make(L"locked.pdf", "%PDF-1.4");
    HANDLE hLocked = CreateFileW(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FileReason locked = Admit(strLocked, 31);
    CloseHandle(hLocked);
    g_strGrowingFile = Make(L"growing.pdf", PseudoRandomBytes(1u << 20));
    SetCopyBlockHook(GrowFromOutside);
    const FileReason changed = Submit(g_strGrowingFile);
    SetSpoolFileCreator([](const wchar_t*) {
        SetLastError(ERROR_DISK_FULL);
        return INVALID_HANDLE_VALUE;
    });
    const FileReason noSpoolFile = Submit(strPdf);
    SetSpoolFileCreator(nullptr);
    g_calls.nFailingWrite = 0;
    const FileReason refused = Submit(strPdf);
    const std::wstring strShared = SystemErrorText(ERROR_SHARING_VIOLATION), strFull = SystemErrorText(ERROR_DISK_FULL);
    ASSERT_FALSE(strShared.empty() || strFull.empty());

    const struct {
        FileReason reason;
        std::wstring strEnglish, strDetail;
    } cases[] = {
        {Admit((folder / "missing.pdf").wstring(), 31), L"not found", L""},
        {Admit((folder / "folder.pdf").wstring(), 31), L"a folder or a device, not a file", L""},
        {locked, L"cannot be opened: " + strShared, strShared},
        {Admit(Make(L"empty.pdf", ""), 31), L"empty", L""},
        {Admit(L"C:\\" + std::wstring(300, L'x') + L".pdf", 31), L"its path is too long", L""},
        {Admit(Make(L"scan.bmp", "BM"), 1 | 2), L"the printer takes PDF and JPEG, not BMP", L"BMP"},
        {Admit(Make(L"c.txt", "text"), 1 | 2 | 8), L"the printer takes PDF, JPEG and PNG, not TXT",
         L"TXT"},
        {Admit(Make(L"text.png", "text"), 31), L"not a PNG image", L"PNG"},
        {Submit(Make(L"pjl.pdf", "%PDF-1.4\n" + kUELBytes + "@PJL")), L"holds printer commands", L""},
        {changed, L"changed while it was being sent", L""},
        {noSpoolFile, L"the temporary copy could not be made: " + strFull, strFull},
        {refused, L"the spooler refused it: " + strFull, strFull},
        {Submit(strPdf, [] { return true; }), L"printing was cancelled", L""},
        {TroubleOfJobStatus(JOB_STATUS_ERROR), L"the printer reported an error", L""},
        {TroubleOfJobStatus(JOB_STATUS_OFFLINE), L"the printer is offline", L""},
        {TroubleOfJobStatus(JOB_STATUS_PAPEROUT), L"the printer is out of paper", L""},
        {TroubleOfJobStatus(JOB_STATUS_PAUSED), L"the job was paused in the print queue", L""},
        {TroubleOfJobStatus(JOB_STATUS_BLOCKED_DEVQ), L"the job is blocked in the print queue", L""},
        {TroubleOfJobStatus(JOB_STATUS_DELETED), L"the job was deleted from the print queue", L""},
    };
    std::filesystem::remove_all(folder);
    for (const std::string& code : ShippedLanguages()) {
        ScopedLangSource source(Shipped(code));
        std::set<std::wstring> texts;
        for (const auto& c : cases) {
            const std::wstring strText = FileReasonText(c.reason);
            SCOPED_TRACE(code + " " + ToAnsi(c.strEnglish));
            EXPECT_TRUE(texts.insert(strText).second) << "shares its text: " << ToAnsi(strText);
            EXPECT_NE(strText.find(c.strDetail), std::wstring::npos) << ToAnsi(strText);
            if (code == "EN")
                EXPECT_EQ(strText, c.strEnglish);
            else
                EXPECT_NE(strText, c.strEnglish);
        }
    }
}

TEST_F(SpoolerSubmission, AnExceptionAbortsTheJobRemovesItsSpoolFileAndEndsTheRunAsAnInternalError)
{
    UseSpooler(FakeSpooler());
    TempFile small("submit_throw1.pdf", "%PDF-1.4 small");
    TempFile big("submit_throw2.pdf", PseudoRandomBytes(10000));
    g_calls.nThrowingWrite = 1;  // the second file's first write
    PrintRunInput input;
    input.strPrinter = kUsbName;
    input.arrFiles = {small.Path(), big.Path(), small.Path()};
    LogCapture log;
    const PrintRunEnd end = SendPrintFiles(input, nullptr, nullptr);
    EXPECT_EQ(end.arrOutcomes, (std::vector<FileReason>{FileOutcome::Sent, FileOutcome::InternalError,
                                                         FileOutcome::InternalError}));
    EXPECT_EQ(g_calls.docNames.size(), 2u);
    EXPECT_EQ(g_calls.nAborts, 1);
    EXPECT_EQ(g_calls.nEndDocs, 1);
    EXPECT_TRUE(log.Contains(L"SendPrintFiles / internal error : the write threw"));
    EXPECT_EQ(SpoolFilesNow(), 0) << "a spool file was left behind";
    EXPECT_EQ(FileReasonText(FileOutcome::InternalError), L"internal error");
}

TEST_F(SpoolerSubmission, ProgressRisesTo1000BeforeTheWaitNeverFallsAndCountsEveryFile)
{
    UseSpooler(FakeSpooler());
    TempFile big("submit_progress.pdf", PseudoRandomBytes(3 << 20));
    TempFile empty("submit_progress_empty.pdf", "");
    TempFile text("submit_progress_text.pdf", "Dear reader");
    const std::wstring strMissing = L"C:\\no\\such\\file.pdf";
    for (const std::vector<std::wstring>& arrFiles : {std::vector<std::wstring>{big.Path(), strMissing, empty.Path(),
                                                                                 text.Path(), big.Path()},
                                                      std::vector<std::wstring>{empty.Path(), strMissing}}) {
        PrintRunInput input;
        input.strPrinter = kUsbName;
        input.arrFiles = arrFiles;
        std::vector<PrintRunProgress> reports;
        SendPrintFiles(input, nullptr, [&](const PrintRunProgress& progress) { reports.push_back(progress); });
        ASSERT_FALSE(reports.empty());
        EXPECT_TRUE(reports.back().bWaiting);
        EXPECT_EQ(reports.back().nPermille, 1000);
        std::vector<int> arrPermille;
        std::vector<size_t> arrNamed;
        for (const PrintRunProgress& report : reports) {
            arrPermille.push_back(report.nPermille);
            arrNamed.push_back(report.nFile);
        }
        EXPECT_TRUE(std::is_sorted(arrPermille.begin(), arrPermille.end()));
        arrNamed.erase(std::unique(arrNamed.begin(), arrNamed.end()), arrNamed.end());
        std::vector<size_t> arrEvery(arrFiles.size());
        std::iota(arrEvery.begin(), arrEvery.end(), size_t{0});
        EXPECT_EQ(arrNamed, arrEvery);
    }
}

TEST_F(SpoolerSubmission, ATextRenamedToPdfAfterItsAdmissionIsRefusedAtTheCopyBeforeAnyDocument)
{
    UseSpooler(FakeSpooler());
    TempFile file("submit_swapped.pdf", "%PDF-1.4 admitted");
    ASSERT_TRUE(ValidatePathname(file.Path(), 1));
    TempFile text("submit_swapped.txt", "Dear reader,\r\n");
    ASSERT_TRUE(MoveFileExW(text.Path().c_str(), file.Path().c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Send(*s_pUsb, file.Path()), 0);
    EXPECT_EQ(m_messages, std::vector<int>{kMsgRefusedContent});
    EXPECT_TRUE(g_calls.docNames.empty()) << "a document was started";
    EXPECT_FALSE(m_strSpoolFile.empty());  // made, and gone (checked by Send)
}
