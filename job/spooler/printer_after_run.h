#pragma once
// The printer followed through its route once a run's jobs have left the print queue: asked about
// once a second until it is idle again with a steady page counter, a stop condition
// appears, the time is up or a stop is asked for. Windows build only.
#include <functional>

#include "job/outcome/print_summary.h"
#include "printer/state/printer_route.h"

struct PrinterAfterRun {
    PrinterRunReport report;  // verdict Following: the following was stopped
    PrinterState last;        // the latest state the printer gave
};

// `before`: the state read before the run; `nMostPages`: the most pages the run can make;
// fnTell hears every state read while the following goes on, with the whole seconds left.
PrinterAfterRun FollowPrinterAfterRun(PrinterRoute& reader, const PrinterState& before, uint32_t nMostPages,
                                      unsigned nLimitSeconds,
                                      const std::function<bool()>& fnStop,
                                      const std::function<void(const PrinterState&, int)>& fnTell);
