#pragma once
// What a run without the sheet (/print, /probe) ends with: an outcome per file and the
// exit code a script sees.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_reason.h"
#include "printer/ipp/ipp_safety.h"

enum ScriptExitCode : int {
    kExitDone = 0,            // every file sent; /probe: the printer can print
    kExitUsage = 1,           // unknown option, bad value, no file
    kExitPrinter = 2,         // unknown printer, none installed, or no direct printing
    kExitNoAnswer = 3,        // the printer did not answer
    kExitFilesRefused = 4,    // a file was refused or unreadable (even all of them)
    kExitSpooler = 5,         // the spooler refused a job or showed trouble, or the printer did after it
    kExitPrinterStopped = 6,  // the printer reports it cannot print now (or stayed busy): nothing was sent
    kExitUnsafe = 7,          // the printer could not be reached safely (its certificate, its sign-in)
};

struct FileReport {
    std::wstring strShown;  // the path as given, or as a pattern expanded to
    FileReason reason{FileOutcome::NotFound};
    // False for a file the printer's admission rule refused (missing, no file, a type it
    // does not take, or no file matched the pattern), which was never sent.
    bool bAdmitted = false;
    // The impressions its job made, when the printer counted them for this job alone.
    std::optional<uint32_t> nPages;
};

// 0 when the printer takes some type, 2 when it takes none or none is installed (0, -2),
// 3 when it did not answer (-1).
int ExitCodeOfPrinterCheck(int nSupportedTypes);
// The same, 7 for a printer that did not answer because it could not be reached safely.
int ExitCodeOfPrinterCheck(int nSupportedTypes, IppSafety safety);
// /probe /all: 0 when some printer can print, else 3 when some did not answer, else 2.
int ExitCodeOfPrinterChecks(const std::vector<int>& arrSupportedTypes);

// 7 when a file's printer could not be reached safely, else 5 when the spooler refused a
// job or showed trouble for it, or the printer reported trouble after the run, else 4 when
// a file was refused or unreadable, else 0.
int ExitCodeOfFiles(const std::vector<FileReport>& arrReports);
