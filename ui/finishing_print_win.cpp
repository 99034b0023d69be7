// Finishing page: the ticket taken when Print is pressed, refused with its reason when
// the printer cannot carry it.
#include "ui/finishing_page.h"

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "job/outcome/job_messages.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"

void CFinishingPage::AskForPin()
{
    const LRESULT nPage = SendMessageW(GetSheet(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(m_hWnd), 0);
    SendMessageW(GetSheet(), PSM_SETCURSEL, nPage, 0);
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_EDIT_PIN)), TRUE);
    m_editPin.ShowRangeTip();
}

bool CFinishingPage::ExchangeTicketForPrint(const std::wstring& strPrinter)
{
    CParamMngr* pMngr = GetParamMngr();
    JobSettings& js = pMngr->m_JobSettings;
    JobTicket ticket;
    TicketRefusal refusal = PinRequiredRefusal(m_offer, pMngr->m_Policy.bRequirePin);
    if (!refusal)
        refusal = TicketOfEntries(m_lists, m_entries, m_offer, js.m_nPaperSize,
                                  pMngr->PaperSizes()[js.m_nPaperSize], ticket);
    if (refusal) {
        DebugLog(L"CFinishingPage::ExchangeTicketForPrint / refused");
        CMessageDialog dialog(TicketRefusalText(refusal, strPrinter), JobMessageCaption(), IDI_EXCLAMATION);
        dialog.ShowModal(GetSheet());
        return false;
    }
    if (NeedsPin()) {
        wchar_t szPin[kMaxPinDigits + 2] = {};
        if (m_hWnd)
            GetDlgItemTextW(m_hWnd, IDC_EDIT_PIN, szPin, static_cast<int>(std::size(szPin)));
        const std::wstring strPin = szPin;
        SecureZeroMemory(szPin, sizeof(szPin));
        if (CheckPin(strPin, m_offer, pMngr->m_Policy.bRequirePin, ticket.strPin)) {
            if (m_hWnd)
                AskForPin();
            return false;
        }
    }
    js.m_Ticket = ticket;
    return true;
}
