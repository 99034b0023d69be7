#pragma once
// Every pixel size of the skin is given as it is at 96 dpi. A window at another DPI
// uses it scaled by dpi / 96, rounded half away from zero as MulDiv rounds, so at
// 96 dpi every size stays what it is.
constexpr int kBaseDpi = 96;

constexpr int ScaleToDpi(int n96, int nDpi)
{
    if (nDpi <= 0)
        return n96;
    const long long p = static_cast<long long>(n96) * nDpi;
    const long long q = p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi);
    return static_cast<int>(q);
}
