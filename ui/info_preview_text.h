#pragma once
// What the settings summary panel shows, and where its paper picture goes:
// portable, so the texts and the picture's geometry are tested without a window.
#include <functional>
#include <string>
#include <vector>

#include "job/settings/param_mngr.h"

// "Copies : 1": a label and its value.
struct LabelledText {
    std::wstring strLabel;
    std::wstring strValue;
    std::wstring Joined() const;
    // The label as the joined text shows it, alone on its line ("Copies :").
    std::wstring LabelPart() const;
};

struct InfoPreviewTexts {
    std::wstring strRange;  // top line: "All" or "2 - 5"
    std::wstring strPaper;  // "A4\n210 x 297 mm"; "Original\n" for size 0
    LabelledText copies;    // "Copies : 1"
    LabelledText duplex;    // "Double-Sided Printing : None"
    LabelledText color;     // "Color : Auto"
};

InfoPreviewTexts ComposeInfoPreviewTexts(const CParamMngr& mngr, int nPrimaryLanguage);

// The width a piece of text takes in the panel's font.
using TextWidth = std::function<int(const std::wstring&)>;
// The lines a text takes in nWidth: broken at blanks, and inside a word only where the
// word alone is wider (a language without blanks, a long name). Nothing is cut off.
std::vector<std::wstring> WrapText(const std::wstring& strText, int nWidth, const TextWidth& fnWidth);
// "Label : value" on one line when it fits; else the label gives way: its line(s), then
// the value's.
std::vector<std::wstring> WrapLabelled(const LabelledText& text, int nWidth, const TextWidth& fnWidth);

struct PreviewBox {
    int left, top, right, bottom;
};

// Where the panel's parts go in a client area (x0, y0)-(x1, y1) at nDpi. The lines of
// text are as high as at 96 dpi scaled, or as the font's cell height needs, whichever
// is more (18 pixels at 96 dpi hold a 13-pixel font).
struct PreviewLayout {
    PreviewBox topLine;    // the print range
    PreviewBox paperText;  // the paper's name and size, two lines
    PreviewBox bands[3];   // copies, double-sided, colour: the grey bands at the bottom
    int nEdge;             // the panel's border, kept free around the bands
    int nTextInset;        // of the bands' text
    int nPictureTop;       // the paper picture's band starts here ...
    int nPictureHeight;    // ... and is this high
    int nShrink;           // the picture's box is shrunk by this on each side
    int nShadowStep;       // and sits on a shadow of two such steps
};
// How many lines of text each part holds.
struct PreviewLines {
    int nTop = 1;
    int nPaper = 2;
    int nBands[3] = {1, 1, 1};  // copies, double-sided, colour
};
PreviewLayout ComputePreviewLayout(int x0, int y0, int x1, int y1, int nDpi, int nTextCellHeight,
                                   const PreviewLines& lines = {});

// The paper picture's box before the shrink: every size up to 297 mm high shares one
// scale, taller sizes shrink to fit.
PreviewBox PaperPictureBox(const PreviewLayout& layout, int x0, int x1, int nWidthMM, int nHeightMM, bool bLandscape);
// The same at 96 dpi.
PreviewBox PaperPictureBox(int x0, int y0, int x1, int y1, int nWidthMM, int nHeightMM, bool bLandscape);
