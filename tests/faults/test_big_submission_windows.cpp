// A file of 2 GiB + 1 byte (sparse, with marker bytes at its edges) through the whole
// submission to a captured port: the capture holds header, every byte and trailer.
// Sizes and markers are compared on disk, never the data in memory.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/ansi_text.h"
#include "job/outcome/job_messages.h"
#include "job/spooler/pjl_envelope.h"
#include "job/spooler/send_data_to_device.h"
#include "printer/queue/prt_control.h"
#include "tests/faults/sized_file.h"
#include "tests/support/log_capture.h"
#include "tests/support/wine_printers.h"

namespace {
const int64_t kSize = (int64_t{1} << 31) + 1;
const int64_t kMarkers[] = {0, (int64_t{1} << 31) - 1, int64_t{1} << 31};

bool PutByte(HANDLE h, int64_t nAt, char c)
{
    LARGE_INTEGER at;
    at.QuadPart = nAt;
    DWORD n = 0;
    return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && WriteFile(h, &c, 1, &n, nullptr) && n == 1;
}

std::string ReadAt(HANDLE h, int64_t nAt, DWORD nBytes)
{
    LARGE_INTEGER at;
    at.QuadPart = nAt;
    std::string s(nBytes, '\0');
    DWORD n = 0;
    if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !ReadFile(h, s.data(), nBytes, &n, nullptr))
        return {};
    s.resize(n);
    return s;
}
}  // namespace

TEST(BigSubmission, FileOfTwoGibibytesAndOneByteArrivesWhole)
{
    // Spool file, the spooler's own copy and the capture: about three times the file.
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    ULARGE_INTEGER nFree = {};
    if (GetDiskFreeSpaceExW(szTemp, &nFree, nullptr, nullptr) && nFree.QuadPart < 4 * static_cast<uint64_t>(kSize))
        GTEST_SKIP() << "not enough free disk space for three copies of 2 GiB";
    WinePrinters printers(L"FaultsBig");
    const TestPrinter* pPrinter = printers.AddRawPrinter(L"Lumeo Faults Big", L"USB008");
    ASSERT_NE(pPrinter, nullptr);

    SizedFile file(80, kSize);
    ASSERT_TRUE(file.Made());
    {
        HANDLE h = CreateFileW(file.Path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        for (size_t i = 0; i < 3; ++i)
            ASSERT_TRUE(PutByte(h, kMarkers[i], static_cast<char>('A' + i)));
        for (int i = 0; i < 5; ++i)  // a PDF by its first bytes
            ASSERT_TRUE(PutByte(h, 1 + i, "%PDF-"[i]));
        CloseHandle(h);
    }
    const std::string strHeader = ToThreadAnsi(SendStartPJLCommand(file.Path()));
    const std::string strTrailer = ToThreadAnsi(SendEndPJLCommand());
    ASSERT_NE(strHeader.find("@FILESIZE=2147483649\""), std::string::npos);

    std::vector<int> messages;
    SetJobMessageHandler([&messages](int nKind) { messages.push_back(nKind); });
    int nResult = 0;
    {
        PrinterChangeLock lock;
        CPrtControl prt;
        prt.SetCurrentPrinter(L"Lumeo Faults Big");
        LogCapture log;
        nResult = SendDataToDevice(prt, file.Path());
        const std::wstring strPrefix = L"SendDataToDevice / szTempName : ";
        for (const std::wstring& line : log.Lines()) {
            if (line.rfind(strPrefix, 0) == 0) {
                EXPECT_EQ(GetFileAttributesW(line.substr(strPrefix.size()).c_str()), INVALID_FILE_ATTRIBUTES);
            }
        }
        EXPECT_TRUE(log.Contains(L"SendDataToDevice / nResult : " +
                                 std::to_wstring(strHeader.size() + kSize + strTrailer.size())));
    }
    SetJobMessageHandler(nullptr);
    EXPECT_EQ(nResult, 1);
    EXPECT_TRUE(messages.empty());

    // The spooler hands the job to the port when it ends; wait for the whole capture.
    const int64_t nExpected = static_cast<int64_t>(strHeader.size() + strTrailer.size()) + kSize;
    HANDLE hCapture = INVALID_HANDLE_VALUE;
    LARGE_INTEGER size = {};
    for (int i = 0; i < 600; ++i) {
        hCapture = CreateFileW(pPrinter->strCapturePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (hCapture != INVALID_HANDLE_VALUE && GetFileSizeEx(hCapture, &size) && size.QuadPart >= nExpected)
            break;
        if (hCapture != INVALID_HANDLE_VALUE)
            CloseHandle(hCapture);
        hCapture = INVALID_HANDLE_VALUE;
        Sleep(500);
    }
    ASSERT_NE(hCapture, INVALID_HANDLE_VALUE) << "capture never reached " << nExpected << " bytes";
    EXPECT_EQ(size.QuadPart, nExpected);
    const int64_t nBody = static_cast<int64_t>(strHeader.size());
    EXPECT_EQ(ReadAt(hCapture, 0, static_cast<DWORD>(strHeader.size())), strHeader);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(ReadAt(hCapture, nBody + kMarkers[i], 1), std::string(1, static_cast<char>('A' + i))) << i;
    EXPECT_EQ(ReadAt(hCapture, nBody + (int64_t{1} << 30), 4), std::string(4, '\0'));
    EXPECT_EQ(ReadAt(hCapture, nBody + kSize, static_cast<DWORD>(strTrailer.size())), strTrailer);
    CloseHandle(hCapture);
    WinePrinters::ClearCapture(*pPrinter);  // give the 2 GiB back at once
}
