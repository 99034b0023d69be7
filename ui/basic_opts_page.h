#pragma once
// CBasicOptsPage: the sheet's first page. Printer choice (with the capability check
// and its messages), the file list, print range and copies, and the summary panel.
// Owns CPrtControl and nSupportedTypes; writes its controls into JobSettings.
#include <functional>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/worker.h"
#include "files/admit_files.h"
#include "printer/queue/prt_control.h"
#include "printer/state/printer_route.h"
#include "ui/bmp_btn.h"
#include "ui/info_preview.h"
#include "ui/options_page.h"
#include "ui/simple_controls.h"
#include "ui/skin_list.h"
#include "ui/state_view.h"
#include "printer/ipp/ipp_safety.h"

// Timers of the page: each shows its printer message once.
constexpr UINT_PTR kTimerNoPrinter = 1002;       // message 3
constexpr UINT_PTR kTimerNoSupport = 1003;       // message 2
constexpr UINT_PTR kTimerBusyOrOff = 1004;       // message 4
constexpr UINT_PTR kTimerStatePoll = 1005;       // the chosen network printer's state read again
constexpr UINT_PTR kTimerCheckChosen = 1006;     // the printer the arrow keys stopped on is checked

// The printer check's worker wakes the page with this to take its PrinterCheckReport.
constexpr UINT kMsgPrinterChecked = WM_APP + 10;
// The admission worker wakes the page with this to take its AdmissionResult.
constexpr UINT kMsgFilesAdmitted = WM_APP + 11;
// The state worker wakes the page with this to take its PrinterStateRead.
constexpr UINT kMsgStateRead = WM_APP + 12;

class CBasicOptsPage : public COptionsPage {
public:
    CBasicOptsPage();

    // Command line: set by the entry point before the page is created.
    std::wstring m_strCmdLine;
    std::vector<std::wstring> m_arrCmdFiles;
    std::wstring m_strCmdPrinter;
    // The administrator's default printer: chosen over the Windows one when installed.
    std::wstring m_strPolicyPrinter;

    int nSupportedTypes = -2;

    // True while the current printer's check runs: Print and Browse wait for its answer.
    bool IsCheckingPrinter() const { return m_checkWorker.IsBusy(); }
    // True while added files are being checked ("Checking files…").
    bool IsAdmittingFiles() const { return m_admitWorker.IsBusy(); }
    // A printer that takes files, and no check pending.
    bool IsReadyToPrint() const { return !IsCheckingPrinter() && !IsAdmittingFiles() && nSupportedTypes > 0; }

    // Save: controls into JobSettings, true when every entry succeeded. Load: the reverse.
    bool ExchangeBasic(DdxDirection dir);
    // Reads the controls again; invalid when To is less than From (read without a stop).
    bool IsPrintRangeValid();
    // Appends every entry's path in order; bTakeAll 1 then empties the list.
    int CollectPrintFiles(std::vector<std::wstring>& arrFiles, int bTakeAll);
    void RefreshPreview() { m_preview.Refresh(); }
    // After a run: the rows whose flag is set (sent files) leave the list.
    void RemovePrintedFiles(const std::vector<bool>& arrSent);
    // The page during a run (locked) and after it, with Print as the printer allows.
    void SetRunning(bool bRunning);
    void ShowErrorMessage(int nCode);
    int CheckSupportedTypes();
    // The current printer's name, as the spooler knows it (empty without printers).
    std::wstring CurrentPrinterName() const;
    // Where its check found the current printer's state; none when it gives none.
    const std::shared_ptr<const PrinterRoute>& StateTarget() const { return m_stateTarget; }
    // Told what the chosen printer offers a job (trays, bins, finishing, PIN) after each
    // check, and with bChecking when a check starts.
    void SetOfferListener(std::function<void(const TicketOffer& offer, bool bChecking)> fnListener)
    {
        m_fnOfferChanged = std::move(fnListener);
    }
    // The status line and indicator while the page has nothing else to say: the printer's
    // state, as read last (also by a run, which the page does not read meanwhile).
    void ShowPrinterState(const PrinterState& state);
    void ShowPrinterStateNow();
    // After a run: the state the run followed last, else the one before it; its trouble
    // or warning takes the status line.
    void ShowStateAfterRun(const std::optional<PrinterState>& followed);
    // F5: a printer that answered has its state read at once; any other is checked again.
    void Recheck();

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    LRESULT OnSetActive() override;
    LRESULT OnApply() override;
    void OnDataValidateError(HWND hDlg, int nId) override;

private:
    bool OnCommand(int nId, int nCode) override;
    BOOL OnInitDialog() override;
    void LoadBasicTexts();
    void ApplyBasicDefaults();
    void ShowCommandLineOptions();
    void FillPrinterList();
    void OnSelchangeComboPrinterlist();
    void OnSelendokComboPrinterlist();
    void OnDropdownComboPrinterlist() { m_bPrinterListOpened = true; }
    void OnSelendcancelComboPrinterlist() { m_bPrinterListOpened = false; }
    void OnTimer(UINT_PTR nId) override;

    // The capability check of the current printer on a worker; the answer comes back as
    // kMsgPrinterChecked. Files dropped meanwhile wait for it.
    void StartPrinterCheck(UINT nMessageDelayMs, bool bRemoveRefused);
    // A printer that answered but could not be reached safely: its message, or before a
    // changed certificate is trusted, the question (No the default; Yes pins it and asks again).
    void TellUnsafePrinter(const std::wstring& strNote);
    // The view with the certificate's line added to its card.
    StateView WithCertificate(StateView view) const;
    void OnPrinterChecked();
    // The idle re-read of the state on a worker, every few seconds; never during a run or
    // a check, never two at once.
    void ArmStatePoll();
    void ReadStateNow();
    void OnStateRead();
    void ApplyCheckResult(int nResult, const std::vector<RefusedFile>& arrRefusedListed);
    // Listed files the new printer refuses leave the list, named in one message; those
    // of a type it does not take wait for another printer.
    void TakeOffList(const std::vector<RefusedFile>& arrRefused);
    void OnChangeEdit();
    void OnKillFocusCopies();
    void OnKillFocusFrom();
    void OnKillFocusTo();
    void OnClickedPrintRange();
    void OnClickedButtonDefault();
    LRESULT OnCustomdrawList(NMLVCUSTOMDRAW* pDraw);

    // File list routes. Files of the command line, and listed files a printer refused
    // for their type, wait for a printer that takes them: each change of printer checks
    // them again.
    void QueueWaitingFiles();
    void OnClickedButtonBrowse();
    void OnDropFiles(HDROP hDrop) override;
    // Files of one route are checked on a worker, one batch after the other and never
    // during a printer check; the admitted ones are appended, the refused ones named in
    // one message.
    enum class FileRoute { Waiting, Browse, Drop };
    struct FileBatch {
        std::vector<std::wstring> arrPaths;
        FileRoute route = FileRoute::Browse;
        std::vector<bool> arrNamed;  // Waiting: whose refusal a message has shown already
    };
    struct WaitingFile {
        std::wstring strPath;
        bool bNamed = false;
    };
    void QueueFiles(std::vector<std::wstring> arrPaths, FileRoute route);
    void StartNextAdmission();
    void OnFilesAdmitted();
    void OnClickedButtonRemove();

    void ShowPrintButton(bool bShow);
    void EnableItem(int nId, bool bEnable) { EnableWindow(GetDlgItem(nId), bEnable); }
    void EnableRemoveForEntries(int nEntries) { EnableItem(1007, nEntries > 0); }
    void AttachSpin();
    int FileCount() const;

    CPrtControl m_PrtControl;
    CBmpBtn m_btnDefault;
    CBmpBtn m_btnRemove;
    CBmpBtn m_btnBrowse;
    CSkinListCtrl m_listFile;
    CInfoPreview m_preview;
    CNumEdit m_editCopies;
    CNumEdit m_editFrom;
    CNumEdit m_editTo;
    CUpDownCtrlImpl m_spinCopies;
    HWND m_hComboPrinter = nullptr;
    HWND m_hPictureOrientation = nullptr;
    HWND m_hList = nullptr;

    CWorker m_checkWorker;  // busy while the current printer is being checked
    std::shared_ptr<const PrinterRoute> m_stateTarget;
    std::function<void(const TicketOffer&, bool)> m_fnOfferChanged;
    std::optional<StateView> m_stateView;  // none for a printer without a state (local ports)
    CWorker m_stateWorker;                 // busy while the state is read again
    bool m_bRunning = false;
    bool m_bNotSnmp = false;  // the check's answer was not a printer's
    std::wstring m_strIppReason;  // why a printer asked over IPP alone did not answer
    IppSafetyFacts m_safety;      // why it could not be reached safely, when so
    std::string m_strPinName;     // the name its certificate's pin goes by
    std::wstring m_strCertificateLine;  // TLS: the certificate it showed, for the card
    // The printer list was opened: a choice from it, even of the same printer, asks again.
    bool m_bPrinterListOpened = false;
    UINT m_nCheckMessageDelayMs = 0;
    bool m_bCheckRemovesRefused = false;
    std::vector<WaitingFile> m_arrWaitingFiles;
    CWorker m_admitWorker;  // busy while a batch of files is being checked
    FileBatch m_batchAdmitting;
    std::deque<FileBatch> m_arrFileBatches;
};
