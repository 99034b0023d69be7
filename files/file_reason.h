#pragma once
// Why a file was not printed. The reason is decided where the fault is found (the
// admission of a file, its copy into the spool file, the spooler, the job in the queue)
// and carried as it is to whatever tells it: the sheet's messages and summary,
// LumeoCmd's lines and the debug log. Nothing downstream guesses it again.
#include <string>

enum class FileOutcome {
    Sent,  // no fault: admitted, or sent and printed without trouble
    // The file itself, found when it is added or copied.
    NotFound,
    NotAFile,  // a folder or a device
    CannotOpen,
    Empty,
    PathTooLong,
    TypeNotTaken,
    NotOfItsType,
    PrinterCommands,
    Changed,  // while it was being sent
    // The way to the printer.
    SpoolFileFailed,
    SpoolerRefused,
    Cancelled,
    InternalError,  // the sending threw; the file's job was aborted
    // Shown by the spooler's job before it left the queue.
    PrinterError,
    PrinterOffline,
    PaperOut,
    JobPaused,
    JobBlocked,
    JobDeleted,
    // Reported by the printer itself once the run's jobs had left the queue: the file was
    // sent, and the printer's own words travel in strDetail.
    PrinterTrouble,
    // A printer reached over IPP, before anything was sent: an option it does not support
    // (strDetail "sides=two-sided-long-edge"), a zoom no IPP attribute carries (strDetail the
    // percent), or a refusal in its own words (strDetail).
    OptionNotTaken,
    ZoomNotCarried,
    PrinterRefused,
    // A job of its own at a printer reached over IPP, once sent: ended by the printer without
    // printing (aborted, or cancelled there; its words in strDetail), not finished when the
    // wait ended (still to come, or held or stopped at the printer: its state in strDetail,
    // the seconds waited in nSeconds), or never taken because the printer stayed busy with
    // another job all the wait.
    JobAborted,
    NotFinished,
    JobStalled,
    PrinterBusy,
    // The printer's certificate or its sign-in (strDetail says which): nothing of the file
    // went to it.
    NotReachedSafely,
};

// A cause and what the text of its reason names. A printer that reports a trouble in
// its own words is one more cause whose words travel in strDetail.
struct FileReason {
    FileOutcome outcome = FileOutcome::Sent;
    int nFileType = 0;      // TypeNotTaken, NotOfItsType: the type bit its name gives (0: none known)
    int nPrinterTypes = 0;  // TypeNotTaken: the types the printer takes
    int nSeconds = 0;       // NotFinished, JobStalled: how long the job was followed
    // CannotOpen, SpoolFileFailed, SpoolerRefused: the system's error text; TypeNotTaken
    // of no known type: the extension of its name; PrinterTrouble: the printer's words.
    std::wstring strDetail;
    // ZoomNotCarried: the printer fits to page, so that is worth advising.
    bool bFitTaken = true;

    FileReason() = default;
    FileReason(FileOutcome cause) : outcome(cause) {}  // NOLINT: a bare cause is a reason
    FileReason(FileOutcome cause, std::wstring detail) : outcome(cause), strDetail(std::move(detail)) {}
    bool operator==(const FileReason&) const = default;
};

// The printer does not take the type an extension names.
FileReason TypeNotTakenReason(const std::wstring& strFileExt, int nPrinterTypes);
// A system error: not found, or the cause given with the system's text.
FileReason SystemFaultReason(FileOutcome cause, unsigned long nError);

// A refusal another printer may not make: the file is of a type Lumeo prints, only not
// one this printer takes. Every other refusal holds whatever the printer.
bool WaitsForAnotherPrinter(const FileReason& reason);

// The reason in the user's language: "the printer takes PDF and JPEG, not BMP".
std::wstring FileReasonText(const FileReason& reason);
// The cause alone, for counting files by cause: "the printer does not take the type".
std::wstring FileCauseText(FileOutcome outcome);
// "PDF, JPEG and BMP": the types of a mask joined as the language joins a list.
std::wstring TypeListText(int nTypes);
