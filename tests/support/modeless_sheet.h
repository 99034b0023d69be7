#pragma once
// Pages in a modeless sheet of their own, for the in-process page tests (Windows only).
#include <windows.h>
#include <prsht.h>

// The sheet's window, or nullptr when it cannot be made.
inline HWND OpenModelessSheet(HPROPSHEETPAGE* phPages, UINT nPages, const wchar_t* pszCaption)
{
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
    psh.hInstance = GetModuleHandleW(nullptr);
    psh.pszCaption = pszCaption;
    psh.nPages = nPages;
    psh.phpage = phPages;
    return reinterpret_cast<HWND>(PropertySheetW(&psh));
}
