// Job options given on the command line, put over the settings.
#include "job/param_mngr.h"

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
}
