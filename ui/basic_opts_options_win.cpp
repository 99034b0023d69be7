// Basic page: the job options of the command line over the defaults, when the page starts.
#include "ui/basic_opts_page.h"

#include "job/settings/param_mngr.h"
#include "resources/resource.h"

void CBasicOptsPage::ShowCommandLineOptions()
{
    CParamMngr* pMngr = GetParamMngr();
    const JobOptions& options = pMngr->m_CommandLineOptions;
    if (!options.nCopies && !options.nFromPage)
        return;
    pMngr->ApplyBasicOptions(options);
    AttachSpin();
    ExchangeBasic(DdxDirection::Load);
    // The range radio's handler enables the page edits and shows the bounds in them.
    if (pMngr->m_JobSettings.m_nPrintRange == 1)
        SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RADIO_PRINTRANGE_PAGES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(IDC_RADIO_PRINTRANGE_PAGES)));
}
