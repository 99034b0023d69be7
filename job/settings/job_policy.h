#pragma once
// What an administrator's policies set for the job: defaults over the built-in ones, and
// options locked to them, which neither the command line nor the user may change.
#include "files/command_line_options.h"

struct JobPolicy {
    JobOptions defaults;      // copies, paper, double-sided, colour, fit to page, tray, bin, finishing
    bool bLockColor = false;  // a locked option keeps the default's value, else the built-in one
    bool bLockDuplex = false;
    bool bLockPaper = false;  // paper size and paper type
    // Every job is held at the printer until its PIN is typed there; a printer without PIN
    // printing is refused.
    bool bRequirePin = false;
};

// The first job option of a command line that a lock forbids ("/color", "/duplex",
// "/paper", "/type"), or nullptr when it gives none.
const wchar_t* LockedOptionGiven(const JobOptions& options, const JobPolicy& policy);
