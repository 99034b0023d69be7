// Advanced page: data exchange with JobSettings, the zoom edit's repairs and timer,
// and the click handlers that follow a change with the pictures and enabling.
#include "ui/advanced_opts_page.h"

#include "common/debug_log.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"

namespace {
struct Picture {
    int nValue;
    UINT nBitmapId;
};
constexpr Picture kColorPictures[] = {{0, IDB_COLOR_AUTO}, {1, IDB_COLOR_BW}};
constexpr Picture kDuplexPictures[] = {{0, IDB_DUPLEX_NONE}, {1, IDB_DUPLEX_LONG}, {2, IDB_DUPLEX_SHORT}};

template <size_t N>
UINT PictureOf(const Picture (&pictures)[N], int nValue)
{
    for (const Picture& picture : pictures)
        if (picture.nValue == nValue)
            return picture.nBitmapId;
    return 0;
}
}  // namespace

void CAdvancedOptsPage::AttachSpin()
{
    if (!m_spinZoom.m_hWnd)
        m_spinZoom.SubclassWindow(GetDlgItem(IDC_SPIN_ZOOM));
}

bool CAdvancedOptsPage::ExchangeAdvanced(DdxDirection dir)
{
    JobSettings& js = GetParamMngr()->m_JobSettings;
    HWND h = m_hWnd;
    if (dir == DdxDirection::Save) {
        const bool bRadios = DDX_Radio(h, IDC_RADIO_COLORMODE_AUTO, js.m_nColorMode, dir) &&
                             DDX_Radio(h, IDC_RADIO_DUPLEX_NONE, js.m_nDuplex, dir);
        // A zoom outside 50 to 200, or no number, is refused: the zoom taken before stays,
        // and so does what was typed, until the user changes it. Fit to page is read all the same.
        const int nZoomBefore = js.m_nZoom;
        const bool bZoom = DDX_IntRange(h, IDC_EDIT_ZOOM, js.m_nZoom, dir, 50, 200);
        if (!bZoom)
            js.m_nZoom = nZoomBefore;
        const bool bFit = DDX_Check(h, IDC_CHECK_ZOOM_FIT, js.m_bFitToPage, dir);
        KeepLocks();
        return bRadios && bZoom && bFit;
    }
    DDX_Radio(h, IDC_RADIO_COLORMODE_AUTO, js.m_nColorMode, dir);
    DDX_Radio(h, IDC_RADIO_DUPLEX_NONE, js.m_nDuplex, dir);
    AttachSpin();
    if (!DDX_Int(h, IDC_EDIT_ZOOM, js.m_nZoom, dir))
        return false;
    if (js.m_bFitToPage < 0 || js.m_bFitToPage > 2)
        js.m_bFitToPage = 0;
    return DDX_Check(h, IDC_CHECK_ZOOM_FIT, js.m_bFitToPage, dir);
}

bool CAdvancedOptsPage::ExchangeAdvancedForPrint()
{
    // With Fit to page the zoom is not used; otherwise the job carries what the edit shows
    // or nothing is printed: the page comes up with the edit and its range.
    if (ExchangeAdvanced(DdxDirection::Save) || GetParamMngr()->m_JobSettings.m_bFitToPage)
        return true;
    DebugLog(L"ExchangeAdvancedForPrint / zoom refused");
    const LRESULT nPage = SendMessageW(GetSheet(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(m_hWnd), 0);
    SendMessageW(GetSheet(), PSM_SETCURSEL, nPage, 0);
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_EDIT_ZOOM)), TRUE);
    m_editZoom.ShowRangeTip();
    return false;
}

void CAdvancedOptsPage::OnDataValidateError(HWND, int)
{
    // The zoom's range is said where the zoom is taken (timer, leaving the edit, Print).
}

void CAdvancedOptsPage::OnClickedColorMode()
{
    ExchangeAdvanced(DdxDirection::Save);
    if (UINT nBitmap = PictureOf(kColorPictures, GetParamMngr()->m_JobSettings.m_nColorMode))
        SetPictureBitmap(m_hPictureColor, m_pictures, nBitmap);
    m_preview.Refresh();
}

void CAdvancedOptsPage::OnClickedDuplex()
{
    ExchangeAdvanced(DdxDirection::Save);
    if (UINT nBitmap = PictureOf(kDuplexPictures, GetParamMngr()->m_JobSettings.m_nDuplex))
        SetPictureBitmap(m_hPictureDuplex, m_pictures, nBitmap);
    m_preview.Refresh();
}

void CAdvancedOptsPage::OnClickedFitToPage()
{
    ExchangeAdvanced(DdxDirection::Save);
    // After a bad zoom the box was not read; the value stored before decides.
    const BOOL bEnable = GetParamMngr()->m_JobSettings.m_bFitToPage == 0;
    EnableWindow(GetDlgItem(IDC_EDIT_ZOOM), bEnable);
    EnableWindow(GetDlgItem(IDC_SPIN_ZOOM), bEnable);
    m_preview.Refresh();
}

void CAdvancedOptsPage::OnChangeZoom()
{
    // Every change starts the second again: a timer set anew replaces the running one.
    KillTimer(m_hWnd, DEF_TIMER_ID_ADVANCED_UPDATEDATA);
    if (m_armTimer)
        m_armTimer(m_hWnd, DEF_TIMER_ID_ADVANCED_UPDATEDATA, kZoomTimerMs);
    else
        SetTimer(m_hWnd, DEF_TIMER_ID_ADVANCED_UPDATEDATA, kZoomTimerMs, nullptr);
}

void CAdvancedOptsPage::OnTimer(UINT_PTR nId)
{
    if (nId != DEF_TIMER_ID_ADVANCED_UPDATEDATA)
        return;
    KillTimer(m_hWnd, nId);
    DebugLog(L"Advanced : DEF_TIMER_ID_ADVANCED_UPDATEDATA");
    if (m_bInitialized && !ExchangeAdvanced(DdxDirection::Save))
        m_editZoom.ShowRangeTip();
}

void CAdvancedOptsPage::OnKillFocusZoom()
{
    if (m_bInitialized && !ExchangeAdvanced(DdxDirection::Save))
        m_editZoom.ShowRangeTip();
}
