#pragma once
// /probe /all: every installed printer checked side by side on worker threads, a few at
// once. Each check ends within its own time-out, so a silent printer costs it once while
// the others are checked. Windows build only.
#include <string>
#include <vector>

#include "app/script/report/script_json.h"
#include "printer/printer_probe.h"
#include "printer/queue/prt_control.h"

// At most this many printers are asked at once: a print server with hundreds of queues
// must not get as many threads and sockets.
constexpr size_t kProbesAtOnce = 4;

ProbeFacts FactsOfProbe(const std::wstring& strPrinter, const PrinterProbe& probe);

// The facts of every printer of the list, in its order.
std::vector<ProbeFacts> ProbeEveryPrinter(const CPrtControl& prtControl);
