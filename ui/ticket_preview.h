#pragma once
// CTicketPreview: the Finishing page's summary panel, the chosen tray, output bin,
// finishing and PIN printing as "label : value" lines on the panel's background.
#include <vector>

#include "resources/resource.h"
#include "ui/info_preview_text.h"
#include "ui/skin_bitmap.h"
#include "ui/window_layer.h"

class CTicketPreview : public CSubclassWnd {
public:
    bool Attach(HWND hPanel) { return SubclassWindow(hPanel); }
    void Show(std::vector<LabelledText> arrTexts);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);

    std::vector<LabelledText> m_arrTexts;
    CSkinBitmap m_background{IDB_PREVIEW_BKGND, {1, 1, 1, 1, 1, false}};
};
