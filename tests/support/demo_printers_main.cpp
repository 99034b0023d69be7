// Adds demo printers to the Wine prefix it runs in, their jobs appended to files
// in a folder:   lumeo_demo_printers <unix-folder> [--remove]
#include <cstdio>
#include <string>

#include "tests/support/wine_printers.h"

namespace {
struct DemoPrinter {
    const wchar_t* pszName;
    const wchar_t* pszPort;
    const wchar_t* pszCapture;
    bool bXps;
};

const DemoPrinter kDemoPrinters[] = {
    {L"Lumeo Demo USB", L"USB001", L"USB001.prn", false},
    {L"Lumeo Demo Network", L"IP_127.0.0.1", L"IP_127.0.0.1.prn", false},
    {L"Lumeo Demo XPS", L"XPSPort:", L"XPSPort.prn", true},
};
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumeo_demo_printers <unix-folder> [--remove]\n");
        return 2;
    }
    const bool bRemove = argc > 2 && std::wstring(argv[2]) == L"--remove";
    std::string strFolder;
    for (const wchar_t* p = argv[1]; *p; ++p)
        strFolder += static_cast<char>(*p);  // the scripts pass plain ASCII paths
    const std::wstring strWinFolder = WineWindowsPath(strFolder);
    if (strWinFolder.empty()) {
        std::fprintf(stderr, "lumeo_demo_printers: not running under Wine, or no such folder: %s\n",
                     strFolder.c_str());
        return 1;
    }

    WinePrinters printers(L"Demo", /*bKeep=*/true);
    int nFailed = 0;
    for (const DemoPrinter& demo : kDemoPrinters) {
        if (bRemove) {
            printers.DeletePrinter(demo.pszName);
            continue;
        }
        const std::wstring strCapture = strWinFolder + L"\\" + demo.pszCapture;
        const TestPrinter* pPrinter =
            demo.bXps ? printers.AddXpsPrinter(demo.pszName, demo.pszPort, strCapture, /*bAppend=*/true)
                      : printers.AddRawPrinter(demo.pszName, demo.pszPort, strCapture, /*bAppend=*/true);
        if (pPrinter)
            std::printf("%ls on %ls -> %s\n", demo.pszName, demo.pszPort, WineUnixPath(strCapture).c_str());
        else
            ++nFailed;
    }
    return nFailed == 0 ? 0 : 1;
}
