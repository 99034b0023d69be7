// Adds (or removes) the printer the Lumeo demo prints to, in the Wine prefix it runs
// in: "Lumeo Demo File" on port "FILE_Demo", which Lumeo accepts for every file type;
// each job is appended to FILE_Demo.prn in a folder.
//   lumeo_demo_file_printer <unix-folder> [--remove]
//   lumeo_demo_file_printer --press-print   (presses Print on the open sheet, then closes it)
//   lumeo_demo_file_printer --show-page <n> [control ids to click...]  (for screenshots)
//   lumeo_demo_file_printer --add <name> <port>   (a printer on another port, e.g. a printer's URL)
#include <windows.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/wine_printers.h"

namespace {
// The sheet is the dialog window titled "Lumeo" that holds a tab control.
HWND WaitForSheet(DWORD dwTimeoutMs)
{
    for (DWORD dwWaited = 0; dwWaited < dwTimeoutMs; dwWaited += 250) {
        HWND hSheet = FindWindowW(L"#32770", L"Lumeo");
        if (hSheet && IsWindowVisible(hSheet) && FindWindowExW(hSheet, nullptr, L"SysTabControl32", nullptr))
            return hSheet;
        Sleep(250);
    }
    return nullptr;
}

int PressPrint()
{
    HWND hSheet = WaitForSheet(60000);
    if (!hSheet) {
        std::fprintf(stderr, "lumeo_demo_file_printer: no Lumeo sheet appeared\n");
        return 1;
    }
    Sleep(2500);  // the splash window's time
    // Print is enabled once the printer check has answered, disabled while the files are
    // sent, and enabled again when the run has ended: only then may Cancel close the sheet
    // (during a run it would stop the run).
    HWND hPrint = GetDlgItem(hSheet, IDOK);
    const auto WaitForPrint = [hPrint](bool bEnabled) {
        for (DWORD dwWaited = 0; dwWaited < 120000 && (IsWindowEnabled(hPrint) != FALSE) != bEnabled; dwWaited += 100)
            Sleep(100);
        return (IsWindowEnabled(hPrint) != FALSE) == bEnabled;
    };
    if (!WaitForPrint(true)) {
        std::fprintf(stderr, "lumeo_demo_file_printer: Print never became available\n");
        return 1;
    }
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hSheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, SMTO_NORMAL, 60000, &dwResult);
    WaitForPrint(true);
    PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

// Opens tab nPage and clicks controls of that page.
int ShowPage(int nPage, const std::vector<int>& arrClicks)
{
    HWND hSheet = WaitForSheet(60000);
    if (!hSheet)
        return 1;
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hSheet, PSM_SETCURSEL, nPage, 0, SMTO_NORMAL, 10000, &dwResult);
    SendMessageTimeoutW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, 10000, &dwResult);
    HWND hPage = reinterpret_cast<HWND>(dwResult);
    for (int nId : arrClicks)
        SendMessageTimeoutW(GetDlgItem(hPage, nId), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &dwResult);
    return 0;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"--press-print")
        return PressPrint();
    if (argc >= 3 && std::wstring(argv[1]) == L"--show-page") {
        std::vector<int> arrClicks;
        for (int i = 3; i < argc; ++i)
            arrClicks.push_back(_wtoi(argv[i]));
        return ShowPage(_wtoi(argv[2]), arrClicks);
    }
    if (argc == 4 && std::wstring(argv[1]) == L"--add") {
        WinePrinters printers(L"DemoOther", /*bKeep=*/true);
        return printers.AddRawPrinter(argv[2], argv[3]) ? 0 : 1;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumeo_demo_file_printer <unix-folder> [--remove]\n");
        return 2;
    }
    const std::wstring strName = L"Lumeo Demo File";
    WinePrinters printers(L"DemoFile", /*bKeep=*/true);
    if (argc > 2 && std::wstring(argv[2]) == L"--remove")
        return printers.DeletePrinter(strName) ? 0 : 1;
    std::string strFolder;
    for (const wchar_t* p = argv[1]; *p; ++p)
        strFolder += static_cast<char>(*p);  // the script passes a plain ASCII path
    const std::wstring strWinFolder = WineWindowsPath(strFolder);
    if (strWinFolder.empty()) {
        std::fprintf(stderr, "lumeo_demo_file_printer: not under Wine, or no such folder: %s\n", strFolder.c_str());
        return 1;
    }
    const std::wstring strCapture = strWinFolder + L"\\FILE_Demo.prn";
    if (!printers.AddRawPrinter(strName, L"FILE_Demo", strCapture, /*bAppend=*/true)) {
        std::fprintf(stderr, "lumeo_demo_file_printer: Wine refused the printer\n");
        return 1;
    }
    std::printf("%ls on FILE_Demo -> %s\n", strName.c_str(), WineUnixPath(strCapture).c_str());
    return 0;
}
