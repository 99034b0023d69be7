#pragma once
// CAdvancedOptsPage: the sheet's second page. Paper size and type, double-sided
// printing, colour mode and scaling (fit to page or a zoom in percent), written into
// JobSettings; the summary panel; files dropped here go to the Basic page.
#include <functional>

#include "ui/bmp_btn.h"
#include "ui/info_preview.h"
#include "ui/options_page.h"
#include "ui/simple_controls.h"
#include "ui/picture_bitmaps.h"

// Takes the zoom over one second after its edit last changed.
constexpr UINT_PTR DEF_TIMER_ID_ADVANCED_UPDATEDATA = 1008;
constexpr UINT kZoomTimerMs = 1000;

// Arms one of the page's timers: SetTimer, unless a test watches what is asked of it.
using TimerArmer = std::function<void(HWND hWnd, UINT_PTR nId, UINT nMs)>;

class CAdvancedOptsPage : public COptionsPage {
public:
    CAdvancedOptsPage();
    ~CAdvancedOptsPage() override;

    // Save: controls into JobSettings, true when every entry succeeded. Load: the reverse.
    bool ExchangeAdvanced(DdxDirection dir);
    // The save the print run makes: false, with the page up and the zoom's range said,
    // when the zoom edit holds no zoom of 50 to 200 and Fit to page is off.
    bool ExchangeAdvancedForPrint();
    // The window that takes the files dropped onto this page (the Basic page).
    void SetDropTarget(std::function<HWND()> dropTarget) { m_dropTarget = std::move(dropTarget); }
    void SetTimerArmer(TimerArmer armer) { m_armTimer = std::move(armer); }

protected:
    LRESULT OnSetActive() override;
    LRESULT OnApply() override;
    void OnDataValidateError(HWND hDlg, int nId) override;
    bool OwnsPicture(HBITMAP hBitmap) const override { return m_pictures.Owns(hBitmap); }

private:
    bool OnCommand(int nId, int nCode) override;
    BOOL OnInitDialog() override;
    void LoadAdvancedTexts();
    void FillPaperSizeCombo();
    void FillPaperTypeCombo();
    // The defaults, and at the page's start the command line's options over them, into
    // JobSettings and the controls.
    void ApplyAdvancedDefaults(bool bCommandLineOptions = false);
    void OnClickedButtonAdvDefault() { ApplyAdvancedDefaults(); }
    void OnClickedColorMode();
    void OnClickedDuplex();
    void OnClickedFitToPage();
    void OnChangeZoom();
    void OnKillFocusZoom();
    void OnSelchangePaperSize();
    void OnSelchangePaperType();
    void OnTimer(UINT_PTR nId) override;
    void OnDropFiles(HDROP hDrop) override;
    // The administrator's locks: their controls disabled and their groups marked.
    void ShowLocks();
    // Puts a locked option that a message changed back, in the settings and the controls.
    void KeepLocks();

    void AttachSpin();
    void SendClick(int nId);

    CBmpBtn m_btnDefault;
    CUpDownCtrlImpl m_spinZoom;
    CInfoPreview m_preview;
    CNumEdit m_editZoom;
    HWND m_hComboPaperSize = nullptr;
    HWND m_hComboPaperType = nullptr;
    HWND m_hPictureColor = nullptr;
    HWND m_hPictureDuplex = nullptr;
    CPictureBitmaps m_pictures;  // what the colour and double-sided pictures show
    std::function<HWND()> m_dropTarget;
    TimerArmer m_armTimer;
};
