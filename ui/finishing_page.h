#pragma once
// CFinishingPage: the sheet's third page. The tray and output bin, the staple, punch and
// fold finishings and PIN printing, each offered only as the chosen printer lists it,
// written into JobSettings' ticket when Print is pressed; the summary panel lists the
// choices. Files dropped here go to the Basic page.
#include <functional>
#include <string>

#include "ui/bmp_btn.h"
#include "ui/finishing_choices.h"
#include "ui/options_page.h"
#include "ui/simple_controls.h"
#include "ui/ticket_preview.h"

class CFinishingPage : public COptionsPage {
public:
    CFinishingPage();
    ~CFinishingPage() override;

    // What the chosen printer offers on its road, after each check; bChecking while a
    // check is on its way (nothing may be chosen then). The lists are made anew, with the
    // command line's presets and the policies' defaults chosen.
    void SetOffer(const TicketOffer& offer, bool bChecking);
    // The save the print run makes: the ticket into JobSettings. False, with the reason
    // said and nothing printed, when the printer cannot carry it: no tray holds the paper,
    // PIN printing required and missing, or the PIN not fit to send.
    bool ExchangeTicketForPrint(const std::wstring& strPrinter);
    // The job is to be held with a PIN: the page must be open for it to be typed.
    bool NeedsPin() const { return PinWanted() && m_offer.nPinMaxDigits > 0; }
    void SetDropTarget(std::function<HWND()> dropTarget) { m_dropTarget = std::move(dropTarget); }

protected:
    LRESULT OnSetActive() override;
    LRESULT OnApply() override;

private:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode) override;
    void OnTimer(UINT_PTR) override {}
    void OnDropFiles(HDROP hDrop) override;
    void FillLists();
    // Controls enabled as the offer allows, the note saying why some are not.
    void ShowEnabling();
    void OnSelchange();
    void OnClickedPin();
    void OnClickedDefault();
    void RefreshPreview();
    bool PinWanted() const;
    // The page up with the PIN edit focused and what it takes in a balloon.
    void AskForPin();

    TicketOffer m_offer;
    bool m_bChecking = true;
    FinishingLists m_lists;
    FinishingEntries m_entries;
    bool m_bPin = false;
    CBmpBtn m_btnDefault;
    CNumEdit m_editPin;
    CTicketPreview m_preview;
    std::function<HWND()> m_dropTarget;
};
