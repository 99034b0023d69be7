// Job options of the command line and of the policies, put over the settings, and the locks.
#include "job/settings/param_mngr.h"

void CParamMngr::ApplyBasicOptions(const JobOptions& options)
{
    if (options.nCopies)
        SetCopies(*options.nCopies);
    if (options.nFromPage && options.nToPage) {
        SetPrintRange(1);
        SetPageRange(*options.nFromPage, *options.nToPage);
    }
}

void CParamMngr::ApplyAdvancedOptions(const JobOptions& options)
{
    if (options.nPaperSize)
        SetPaperSize(*options.nPaperSize);
    if (options.nPaperType)
        SetPaperType(*options.nPaperType);
    if (options.nDuplex)
        SetDuplex(*options.nDuplex);
    if (options.nColorMode)
        SetColorMode(*options.nColorMode);
    if (options.nZoom)
        SetZoom(*options.nZoom);
    if (options.bFitToPage)
        SetFitToPage(*options.bFitToPage ? 1 : 0);
    EnforceLocks();
}

bool CParamMngr::EnforceLocks()
{
    JobSettings& js = m_JobSettings;
    const JobSettings before = js;
    const JobOptions& locked = m_Policy.defaults;
    if (m_Policy.bLockColor)
        js.m_nColorMode = locked.nColorMode.value_or(0);
    if (m_Policy.bLockDuplex)
        js.m_nDuplex = locked.nDuplex.value_or(0);
    if (m_Policy.bLockPaper) {
        js.m_nPaperSize = locked.nPaperSize.value_or(0);
        js.m_nPaperType = locked.nPaperType.value_or(0);
    }
    return js.m_nColorMode != before.m_nColorMode || js.m_nDuplex != before.m_nDuplex ||
           js.m_nPaperSize != before.m_nPaperSize || js.m_nPaperType != before.m_nPaperType;
}
