#include "ui/system_dpi.h"

#include <windows.h>

#include "ui/dpi_scale.h"

int SystemDpi()
{
    // Read once, not on every hit test and paint: it cannot change while the process runs.
    static const int s_nDpi = [] {
        HDC hdc = GetDC(nullptr);
        const int nDpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 0;
        if (hdc)
            ReleaseDC(nullptr, hdc);
        return nDpi > 0 ? nDpi : kBaseDpi;
    }();
    return s_nDpi;
}
