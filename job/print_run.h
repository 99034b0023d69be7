#pragma once
// The print run behind the sheet's Print button: the pages store their controls into
// JobSettings, the page range is checked, every file leaves the Basic page's list and
// goes, in list order, to SendDataToDevice. The sheet supplies the pages and the
// platform through PrintRunHost; the run itself is portable.
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
    // Advanced page controls into JobSettings; a zoom that fails is repaired in the
    // edit and read again, so the job carries what the edit shows.
    virtual bool ExchangeAdvancedForPrint() = 0;

    // Every path of the file list in row order; the list is emptied.
    virtual std::vector<std::wstring> TakePrintFiles() = 0;
    virtual int SendDataToDevice(const std::wstring& strPath) = 0;
    // A message of the print job (kinds of job/job_messages.h), modal.
    virtual void ShowErrorMessage(int nKind) = 0;
};

// What one run did, for the caller's log and for tests.
enum class PrintRunResult { Printed, InvalidRange, NoFiles };

// Needs CParamMngr (job/param_mngr.h) to exist. Files that fail do not end the run.
PrintRunResult RunPrint(PrintRunHost& host);
