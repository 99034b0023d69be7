#pragma once
// CMainPropertySheet: Lumeo's only main window. A modal property sheet with the Basic
// and the Advanced page and the Print, Cancel and Help buttons; it creates the job
// settings, localizes its captions, shows the splash window with the version, opens
// the help file and runs the print run behind Print.
#include <string>

#include "ui/advanced_opts_page.h"
#include "ui/basic_opts_page.h"
#include "ui/bmp_btn.h"
#include "ui/custom_tab.h"
#include "ui/frame_dlg.h"
#include "ui/gradient_bkgnd.h"
#include "ui/window_layer.h"

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
    // The job of one file, passed on to the job functions with the Basic page's printer.
    std::wstring SendStartPJLCommand(const std::wstring& strPath);
    std::wstring SendEndPJLCommand();
    int SendDataToDevice(const std::wstring& strPath);

    CBasicOptsPage m_pageBasic;
    CAdvancedOptsPage m_pageAdvanced;

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static int CALLBACK PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam);
    static void AdjustTemplate(LPARAM lParam);
    void OnInitialized(HWND hWnd);
    void SetUpButtons();
    void SetUpTab();
    void AddPage(CPropertyPageImpl& page, const wchar_t* key, const wchar_t* defaultTitle);

    LRESULT OnPrint();
    void OnHelp();
    void OnHelpInfo(const HELPINFO* pInfo);

    CCustomTab m_tab;
    CBmpBtn m_btnPrint;
    CBmpBtn m_btnCancel;
    CBmpBtn m_btnHelp;
    bool m_bCentered = false;
    std::wstring m_strTitle;
    HPROPSHEETPAGE m_hPages[2] = {};
    int m_nPages = 0;
};

extern CMainPropertySheet* g_pMainSheet;
