#pragma once
// A dialog's control texts from the UI file, each with its built-in English default, as the
// pages and the sheet's own dialogs set them. Windows build only.
#include <windows.h>

#include <span>

// A control's text in the UI file: its key and the built-in English default.
struct LabelText {
    int nId;
    const wchar_t* key;
    const wchar_t* defaultText;
};

// Sets each control of hDialog from the UI file's section, the default where it has no text.
void SetLabelTexts(HWND hDialog, const wchar_t* pszSection, std::span<const LabelText> labels);
