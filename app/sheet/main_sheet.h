#pragma once
// CMainPropertySheet: Lumeo's only main window. A modal property sheet with the Basic
// and the Advanced page and the Print, Cancel and Help buttons; it creates the job
// settings, localizes its captions, shows the splash window with the version, opens
// the help file and runs the print run behind Print.
#include <optional>
#include <string>
#include <vector>

#include "common/worker.h"
#include "printer/state/printer_state.h"
#include "ui/advanced_opts_page.h"
#include "ui/basic_opts_page.h"
#include "ui/bmp_btn.h"
#include "ui/custom_tab.h"
#include "ui/finishing_page.h"
#include "ui/frame_dlg.h"
#include "ui/gradient_bkgnd.h"
#include "ui/window_layer.h"

class CQuestionDialog;

class CMainPropertySheet : public CSubclassWnd, public CGradientBkgndT, public CFrameDlgT {
public:
    explicit CMainPropertySheet(const std::wstring& strTitle);
    ~CMainPropertySheet() override;
    CMainPropertySheet(const CMainPropertySheet&) = delete;
    CMainPropertySheet& operator=(const CMainPropertySheet&) = delete;

    // Shows the sheet modally, owned by hOwner; returns its modal result.
    INT_PTR DoModal(HWND hOwner);

    // The print run's messages (kinds 5 to 8), modal over the sheet.
    void ShowErrorMessage(int nKind);

    // The sending half of a print run, on a worker; the sheet stays answering meanwhile.
    // `before`: the printer's state the user chose to send into; without it the run
    // reads the state first.
    void StartSending(std::vector<std::wstring> arrFiles, std::optional<PrinterState> before = std::nullopt);
    bool IsPrinting() const { return m_runWorker.IsBusy(); }

    CBasicOptsPage m_pageBasic;
    CAdvancedOptsPage m_pageAdvanced;
    CFinishingPage m_pageFinishing;

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static int CALLBACK PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam);
    static void AdjustTemplate(LPARAM lParam);
    void OnInitialized(HWND hWnd);
    void FitFrameToPages();
    void SetUpButtons();
    void SetUpTab();
    void AddPage(CPropertyPageImpl& page, const wchar_t* key, const wchar_t* defaultTitle);

    LRESULT OnPrint();
    void OnRunProgress();
    void OnRunEnded();
    // The printer reported a stop condition before the run: "Send anyway?" (default No).
    void AskSendAnyway(const PrinterState& before);
    // Cancel and Escape during a run stop it; the close box asks first. True: handled.
    bool OnCancelDuringRun();
    bool OnCloseDuringRun();
    // Logging off or shutting down: the run stops as with Cancel, and the system, which
    // ends the process once this returns, waits until its job is aborted (a few seconds at most).
    void OnSessionEnd();
    void ShowRunState(bool bRunning);
    static LRESULT CALLBACK TabKeyHook(int nCode, WPARAM wParam, LPARAM lParam);
    bool SelectTabOfAccessKey(wchar_t chKey);
    void TurnPage(int nStep);
    void OnHelp();
    void OnHelpInfo(const HELPINFO* pInfo);

    CCustomTab m_tab;
    CBmpBtn m_btnPrint;
    CBmpBtn m_btnCancel;
    CBmpBtn m_btnHelp;
    bool m_bCentered = false;
    std::wstring m_strTitle;
    HPROPSHEETPAGE m_hPages[3] = {};
    HHOOK m_hTabKeyHook = nullptr;
    int m_nPages = 0;
    // The control that had the focus on each page when Ctrl+Tab or Ctrl+PgDn left it.
    static constexpr int kMaxPages = 3;
    HWND m_hPageFocus[kMaxPages] = {};

    // The run being sent: its files in list order and its printer.
    CWorker m_runWorker;
    std::vector<std::wstring> m_arrRunFiles;
    std::wstring m_strRunPrinter;
    std::wstring m_strRunIppUrl;  // the run goes over IPP to this URL; empty: through the spooler
    bool m_bCloseAfterRun = false;
    // "Stop printing and close?" while it is open: the run's end answers it.
    CQuestionDialog* m_pCloseQuestion = nullptr;
    bool m_bStopping = false;
    HWND m_hFocusBeforeRun = nullptr;
    std::optional<PrinterState> m_lastFollowed;  // the printer's state as the run followed it last
};

// The print run's worker wakes the sheet with these to take its PrintRunProgress / PrintRunEnd.
constexpr UINT kMsgRunProgress = WM_APP + 20;
constexpr UINT kMsgRunEnded = WM_APP + 21;

extern CMainPropertySheet* g_pMainSheet;
