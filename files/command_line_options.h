#pragma once
// The whole command line: the run it asks for, the files, the printer and the job options.
//
// An unquoted token that is exactly an option name below, after "/" or "-", in any letter
// case, is that option; a quoted token never is. The M option ("-M"/"/m", the name after
// it or in the next token) is read as it always was. Without /print or /probe every other
// token is read as it always was, so the shell extension's command lines keep working and
// the job options preset the sheet. With one of them, any other unquoted token that starts
// with "/" or "-" is an unknown option. A repeated option: the last one wins.
//
//   /print [/m PRINTER] [/copies N] [/pages FROM[-TO]] [/paper SIZE] [/type TYPE]
//          [/duplex none|long|short] [/color auto|bw] [/fit | /zoom N] [/wait SECONDS]
//          [/via spooler|ipp] [/user NAME] [/tray NAME] [/bin NAME] [/finish VALUE[,VALUE...]] [/pin] [/json] FILE...
//   /probe [/m PRINTER [/trust] | /all] [/json]
//   /user NAME with either: the sign-in a printer asks for, its password from the
//   environment or the console, never from the command line
//   /?
#include <optional>
#include <span>
#include <string>
#include <vector>

enum class RunMode { Sheet, Print, Probe, Usage };

// The options a command line gave; unset ones take the sheet's defaults.
struct JobOptions {
    std::optional<int> nCopies;                     // 1..99
    std::optional<int> nFromPage, nToPage;          // 1..9999, From <= To; set together
    std::optional<int> nPaperSize, nPaperType;      // rows of the paper tables
    std::optional<int> nDuplex;                     // 0 none, 1 long edge, 2 short edge
    std::optional<int> nColorMode;                  // 0 auto, 1 black and white
    std::optional<int> nZoom;                       // 50..200
    std::optional<bool> bFitToPage;                 // /fit true, /zoom false
    // The printer's own values, known only once it is checked: kept as words until then.
    std::optional<std::wstring> strTray;            // a value or its name, "auto" or "bysize"
    std::optional<std::wstring> strOutputBin;       // a value or its name, or "auto"
    std::optional<std::wstring> strFinishings;      // "none" or keywords separated by commas
    bool bPin = false;                              // /pin: held at the printer until its PIN is typed

    bool Any() const
    {
        return nCopies || nFromPage || nPaperSize || nPaperType || nDuplex || nColorMode || nZoom || bFitToPage ||
               strTray || strOutputBin || strFinishings || bPin;
    }
};

struct CmdFile {
    std::wstring strPath;  // empty when the token was too long for its buffer
    bool bTooLong = false;
    std::wstring strShown;  // what a report shows: the path, or the start of a too-long one
};

enum class UsageError {
    None,
    UnknownOption,
    BadValue,
    MissingValue,
    NoFile,
    TwoModes,
    NotForProbe,
    OnlyForProbe,   // /all under /print
    AllAndPrinter,  // /all with /m
};

// The road of /print: unset, a queue heard over IPP is sent to over IPP, any other through
// the spooler; a printer reached by its URL alone has no spooler road.
enum class PrintRoad { Default, Spooler, Ipp };

constexpr int kDefaultWaitSeconds = 60;
constexpr size_t kValueTokenChars = 32;  // an option value holds at most 31 characters
constexpr size_t kTicketTokenChars = 128;  // but a tray, a bin or finishings at most 127

struct CommandLine {
    RunMode mode = RunMode::Sheet;
    std::vector<CmdFile> arrFiles;  // in order; under Sheet only the tokens that fit
    std::wstring strPrinter;        // of the last M option (the start of it when too long)
    bool bPrinterGiven = false;
    bool bPrinterTooLong = false;   // under /print and /probe: the last M option's name did not fit
    JobOptions options;
    int nWaitSeconds = kDefaultWaitSeconds;
    PrintRoad road = PrintRoad::Default;  // /via
    bool bJson = false;  // /json: one JSON document for scripts, even after a usage fault
    bool bAll = false;   // /probe /all: every installed printer
    bool bTrust = false;  // /probe /trust: the certificate the printer shows now replaces its pin
    std::wstring strUser;  // /user: the name to sign in with at a printer that asks
    UsageError error = UsageError::None;  // the first fault, under /print and /probe only
    std::wstring strErrorToken;           // the option (or file) it concerns
    std::wstring strErrorValue;           // the value refused
};

// The keywords /paper and /type take, in table order (any letter case on the line).
struct OptionKeywords {
    std::span<const wchar_t* const> paperSizes;
    std::span<const wchar_t* const> paperTypes;
};

CommandLine ReadCommandLine(const std::wstring& strCmdLine, const OptionKeywords& keywords);
