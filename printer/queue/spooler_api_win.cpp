#include "printer/queue/spooler_api.h"

namespace {
const SpoolerApi* g_pSpoolerApi = nullptr;
}

const SpoolerApi& WinspoolApi()
{
    static const SpoolerApi api = {
        ::EnumPrintersW,   ::GetDefaultPrinterW, ::OpenPrinterW,   ::ClosePrinter,
        ::GetPrinterDriverW, ::StartDocPrinterW, ::StartPagePrinter, ::WritePrinter,
        ::EndPagePrinter,  ::EndDocPrinter,      ::AbortPrinter,    ::GetJobW,
    };
    return api;
}

const SpoolerApi& Spooler() { return g_pSpoolerApi ? *g_pSpoolerApi : WinspoolApi(); }

void SetSpoolerApi(const SpoolerApi* pApi) { g_pSpoolerApi = pApi; }
