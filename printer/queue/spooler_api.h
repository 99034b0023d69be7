#pragma once
// The winspool calls of the printer list, the submission and the job follow-up, behind one table so
// that tests can make the spooler take part of the data, fail, or vanish.
// Windows build only.
#include <windows.h>
#include <winspool.h>

struct SpoolerApi {
    decltype(&::EnumPrintersW) EnumPrintersW;
    decltype(&::GetDefaultPrinterW) GetDefaultPrinterW;
    decltype(&::OpenPrinterW) OpenPrinterW;
    decltype(&::ClosePrinter) ClosePrinter;
    decltype(&::GetPrinterDriverW) GetPrinterDriverW;
    decltype(&::StartDocPrinterW) StartDocPrinterW;
    decltype(&::StartPagePrinter) StartPagePrinter;
    decltype(&::WritePrinter) WritePrinter;
    decltype(&::EndPagePrinter) EndPagePrinter;
    decltype(&::EndDocPrinter) EndDocPrinter;
    decltype(&::AbortPrinter) AbortPrinter;
    decltype(&::GetJobW) GetJobW;
};

// The real spooler (winspool through its import library).
const SpoolerApi& WinspoolApi();
// The table in use: the one set last, else WinspoolApi().
const SpoolerApi& Spooler();
// nullptr restores winspool. The table must outlive its use.
void SetSpoolerApi(const SpoolerApi* pApi);
