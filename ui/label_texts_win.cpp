#include "ui/label_texts.h"

#include "common/ui_text.h"

void SetLabelTexts(HWND hDialog, const wchar_t* pszSection, std::span<const LabelText> labels)
{
    for (const LabelText& label : labels)
        SetDlgItemTextW(hDialog, label.nId, GetUIText(pszSection, label.key, label.defaultText).c_str());
}
