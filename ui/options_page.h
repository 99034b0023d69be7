#pragma once
// COptionsPage: what the sheet's Basic and Advanced pages share: the page background,
// the control exchange, the dialog messages both answer and their labels' texts.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/data_exchange.h"
#include "ui/gradient_bkgnd.h"
#include "ui/group_frame.h"
#include "ui/label_texts.h"
#include "ui/window_layer.h"


// A row of a page's command table: a control's notification and the page's handler.
template <class Page>
struct CommandRoute {
    int nId;
    int nCode;
    void (Page::*pfnHandler)();
};

// Calls the handler of the row for (nId, nCode); false when no row has them.
template <class Page, std::size_t N>
bool RouteCommand(Page& page, const CommandRoute<Page> (&routes)[N], int nId, int nCode)
{
    for (const CommandRoute<Page>& route : routes) {
        if (route.nId == nId && route.nCode == nCode) {
            (page.*route.pfnHandler)();
            return true;
        }
    }
    return false;
}

// "Enter a number from 1 to 99.": what a number edit of the pages takes.
std::wstring RangeTipText(int nLow, int nHigh);
// A label's text from the UI file as it reads, for a balloon's title.
std::wstring LabelTitle(const wchar_t* pszSection, const wchar_t* pszKey, const wchar_t* pszDefault);

class COptionsPage : public CPropertyPageImpl, public CGradientBkgndT, public CWinDataExchange {
public:
    // pszLogName names the page in the creation log line ("Basic", "Advanced").
    COptionsPage(UINT nTemplateId, const wchar_t* pszLogName);

    bool m_bInitialized = false;

    // During a print run every control that takes input is disabled and drops are
    // refused; afterwards exactly the controls that were enabled before are again.
    void LockForRun(bool bLock);
    bool IsLockedForRun() const { return m_bLockedForRun; }

protected:
    // WM_INITDIALOG, WM_COMMAND, WM_TIMER and WM_DROPFILES go to the handlers below,
    // then the sheet's notifications and the background get their turn.
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    virtual BOOL OnInitDialog() = 0;
    // True when the command was handled.
    virtual bool OnCommand(int nId, int nCode) = 0;
    virtual void OnTimer(UINT_PTR nId) = 0;
    virtual void OnDropFiles(HDROP hDrop) = 0;

    // Sets each label from the UI file's section, the default where it has no text.
    void LoadLabelTexts(const wchar_t* pszSection, std::span<const LabelText> labels);
    // A bitmap a picture control of the page shows that the page keeps and deletes itself.
    virtual bool OwnsPicture(HBITMAP) const { return false; }

private:
    bool m_bLockedForRun = false;
    std::vector<HWND> m_arrUnlockOnRunEnd;
    std::vector<std::unique_ptr<CGroupFrame>> m_groupFrames;  // every group box of the page

    // When the page goes: its picture controls give back their bitmaps, which are
    // deleted (a control deletes none, not even the one its template loaded).
    void ReleasePictures();
};
