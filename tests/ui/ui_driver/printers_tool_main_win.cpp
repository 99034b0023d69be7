// lumeo_test_printers: sets up Wine test printers by hand (for screenshots and trials).
//   lumeo_test_printers add <name> <port> [comment]   (the printer stays)
//   lumeo_test_printers default <name>
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

#include "wine_printers.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 4 && std::wstring(argv[1]) == L"add") {
        auto* pPrinter = new CTestPrinter(argv[2], argv[3], argc >= 5 ? argv[4] : L"");
        return pPrinter->IsAdded() ? 0 : 1;  // kept on purpose: it outlives the tool
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"default")
        return SetDefaultPrinterW(argv[2]) ? 0 : 1;
    fwprintf(stderr, L"usage: lumeo_test_printers add <name> <port> [comment] | default <name>\n");
    return 2;
}
