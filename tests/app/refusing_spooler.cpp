// Linked into a copy of Lumeo.exe whose spooler refuses every document, through the
// spooler seam: Wine's own spooler takes any document and fails only at the port.
#include "printer/spooler_api.h"

namespace {
DWORD WINAPI RefuseDocument(HANDLE, DWORD, LPBYTE)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

struct RefusingSpooler {
    SpoolerApi api = WinspoolApi();
    RefusingSpooler()
    {
        api.StartDocPrinterW = &RefuseDocument;
        SetSpoolerApi(&api);
    }
} g_refusingSpooler;
}  // namespace
