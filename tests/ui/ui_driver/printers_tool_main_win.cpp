// lumeo_test_printers: sets up Wine test printers by hand (for screenshots and trials).
//   lumeo_test_printers add <name> <port> [comment]   (the printer stays; its jobs go to
//                                                       a capture file in the temporary folder)
//   lumeo_test_printers default <name>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/wine_printers.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 4 && std::wstring(argv[1]) == L"add") {
        WinePrinters printers(L"Tool", /*bKeep=*/true);
        return printers.AddPrinterWithComment(argv[2], argv[3], argc >= 5 ? argv[4] : L"") ? 0 : 1;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"default")
        return WinePrinters::MakeDefault(argv[2]) ? 0 : 1;
    fwprintf(stderr, L"usage: lumeo_test_printers add <name> <port> [comment] | default <name>\n");
    return 2;
}
