#include "job/settings/job_policy.h"

const wchar_t* LockedOptionGiven(const JobOptions& options, const JobPolicy& policy)
{
    if (policy.bLockColor && options.nColorMode)
        return L"/color";
    if (policy.bLockDuplex && options.nDuplex)
        return L"/duplex";
    if (policy.bLockPaper && options.nPaperSize)
        return L"/paper";
    if (policy.bLockPaper && options.nPaperType)
        return L"/type";
    return nullptr;
}
