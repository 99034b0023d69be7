// The Windows halves of the shared helpers: profile reader, system error text.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <fstream>
#include <stdexcept>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "common/worker.h"
#include "tests/support/child_process.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_file.h"

TEST(UITextWindows, ReadsTheUIStringFileThroughTheProfileReader)
{
    TempFile ini("LOCAL_GR.dat", Utf16File(L"[UI_SHEET]\r\nIDL_TITLE=Lumeo \x00DC" L"bersicht\r\nIDL_OK=\r\n"
                                           L"[PAPER_INFO_A4]\r\nWIDTH_MM=211\r\n[ERROR_MSG]\r\nLONG=" +
                                           std::wstring(400, L'z') + L"\r\n"));
    wcsncpy(g_szUIFileName, ini.Path().c_str(), kTextChars - 1);
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), L"Lumeo \x00DC" L"bersicht");
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_OK", L"OK"), L"");
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_HELP", L"Help"), L"Help");
    EXPECT_EQ(GetUIText(L"ERROR_MSG", L"LONG", L""), std::wstring(259, L'z'));
    EXPECT_EQ(GetUIInt(L"PAPER_INFO_A4", L"WIDTH_MM", 210), 211);
    EXPECT_EQ(GetUIInt(L"PAPER_INFO_A4", L"HEIGHT_MM", 297), 297);
    g_szUIFileName[0] = L'\0';
}

TEST(UITextWindows, MissingFileGivesDefaults)
{
    wcscpy(g_szUIFileName, L"C:\\no\\such\\folder\\LOCAL_EN.dat");
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), L"Lumeo");
    g_szUIFileName[0] = L'\0';
}

TEST(LogLastErrorWindows, SystemTextIsWrittenAsDataNotAsAFormat)
{
    // Find a system message that holds an insert such as "%1".
    DWORD withInsert = 0;
    std::wstring expected;
    for (DWORD code : {193u, 2u, 5u, 1157u, 126u}) {
        wchar_t* text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text),
                       0, nullptr);
        if (!text)
            continue;
        std::wstring t = text;
        LocalFree(text);
        if (withInsert == 0 || t.find(L'%') != std::wstring::npos) {
            withInsert = code;
            expected = t;
        }
        if (t.find(L'%') != std::wstring::npos)
            break;
    }
    ASSERT_NE(withInsert, 0u);
    LogCapture log(0);  // written whatever the switch
    SetLastError(withInsert);
    LogLastError();
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], expected.substr(0, 1023));
}

TEST(LogSwitchWindows, ReadFromTheRegistry)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvane\\KVQ", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    DWORD value = 0x00030005;  // low 16 bits count
    RegSetValueExW(key, L"LogKVQ", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof(value));
    g_wLogSwitch = 0;
    ReadLogSwitch();
    EXPECT_EQ(g_wLogSwitch, 5);
    RegDeleteValueW(key, L"LogKVQ");
    g_wLogSwitch = 0;
    ReadLogSwitch();
    EXPECT_EQ(g_wLogSwitch, 0);  // missing value leaves 0
    RegCloseKey(key);
}

TEST(WorkerWindows, AJobThatThrowsIsCaughtAndItsFailureJobReportsInstead)
{
    constexpr UINT kMsg = WM_APP + 1;
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    CWorker worker;
    worker.SetWindow(hWnd);
    LogCapture log;
    worker.Start([](const CWorker::Link&) { throw std::runtime_error("no tray"); },
                 [](const CWorker::Link& link) { link.Post(kMsg, std::make_unique<int>(-1)); });
    MSG msg;
    ASSERT_GT(GetMessageW(&msg, hWnd, kMsg, kMsg), 0);
    const std::unique_ptr<int> pAnswer = worker.TakeReport<int>(kMsg);
    ASSERT_NE(pAnswer, nullptr);
    EXPECT_EQ(*pAnswer, -1);
    EXPECT_EQ(worker.TakeReport<int>(kMsg), nullptr) << "a report is taken once";
    EXPECT_TRUE(log.Contains(L"CWorker / internal error : no tray"));
    DestroyWindow(hWnd);
}

extern "C" uintptr_t __stack_chk_guard;

TEST(StackGuardWindows, AnOverrunEndsTheProgramAtOnceAndEachProcessHasAGuardOfItsOwn)
{
    const std::wstring strChild = L"\"" LUMEO_STACK_OVERRUN_CHILD "\" ";
    EXPECT_EQ(RunAndWait(strChild + L"overrun"), 0xC0000409u);
    constexpr uintptr_t kBuiltIn = 0x2B992DDFA232ull;  // the value before the seed
    EXPECT_NE(__stack_chk_guard, kBuiltIn);
    const DWORD nFirst = RunAndWait(strChild + L"guard"), nSecond = RunAndWait(strChild + L"guard");
    EXPECT_NE(nFirst, static_cast<DWORD>(kBuiltIn));
    EXPECT_NE(nFirst, nSecond);
}
