// Advanced page: creation, texts, paper lists, defaults, pictures, the sheet's
// notifications and dropped files.
#include "ui/advanced_opts_page.h"

#include <shellapi.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"
#include "ui/access_keys.h"
#include "ui/advanced_opts_text.h"

namespace {
constexpr LabelText kAdvancedLabels[] = {
    {IDC_STATIC_PAPAEROPTION, L"IDC_STATIC_PAPAEROPTION", L"Paper Option"},
    {IDC_STATIC_PAPERSIZE, L"IDC_STATIC_PAPERSIZE", L"Size"},
    {IDC_STATIC_PAPERTYPE, L"IDC_STATIC_PAPERTYPE", L"Type"},
    {IDC_STATIC_DUPLEX, L"IDC_STATIC_DUPLEX", L"Double-Sided Printing"},
    {IDC_RADIO_DUPLEX_NONE, L"IDC_RADIO_DUPLEX_NONE", L"None"},
    {IDC_RADIO_DUPLEX_LONG, L"IDC_RADIO_DUPLEX_LONG", L"Long Edge"},
    {IDC_RADIO_DUPLEX_SHORT, L"IDC_RADIO_DUPLEX_SHORT", L"Short Edge"},
    {IDC_STATIC_COLORMODE, L"IDC_STATIC_COLORMODE", L"Color"},
    {IDC_RADIO_COLORMODE_AUTO, L"IDC_RADIO_COLORMODE_AUTO", L"Auto"},
    {IDC_STATIC_REDUCEENLARGE, L"IDC_STATIC_REDUCEENLARGE", L"Reduce / Enlarge"},
    {IDC_CHECK_ZOOM_FIT, L"IDC_CHECK_ZOOM_FIT", L"Fit to page"},
    {IDC_STATIC_CUSTOM, L"IDC_STATIC_CUSTOM", L"Custom :"},
    {IDC_BUTTON_ADV_DEFAULT, L"IDC_BUTTON_ADV_DEFAULT", L"Default"},
};

void FillCombo(HWND hCombo, const std::vector<std::wstring>& arrItems)
{
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& strItem : arrItems)
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.c_str()));
}
}  // namespace

CAdvancedOptsPage::CAdvancedOptsPage()
    : COptionsPage(IDD_ADVANCED, L"Advanced"), m_btnDefault(IDB_BUTTON_FACE, 4)
{
}

CAdvancedOptsPage::~CAdvancedOptsPage() = default;

bool CAdvancedOptsPage::OnCommand(int nId, int nCode)
{
    using Page = CAdvancedOptsPage;
    static constexpr CommandRoute<Page> kRoutes[] = {
        {IDC_BUTTON_ADV_DEFAULT, BN_CLICKED, &Page::OnClickedButtonAdvDefault},
        {IDC_RADIO_COLORMODE_AUTO, BN_CLICKED, &Page::OnClickedColorMode},
        {IDC_RADIO_COLORMODE_BW, BN_CLICKED, &Page::OnClickedColorMode},
        {IDC_RADIO_DUPLEX_NONE, BN_CLICKED, &Page::OnClickedDuplex},
        {IDC_RADIO_DUPLEX_LONG, BN_CLICKED, &Page::OnClickedDuplex},
        {IDC_RADIO_DUPLEX_SHORT, BN_CLICKED, &Page::OnClickedDuplex},
        {IDC_CHECK_ZOOM_FIT, BN_CLICKED, &Page::OnClickedFitToPage},
        {IDC_EDIT_ZOOM, EN_CHANGE, &Page::OnChangeZoom},
        {IDC_EDIT_ZOOM, EN_KILLFOCUS, &Page::OnKillFocusZoom},
        {IDC_COMBO_PAPERSIZE, CBN_SELCHANGE, &Page::OnSelchangePaperSize},
        {IDC_COMBO_PAPERTYPE, CBN_SELCHANGE, &Page::OnSelchangePaperType},
    };
    return RouteCommand(*this, kRoutes, nId, nCode);
}

BOOL CAdvancedOptsPage::OnInitDialog()
{
    DebugLog(L"CAdvancedOptsPage::OnInitDialog:");
    m_hPictureColor = GetDlgItem(IDC_PICTURE_COLORMODE);
    m_hPictureDuplex = GetDlgItem(IDC_PICTURE_DUPLEX);
    m_btnDefault.Attach(GetDlgItem(IDC_BUTTON_ADV_DEFAULT));
    m_hComboPaperSize = GetDlgItem(IDC_COMBO_PAPERSIZE);
    m_preview.Attach(GetDlgItem(IDC_INFO_PREVIEW_ADVANCED));
    m_hComboPaperType = GetDlgItem(IDC_COMBO_PAPERTYPE);
    m_editZoom.Attach(GetDlgItem(IDC_EDIT_ZOOM), 3);
    m_editZoom.SetRangeTip(LabelTitle(L"UI_ADVANCED_TAB", L"IDC_STATIC_REDUCEENLARGE", L"Reduce / Enlarge"),
                           RangeTipText(50, 200));

    LoadAdvancedTexts();
    FillPaperSizeCombo();
    FillPaperTypeCombo();
    ApplyAdvancedDefaults(true);
    ExchangeAdvanced(DdxDirection::Load);
    ShowLocks();
    SendMessageW(GetSheet(), WM_APP, 0, 0);

    SetDefaultGuiFontOnChildren(m_hWnd);
    ShowWindow(GetDlgItem(IDC_PICTURE_ADVANCED_LOGO), SW_HIDE);
    m_spinZoom.SetRange(50, 200);
    DebugLog(L"CAdvancedOptsPage::OnInitDialog End");
    m_bInitialized = true;
    return TRUE;
}

void CAdvancedOptsPage::LoadAdvancedTexts()
{
    LoadLabelTexts(L"UI_ADVANCED_TAB", kAdvancedLabels);
    // "Black & White": the ampersand is part of the text, unless the text has an access key.
    const std::wstring strBW = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_COLORMODE_BW", L"Black & White");
    DebugLog(L"IDC_RADIO_COLORMODE_BW / %s", strBW.c_str());
    const std::wstring strRemoveAND = LabelWithAmpersands(strBW);
    DebugLog(L"IDC_RADIO_COLORMODE_BW / strRemoveAND %s", strRemoveAND.c_str());
    SetDlgItemTextW(m_hWnd, IDC_RADIO_COLORMODE_BW, strRemoveAND.c_str());
}

void CAdvancedOptsPage::FillPaperSizeCombo()
{
    FillCombo(m_hComboPaperSize, PaperSizeListItems(*GetParamMngr(), GetUserPrimaryLanguage()));
}

void CAdvancedOptsPage::FillPaperTypeCombo() { FillCombo(m_hComboPaperType, PaperTypeListItems(*GetParamMngr())); }

void CAdvancedOptsPage::ApplyAdvancedDefaults(bool bCommandLineOptions)
{
    CParamMngr* pMngr = GetParamMngr();
    pMngr->SetAdvancedDefaults();
    if (bCommandLineOptions)
        pMngr->ApplyAdvancedOptions(pMngr->m_CommandLineOptions);
    ExchangeAdvanced(DdxDirection::Load);
    const JobSettings& js = pMngr->m_JobSettings;
    SendMessageW(m_hComboPaperSize, CB_SETCURSEL, js.m_nPaperSize, 0);
    SendMessageW(m_hComboPaperType, CB_SETCURSEL, js.m_nPaperType, 0);
    // Their handlers set the pictures and the zoom controls' enabling.
    SendClick(IDC_RADIO_COLORMODE_AUTO);
    SendClick(IDC_RADIO_DUPLEX_NONE);
    SendClick(IDC_CHECK_ZOOM_FIT);
}

void CAdvancedOptsPage::SendClick(int nId)
{
    SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(nId)));
}

void CAdvancedOptsPage::OnSelchangePaperSize()
{
    const int nIndex = static_cast<int>(SendMessageW(m_hComboPaperSize, CB_GETCURSEL, 0, 0));
    DebugLog(L"Paper Size : GetCurSel : %d", nIndex);
    CParamMngr* pMngr = GetParamMngr();
    pMngr->SetPaperSize(nIndex);
    KeepLocks();
    m_preview.Refresh();
    DebugLog(L"Paper Size : %s / %s / %d * %d", pMngr->GetPaperSizeName().c_str(), pMngr->GetPaperSizePJL().c_str(),
             static_cast<int>(pMngr->GetPaperWidthMM()), static_cast<int>(pMngr->GetPaperHeightMM()));
}

void CAdvancedOptsPage::OnSelchangePaperType()
{
    const int nIndex = static_cast<int>(SendMessageW(m_hComboPaperType, CB_GETCURSEL, 0, 0));
    CParamMngr* pMngr = GetParamMngr();
    pMngr->SetPaperType(nIndex);
    KeepLocks();
    m_preview.Refresh();
    DebugLog(L"Paper Type : %s / %s", pMngr->GetPaperTypeName().c_str(), pMngr->GetPaperTypePJL().c_str());
}

LRESULT CAdvancedOptsPage::OnSetActive()
{
    DebugLog(L"CAdvancedOptsPage : OnSetActive");
    m_preview.Refresh();
    return 0;
}

LRESULT CAdvancedOptsPage::OnApply()
{
    DebugLog(L"CAdvancedOptsPage::OnApply()");
    return PSNRET_INVALID_NOCHANGEPAGE;
}

void CAdvancedOptsPage::OnDropFiles(HDROP hDrop)
{
    HWND hTarget = m_dropTarget ? m_dropTarget() : nullptr;
    if (hTarget && ::IsWindow(hTarget)) {
        // The Basic page adds the files and releases the handle.
        SendMessageW(hTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        return;
    }
    DragFinish(hDrop);
}
