#pragma once
// What the settings summary panel shows, and where its paper picture goes:
// portable, so the texts and the picture's geometry are tested without a window.
#include <string>

#include "job/param_mngr.h"

struct InfoPreviewTexts {
    std::wstring strRange;   // top line: "All" or "2 - 5"
    std::wstring strPaper;   // "A4\n210 x 297 mm"; "Original\n" for size 0
    std::wstring strCopies;  // "Copies : 1"
    std::wstring strDuplex;  // "Double-Sided Printing : None"
    std::wstring strColor;   // "Color : Auto"
};

InfoPreviewTexts ComposeInfoPreviewTexts(const CParamMngr& mngr, int nPrimaryLanguage);

struct PreviewBox {
    int left, top, right, bottom;
};

// The paper picture's box in a client area (x0, y0)-(x1, y1), before the 6-pixel
// shrink: every size up to 297 mm high shares one scale, taller sizes shrink to fit.
PreviewBox PaperPictureBox(int x0, int y0, int x1, int y1, int nWidthMM, int nHeightMM, bool bLandscape);
