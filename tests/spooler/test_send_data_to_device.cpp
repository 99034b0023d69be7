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
#include "job/outcome/job_messages.h"
#include "job/outcome/print_summary.h"
#include "job/print_sender.h"
#include "job/spooler/pjl_envelope.h"
#include "job/spooler/print_outcome.h"
#include "job/spooler/send_data_to_device.h"
#include "job/spooler/spool_file.h"
#include "printer/queue/document_window.h"
#include "printer/queue/prt_control.h"
#include "printer/queue/spooler_api.h"
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
    std::vector<std::wstring> docNames, dataTypes;
    int nWrites = 0, nEndDocs = 0, nAborts = 0;
    DWORD nWriteLimit = 0;    // a write of LimitedWrite takes at most this much
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
    ++g_calls.nWrites;
    return WinspoolApi().WritePrinter(hPrinter, pBuf, std::min(cbBuf, g_calls.nWriteLimit), pcWritten);
}

BOOL WINAPI FakeWrite(HANDLE, LPVOID, DWORD cbBuf, LPDWORD pcWritten)
{
    const int nThis = g_calls.nWrites++;
    if (nThis == g_calls.nThrowingWrite)
        throw std::runtime_error("the write threw");
    if (nThis == g_calls.nFailingWrite) {
        *pcWritten = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    *pcWritten = g_calls.bWriteTakesNothing ? 0 : std::min<DWORD>(cbBuf, 1000);
    return TRUE;
}

// A spooler that accepts the document without printing it (for failures Wine's own
// spooler cannot show: its AbortPrinter still prints the job on closing).
SpoolerApi FakeSpooler()
{
    SpoolerApi api = WinspoolApi();
    api.OpenPrinterW = [](LPWSTR, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW) -> BOOL {
        *phPrinter = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5150));
        return TRUE;
    };
    api.ClosePrinter = api.StartPagePrinter = api.EndPagePrinter = [](HANDLE) -> BOOL { return TRUE; };
    api.GetPrinterDriverW = [](HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded) -> BOOL {
        *pcbNeeded = 0;
        SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
        return FALSE;
    };
    api.StartDocPrinterW = [](HANDLE, DWORD, LPBYTE pDocInfo) -> DWORD {
        g_calls.docNames.push_back(reinterpret_cast<const DOC_INFO_1W*>(pDocInfo)->pDocName);
        return 7;
    };
    api.WritePrinter = FakeWrite;
    api.EndDocPrinter = [](HANDLE) -> BOOL { ++g_calls.nEndDocs; return TRUE; };
    api.AbortPrinter = [](HANDLE) -> BOOL { ++g_calls.nAborts; return TRUE; };
    return api;
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

    // The table the runs use until the test ends; its entries may be changed afterwards.
    static SpoolerApi& UseSpooler(const SpoolerApi& api = WinspoolApi())
    {
        static SpoolerApi s_api;
        s_api = api;
        SetSpoolerApi(&s_api);
        return s_api;
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

    // One file to the USB printer as a run submits it, asked fnStop between blocks.
    static SendResult SubmitToUsb(const std::wstring& strPath, std::function<bool()> fnStop = nullptr)
    {
        CPrtControl prt;
        prt.SetCurrentPrinter(kUsbName);
        SendControl control;
        control.fnStopRequested = std::move(fnStop);
        return SubmitFile(prt, strPath, SnapshotJob(), control);
    }

    // A whole print run of the files to the USB printer.
    static PrintRunEnd RunOnUsb(const std::vector<std::wstring>& arrFiles,
                                const std::function<void(const PrintRunProgress&)>& fnProgress = nullptr,
                                DWORD nWaitSeconds = PrintRunInput().nWaitSeconds)
    {
        PrintRunInput input;
        input.strPrinter = kUsbName;
        input.arrFiles = arrFiles;
        input.nWaitSeconds = nWaitSeconds;
        return SendPrintFiles(input, nullptr, fnProgress);
    }

    // The list read by each test must not change under it.
    PrinterChangeLock m_lock;
    static inline WinePrinters* s_pPrinters = nullptr;
    static inline const TestPrinter *s_pUsb = nullptr, *s_pNet = nullptr, *s_pXps = nullptr, *s_pGone = nullptr;
    std::vector<int> m_messages;
};

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
    UseSpooler().WritePrinter = LimitedWrite;
    g_calls.nWriteLimit = 65521;
    SetDocumentWindowBytes(1u << 20);

    ASSERT_EQ(Send(*s_pNet, file.Path()), 1);
    EXPECT_TRUE(WinePrinters::ReadCapture(*s_pNet) == Envelope(file.Path(), strContent));
    EXPECT_GT(g_calls.nWrites, 48);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, DocumentNameAndDataTypeFollowFileAndDriver)
{
    UseSpooler().StartDocPrinterW = RecordingStartDoc;
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
    const std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(file.Path()).parent_path());
    const std::string strExpected = Envelope(L"lumeo_test_submit_named.bmp", "BM123");
    EXPECT_EQ(Send(*s_pUsb, L"lumeo_test_submit_named.bmp"), 1);
    std::filesystem::current_path(oldDir);
    ASSERT_EQ(g_calls.docNames.size(), 3u);
    EXPECT_EQ(g_calls.docNames[2], L"KVQ_lumeo_test_submit_named.bmp");
    EXPECT_EQ(WinePrinters::ReadCapture(*s_pUsb), strExpected);
    EXPECT_NE(strExpected.find("@FILESIZE=5\""), std::string::npos);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SpoolerSubmission, XpsDriverIsKnownByItsFileNameInAnyCase)
{
    UseSpooler().GetPrinterDriverW = FakeDriver;
    CPrtControl prt;
    HANDLE hAny = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1));
    const std::pair<const wchar_t*, bool> drivers[] = {
        {L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MXDWDRV.DLL", true}, {L"C:\\drivers\\MxDwDrv.dll", true},
        {L"mxdwdrv.dll", true}, {L"C:\\drivers\\mxdwdrv.dll.bak", false}, {L"C:\\mxdwdrv.dll\\unidrv.dll", false},
        {L"C:\\drivers\\xmxdwdrv.dll", false}, {nullptr, false}};
    for (const auto& [pszPath, bXps] : drivers) {
        g_pszDriverPath = pszPath;
        EXPECT_EQ(prt.IsXPSDriver(hAny), bXps) << (pszPath ? pszPath : L"(null)");
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
    SetSpoolFileCreator([](const wchar_t*) { return INVALID_HANDLE_VALUE; });
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
        {"once the document is started", [] { return !g_calls.docNames.empty(); }, 1, 1},
        {"during the writes", [] { return g_calls.nWrites >= 2; }, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhen);
        g_calls = SpoolerCalls();
        LogCapture log;
        EXPECT_EQ(SubmitToUsb(file.Path(), c.fnStop).reason.outcome, FileOutcome::Cancelled);
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
    SpoolerApi& api = UseSpooler(FakeSpooler());
    api.StartDocPrinterW = NumberedStartDoc;
    api.GetJobW = ScriptedGetJob;
    constexpr DWORD kPrinting = JOB_STATUS_PRINTING, kSpooling = JOB_STATUS_SPOOLING;
    g_nNextJob = 0;
    g_jobScripts = {{kSpooling, kPrinting},                        // leaves the queue: sent
                    {kPrinting, kPrinting | JOB_STATUS_PAPEROUT},  // out of paper, then gone
                    {JOB_STATUS_PRINTED | JOB_STATUS_DELETING},    // printed and being removed
                    {JOB_STATUS_OFFLINE},                          // the printer is off
                    std::vector<DWORD>(1000, kPrinting)};          // still printing when the wait ends
    g_jobLooks.assign(g_jobScripts.size(), 0);
    TempFile file("submit_follow.pdf", "%PDF-1.4 follow");
    const PrintRunEnd end = RunOnUsb(std::vector<std::wstring>(g_jobScripts.size(), file.Path()), nullptr, 1);
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
    const std::wstring strPdf = Make(L"good.pdf", "%PDF-1.4");
    const std::wstring strLocked = Make(L"locked.pdf", "%PDF-1.4");
    HANDLE hLocked = CreateFileW(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FileReason locked = Admit(strLocked, 31);
    CloseHandle(hLocked);
    g_strGrowingFile = Make(L"growing.pdf", PseudoRandomBytes(1u << 20));
    SetCopyBlockHook(GrowFromOutside);
    const FileReason changed = SubmitToUsb(g_strGrowingFile).reason;
    SetSpoolFileCreator([](const wchar_t*) {
        SetLastError(ERROR_DISK_FULL);
        return INVALID_HANDLE_VALUE;
    });
    const FileReason noSpoolFile = SubmitToUsb(strPdf).reason;
    SetSpoolFileCreator(nullptr);
    g_calls.nFailingWrite = 0;
    const FileReason refused = SubmitToUsb(strPdf).reason;
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
        {Admit(Make(L"c.txt", "text"), 1 | 2 | 8), L"the printer takes PDF, JPEG and PNG, not TXT", L"TXT"},
        {Admit(Make(L"text.png", "text"), 31), L"not a PNG image", L"PNG"},
        {SubmitToUsb(Make(L"pjl.pdf", "%PDF-1.4\n" + kUELBytes + "@PJL")).reason, L"holds printer commands", L""},
        {changed, L"changed while it was being sent", L""},
        {noSpoolFile, L"the temporary copy could not be made: " + strFull, strFull},
        {refused, L"the spooler refused it: " + strFull, strFull},
        {SubmitToUsb(strPdf, [] { return true; }).reason, L"printing was cancelled", L""},
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
    LogCapture log;
    const PrintRunEnd end = RunOnUsb({small.Path(), big.Path(), small.Path()});
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
        std::vector<PrintRunProgress> reports;
        RunOnUsb(arrFiles, [&](const PrintRunProgress& progress) { reports.push_back(progress); });
        ASSERT_FALSE(reports.empty());
        EXPECT_TRUE(reports.back().bWaiting);
        EXPECT_EQ(reports.back().nPermille, 1000);
        EXPECT_TRUE(std::ranges::is_sorted(reports, {}, &PrintRunProgress::nPermille));
        std::vector<size_t> arrNamed;  // the files in the order the reports name them
        for (const PrintRunProgress& report : reports)
            if (arrNamed.empty() || arrNamed.back() != report.nFile)
                arrNamed.push_back(report.nFile);
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
