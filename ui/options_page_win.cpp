#include "ui/options_page.h"

#include "common/debug_log.h"
#include "common/placeholders.h"
#include "common/ui_text.h"
#include "ui/access_keys.h"
#include "resources/resource.h"
#include "ui/sheet_status.h"

namespace {
// A click, a typed or chosen value: not a focus moving or a list opening.
bool IsUserChange(int nCode) { return nCode == BN_CLICKED || nCode == EN_CHANGE || nCode == CBN_SELCHANGE; }
}  // namespace

std::wstring RangeTipText(int nLow, int nHigh)
{
    return FillPlaceholders(GetUIText(L"UI_SHEET", L"IDL_RANGE", L"Enter a number from {1} to {2}."),
                            {std::to_wstring(nLow), std::to_wstring(nHigh)});
}

std::wstring LabelTitle(const wchar_t* pszSection, const wchar_t* pszKey, const wchar_t* pszDefault)
{
    return WithoutAccessKey(GetUIText(pszSection, pszKey, pszDefault));
}

COptionsPage::COptionsPage(UINT nTemplateId, const wchar_t* pszLogName)
    : CPropertyPageImpl(nTemplateId, pszLogName), CGradientBkgndT(IDB_PAGE_BKGND, 1)
{
}

bool COptionsPage::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
            if (IsWindowOfClass(hChild, L"Button") && (GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
                m_groupFrames.emplace_back(std::make_unique<CGroupFrame>())->SubclassWindow(hChild);
        // A page first opened during a print run starts locked.
        if (m_bLockedForRun) {
            m_bLockedForRun = false;
            LockForRun(true);
        }
        return true;
    case WM_COMMAND:
        // The user does something new: a run's outcome in the status line gives way.
        if (m_bInitialized && lParam && IsUserChange(CommandCode(wParam)))
            ReleaseSheetOutcome(GetSheet());
        if (OnCommand(CommandId(wParam), CommandCode(wParam))) {
            lResult = 0;
            return true;
        }
        break;
    case WM_TIMER:
        OnTimer(wParam);
        lResult = 0;
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        lResult = 0;
        return true;
    case WM_DESTROY:
        ReleasePictures();
        break;
    case WM_WINDOWPOSCHANGING: {
        // The sheet sizes pages in its own font; a page keeps the size its layout needs.
        auto* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pPos->flags & SWP_NOSIZE)) {
            const SIZE natural = NaturalSize();
            pPos->cx = natural.cx;
            pPos->cy = natural.cy;
        }
        break;
    }
    default:
        break;
    }
    if (CPropertyPageImpl::HandleMessage(uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}

void COptionsPage::LoadLabelTexts(const wchar_t* pszSection, std::span<const LabelText> labels)
{
    DebugLog(L"LoadLocalizedString / FileName / %s", g_szUIFileName);
    SetLabelTexts(m_hWnd, pszSection, labels);
}

void COptionsPage::ReleasePictures()
{
    for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!IsWindowOfClass(hChild, L"Static") || (GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        auto hBitmap = reinterpret_cast<HBITMAP>(SendMessageW(hChild, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (hBitmap && !OwnsPicture(hBitmap))
            DeleteObject(hBitmap);
    }
}

void COptionsPage::LockForRun(bool bLock)
{
    if (bLock == m_bLockedForRun)
        return;
    m_bLockedForRun = bLock;
    if (!m_hWnd)
        return;
    DragAcceptFiles(m_hWnd, !bLock);
    if (!bLock) {
        for (HWND hChild : m_arrUnlockOnRunEnd)
            EnableWindow(hChild, TRUE);
        m_arrUnlockOnRunEnd.clear();
        return;
    }
    for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        // Labels, group boxes and pictures take no input and keep their look.
        if (IsWindowOfClass(hChild, L"Static"))
            continue;
        if (IsWindowOfClass(hChild, L"Button") && (GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        if (IsWindowEnabled(hChild)) {
            m_arrUnlockOnRunEnd.push_back(hChild);
            EnableWindow(hChild, FALSE);
        }
    }
}
