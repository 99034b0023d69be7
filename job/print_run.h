#pragma once
// The print run behind the sheet's Print button: the pages store their controls into
// JobSettings and the page range is checked, on the window's thread; then every file of
// the Basic page's list is handed, in list order, to the sending half of the run, which
// the sheet runs on a worker (job/print_sender.h). Files leave the list once sent. The
// sheet supplies the pages and the platform through PrintRunHost; this part is portable.
#include <string>
#include <vector>

class PrintRunHost {
public:
    virtual ~PrintRunHost() = default;

    // The keyboard focus to the sheet, so an edit being typed into lets go first.
    virtual void FocusSheet() = 0;

    virtual bool IsBasicInitialized() const = 0;
    // Basic page controls into JobSettings (save direction); true when all were read.
    virtual bool ExchangeBasic() = 0;
    virtual bool IsPrintRangeValid() = 0;
    // The copies edit and JobSettings both to 1.
    virtual void ResetCopies() = 0;
    // The From and To edits show "1".
    virtual void SetPageEditsToOne() = 0;

    virtual bool IsAdvancedInitialized() const = 0;
    // Advanced page controls into JobSettings; false when the zoom edit holds no zoom
    // the job may carry (the page has said so): nothing is printed.
    virtual bool ExchangeAdvancedForPrint() = 0;
    // The Finishing page's choices into the job's ticket; false when the printer cannot
    // carry them (the page has said why): nothing is printed.
    virtual bool ExchangeTicketForPrint() { return true; }

    // Every path of the file list in row order (the Basic page is read once more first);
    // the list stays as it is.
    virtual std::vector<std::wstring> ListedPrintFiles() = 0;
    // Sends the files, in this order, off the window's thread.
    virtual void StartSending(std::vector<std::wstring> arrFiles) = 0;
    // A message of the print job (kinds of job/job_messages.h), modal.
    virtual void ShowErrorMessage(int nKind) = 0;
};

// What one run did, for the caller's log and for tests.
enum class PrintRunResult { Printed, InvalidRange, InvalidZoom, InvalidTicket, NoFiles };

// Needs CParamMngr (job/param_mngr.h) to exist. Printed: the files are being sent.
PrintRunResult RunPrint(PrintRunHost& host);
