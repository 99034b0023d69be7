#include "printer/queue/document_window.h"

#include <windows.h>

namespace {
constexpr size_t kDefaultWindowBytes = 64u << 20;
size_t g_nWindowBytes = kDefaultWindowBytes;

size_t AllocationGranularity()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwAllocationGranularity ? info.dwAllocationGranularity : 65536;
}
}  // namespace

size_t DocumentWindowBytes() { return g_nWindowBytes; }

void SetDocumentWindowBytes(size_t nBytes)
{
    if (nBytes == 0) {
        g_nWindowBytes = kDefaultWindowBytes;
        return;
    }
    const size_t nGranularity = AllocationGranularity();
    g_nWindowBytes = (nBytes + nGranularity - 1) / nGranularity * nGranularity;
}
