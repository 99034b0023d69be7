// The Advanced page in-process, in a modeless sheet of its own (Windows, under Wine):
// its defaults, the zoom edit's repairs and timer, pictures, enabling and drops.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"
#include "tests/support/message_pump.h"
#include "tests/support/modeless_sheet.h"
#include "ui/advanced_opts_page.h"

namespace {
std::wstring TextOf(HWND hWnd)
{
    wchar_t szText[512] = {};
    GetWindowTextW(hWnd, szText, 512);
    return szText;
}

std::vector<BYTE> BitsOf(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !GetObjectW(hBitmap, sizeof(bm), &bm))
        return {};
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight + 8);
    bits.resize(GetBitmapBits(hBitmap, static_cast<LONG>(bits.size()), bits.data()));
    bits.push_back(static_cast<BYTE>(bm.bmWidth));
    bits.push_back(static_cast<BYTE>(bm.bmHeight));
    return bits;
}

// The window that stands for the Basic page: keeps the drop handle it is given.
LRESULT CALLBACK DropTargetProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_DROPFILES) {
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

class AdvancedPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUserLanguageIdForTesting(0x0409);
        CParamMngr* pMngr = CreateParamMngr();
        pMngr->SetZoom(150);
        pMngr->SetColorMode(1);
        pMngr->SetDuplex(2);
        pMngr->SetPaperSize(4);
        m_hPages[0] = m_page.Create(L"Advanced");
        m_hSheet = OpenModelessSheet(m_hPages, 1, L"Lumeo test");
        ASSERT_NE(m_hSheet, nullptr);
        Pump(100);
        ASSERT_TRUE(m_page.m_bInitialized);
    }
    void TearDown() override
    {
        if (m_hSheet)
            DestroyWindow(m_hSheet);
        DestroyParamMngr();
        SetUserLanguageIdForTesting(0);
    }
    HWND Item(int nId) const { return GetDlgItem(m_page.m_hWnd, nId); }
    // The text of the balloon this thread shows, if any.
    static std::wstring ShownTip()
    {
        std::wstring strTip;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hWnd, LPARAM lParam) {
                wchar_t szClass[64] = {};
                GetClassNameW(hWnd, szClass, 64);
                if (IsWindowVisible(hWnd) && lstrcmpiW(szClass, TOOLTIPS_CLASSW) == 0)
                    *reinterpret_cast<std::wstring*>(lParam) = TextOf(hWnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&strTip));
        return strTip;
    }
    void Click(int nId) const { SendMessageW(Item(nId), BM_CLICK, 0, 0); }
    const JobSettings& Settings() const { return GetParamMngr()->m_JobSettings; }
    bool Shows(int nPictureId, UINT nBitmapId) const
    {
        HBITMAP hShown = reinterpret_cast<HBITMAP>(SendMessageW(Item(nPictureId), STM_GETIMAGE, IMAGE_BITMAP, 0));
        HBITMAP hExpected = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nBitmapId));
        const bool bSame = !BitsOf(hShown).empty() && BitsOf(hShown) == BitsOf(hExpected);
        DeleteObject(hExpected);
        return bSame;
    }

    CAdvancedOptsPage m_page;
    HPROPSHEETPAGE m_hPages[1] = {};
    HWND m_hSheet = nullptr;
};
}  // namespace

TEST_F(AdvancedPage, OpensWithItsOwnDefaultsAndFullPaperLists)
{
    EXPECT_EQ(Settings().m_nColorMode, 0);
    EXPECT_EQ(Settings().m_nDuplex, 0);
    EXPECT_EQ(Settings().m_nZoom, 100);
    EXPECT_EQ(Settings().m_bFitToPage, 0);
    EXPECT_EQ(Settings().m_nPaperSize, 0);
    EXPECT_EQ(Settings().m_nPaperType, 0);
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_PAPERSIZE), CB_GETCOUNT, 0, 0), 17);
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_PAPERTYPE), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_PAPERSIZE), CB_GETCURSEL, 0, 0), 0);
    wchar_t szItem[128] = {};
    SendMessageW(Item(IDC_COMBO_PAPERSIZE), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(szItem));
    EXPECT_STREQ(szItem, L"Letter (8.50 x 11.00 Inches)");
    EXPECT_EQ(TextOf(Item(IDC_EDIT_ZOOM)), L"100");
    EXPECT_EQ(TextOf(Item(IDC_RADIO_COLORMODE_BW)), L"Black && White");
    EXPECT_TRUE(Shows(IDC_PICTURE_COLORMODE, IDB_COLOR_AUTO));
    EXPECT_TRUE(Shows(IDC_PICTURE_DUPLEX, IDB_DUPLEX_NONE));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_PICTURE_ADVANCED_LOGO)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_EDIT_ZOOM)));
}

TEST_F(AdvancedPage, ClicksWriteTheirSettingAndChangeThePictures)
{
    Click(IDC_RADIO_COLORMODE_BW);
    EXPECT_EQ(Settings().m_nColorMode, 1);
    EXPECT_TRUE(Shows(IDC_PICTURE_COLORMODE, IDB_COLOR_BW));
    Click(IDC_RADIO_DUPLEX_SHORT);
    EXPECT_EQ(Settings().m_nDuplex, 2);
    EXPECT_TRUE(Shows(IDC_PICTURE_DUPLEX, IDB_DUPLEX_SHORT));
    Click(IDC_RADIO_DUPLEX_LONG);
    EXPECT_TRUE(Shows(IDC_PICTURE_DUPLEX, IDB_DUPLEX_LONG));

    HWND hSize = Item(IDC_COMBO_PAPERSIZE);
    SendMessageW(hSize, CB_SETCURSEL, 4, 0);
    SendMessageW(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_COMBO_PAPERSIZE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hSize));
    EXPECT_EQ(Settings().m_nPaperSize, 4);
}

TEST_F(AdvancedPage, FitToPageDisablesTheZoomAndItsSpin)
{
    Click(IDC_CHECK_ZOOM_FIT);
    EXPECT_EQ(Settings().m_bFitToPage, 1);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_EDIT_ZOOM)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SPIN_ZOOM)));
    Click(IDC_CHECK_ZOOM_FIT);
    EXPECT_EQ(Settings().m_bFitToPage, 0);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_EDIT_ZOOM)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SPIN_ZOOM)));
}

TEST_F(AdvancedPage, EachZoomEditRestartsTheOneSecondTimerWhichRefusesAZoomOutOfRangeAndSaysSo)
{
    using Armed = std::vector<std::pair<UINT_PTR, UINT>>;
    Armed armed;
    m_page.SetTimerArmer([&](HWND, UINT_PTR nId, UINT nMs) { armed.push_back({nId, nMs}); });
    SetWindowTextW(Item(IDC_EDIT_ZOOM), L"250");
    SetWindowTextW(Item(IDC_EDIT_ZOOM), L"260");
    const Armed::value_type kOneSecond = {DEF_TIMER_ID_ADVANCED_UPDATEDATA, 1000};
    EXPECT_EQ(armed, (Armed{kOneSecond, kOneSecond})) << "the second edit must start the second again";

    SendMessageW(m_page.m_hWnd, WM_TIMER, DEF_TIMER_ID_ADVANCED_UPDATEDATA, 0);
    EXPECT_EQ(TextOf(Item(IDC_EDIT_ZOOM)), L"260") << "what was typed stays";
    EXPECT_EQ(Settings().m_nZoom, 100) << "the zoom taken before stays";
    EXPECT_EQ(ShownTip(), L"Enter a number from 50 to 200.");
    SetWindowTextW(Item(IDC_EDIT_ZOOM), L"175");
    SendMessageW(m_page.m_hWnd, WM_TIMER, DEF_TIMER_ID_ADVANCED_UPDATEDATA, 0);
    EXPECT_EQ(Settings().m_nZoom, 175);

    // A click elsewhere changes its own option, and leaves a zoom too small as typed.
    SetWindowTextW(Item(IDC_EDIT_ZOOM), L"20");
    Click(IDC_RADIO_COLORMODE_BW);
    Click(IDC_CHECK_ZOOM_FIT);
    EXPECT_EQ(TextOf(Item(IDC_EDIT_ZOOM)), L"20");
    EXPECT_TRUE(Shows(IDC_PICTURE_COLORMODE, IDB_COLOR_BW));
    EXPECT_EQ(Settings().m_nZoom, 175);
    EXPECT_EQ(Settings().m_bFitToPage, 1);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_EDIT_ZOOM)));
}

TEST_F(AdvancedPage, ThePrintReadRefusesAZoomTheJobCannotCarryUnlessTheZoomIsNotUsed)
{
    for (const wchar_t* pszZoom : {L"999", L""}) {
        SetWindowTextW(Item(IDC_EDIT_ZOOM), pszZoom);
        EXPECT_FALSE(m_page.ExchangeAdvancedForPrint()) << pszZoom;
        EXPECT_EQ(Settings().m_nZoom, 100);
        EXPECT_EQ(TextOf(Item(IDC_EDIT_ZOOM)), pszZoom);
        EXPECT_EQ(ShownTip(), L"Enter a number from 50 to 200.");
    }
    Click(IDC_CHECK_ZOOM_FIT);
    EXPECT_TRUE(m_page.ExchangeAdvancedForPrint());
    EXPECT_EQ(Settings().m_bFitToPage, 1);
    Click(IDC_CHECK_ZOOM_FIT);
    SetWindowTextW(Item(IDC_EDIT_ZOOM), L"175");
    EXPECT_TRUE(m_page.ExchangeAdvancedForPrint());
    EXPECT_EQ(Settings().m_nZoom, 175);
}

TEST_F(AdvancedPage, TheSpinStepsByOneBetweenFiftyAndTwoHundred)
{
    HWND hSpin = Item(IDC_SPIN_ZOOM);
    int nLow = 0, nHigh = 0;
    SendMessageW(hSpin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLow), reinterpret_cast<LPARAM>(&nHigh));
    EXPECT_EQ(nLow, 50);
    EXPECT_EQ(nHigh, 200);
    SetFocus(Item(IDC_EDIT_ZOOM));
    SendMessageW(Item(IDC_EDIT_ZOOM), WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(PumpUntil([&] { return TextOf(Item(IDC_EDIT_ZOOM)) == L"101"; }, 5000)) << TextOf(Item(IDC_EDIT_ZOOM));
}

TEST_F(AdvancedPage, DefaultPutsEveryChoiceBack)
{
    Click(IDC_RADIO_COLORMODE_BW);
    Click(IDC_RADIO_DUPLEX_LONG);
    Click(IDC_CHECK_ZOOM_FIT);
    SendMessageW(Item(IDC_COMBO_PAPERTYPE), CB_SETCURSEL, 3, 0);
    SendMessageW(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_COMBO_PAPERTYPE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(IDC_COMBO_PAPERTYPE)));
    EXPECT_EQ(Settings().m_nPaperType, 3);

    Click(IDC_BUTTON_ADV_DEFAULT);
    EXPECT_EQ(Settings().m_nColorMode, 0);
    EXPECT_EQ(Settings().m_nDuplex, 0);
    EXPECT_EQ(Settings().m_bFitToPage, 0);
    EXPECT_EQ(Settings().m_nPaperType, 0);
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_PAPERTYPE), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Item(IDC_RADIO_COLORMODE_AUTO), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Item(IDC_RADIO_DUPLEX_NONE), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(TextOf(Item(IDC_EDIT_ZOOM)), L"100");
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_EDIT_ZOOM)));
    EXPECT_TRUE(Shows(IDC_PICTURE_COLORMODE, IDB_COLOR_AUTO));
    EXPECT_TRUE(Shows(IDC_PICTURE_DUPLEX, IDB_DUPLEX_NONE));
}

TEST_F(AdvancedPage, DroppedFilesGoToTheBasicPageWithTheSameHandle)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &DropTargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumeoTestDropTarget";
    RegisterClassW(&wc);
    HWND hTarget = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    m_page.SetDropTarget([hTarget] { return hTarget; });

    const wchar_t szFiles[] = L"C:\\dropped.pdf\0";
    HGLOBAL hDrop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof(szFiles) + 2);
    auto* pDrop = static_cast<DROPFILES*>(GlobalLock(hDrop));
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = TRUE;
    memcpy(pDrop + 1, szFiles, sizeof(szFiles));
    GlobalUnlock(hDrop);
    SendMessageW(m_page.m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    EXPECT_EQ(reinterpret_cast<HGLOBAL>(GetWindowLongPtrW(hTarget, GWLP_USERDATA)), hDrop);
    GlobalFree(hDrop);
    DestroyWindow(hTarget);
}
