#include "app/script/probe_every_printer.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/debug_log.h"

ProbeFacts FactsOfProbe(const std::wstring& strPrinter, const PrinterProbe& probe)
{
    // Lumeo can print there, but the printer says not now: /probe ends as /print would. The
    // road /print takes by default: over IPP to a printer heard over IPP or reached by its URL.
    return {strPrinter, probe.route, probe.bObtained, probe.strDeviceID, probe.nSupportedTypes, probe.state,
            probe.nSupportedTypes > 0 && HasStopCondition(probe.state), probe.arrIpp,
            probe.arrIpp.empty() ? IppUrlOfRoute(probe.route.answered.get()) : strPrinter};
}

std::vector<ProbeFacts> ProbeEveryPrinter(const CPrtControl& prtControl)
{
    const size_t nCount = static_cast<size_t>(std::max(prtControl.GetPrinterCount(), 0));
    std::vector<std::wstring> arrNames(nCount), arrPorts(nCount);
    for (size_t i = 0; i < nCount; ++i) {
        const PRINTER_INFO_2W* pInfo = prtControl.GetPrinterInfo(static_cast<int>(i));
        arrNames[i] = pInfo && pInfo->pPrinterName ? pInfo->pPrinterName : L"";
        arrPorts[i] = prtControl.GetPrinterPortName(static_cast<int>(i));
    }
    // Each worker takes the next printer not yet taken; every slot is written by one worker only.
    std::vector<ProbeFacts> arrFacts(nCount);
    std::atomic<size_t> nNext{0};
    auto work = [&] {
        for (size_t i = nNext++; i < nCount; i = nNext++)
            arrFacts[i] = FactsOfProbe(arrNames[i], ProbePrinterOnPort(arrPorts[i]));
    };
    std::vector<std::thread> workers;
    try {
        for (size_t n = 0; n < std::min(nCount, kProbesAtOnce); ++n)
            workers.emplace_back(work);
    } catch (const std::system_error& e) {
        DebugLog(L"ProbeEveryPrinter : no more workers: %S", e.what());
    }
    if (workers.empty())
        work();  // no thread could be made: one after the other here
    for (std::thread& worker : workers)
        worker.join();
    return arrFacts;
}
