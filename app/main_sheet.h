#pragma once
// CMainPropertySheet, first cut: the modal sheet with the Basic page, its frame,
// background, tab strip and bitmap buttons. Still to come here: the Advanced page,
// the splash window with the version, help, and the print run behind Print.
#include <string>

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

    // Shows the sheet modally; returns its modal result.
    INT_PTR DoModal(HWND hOwner);

    CBasicOptsPage m_pageBasic;

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static int CALLBACK PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam);
    void OnInitialized(HWND hWnd);

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
