#pragma once
// Koretta's application object: sets up the COM module when the library loads
// and takes it down when the library unloads.
#include <windows.h>

#include "i18n/lang_manager.h"

class CKorettaApp {
public:
    BOOL InitInstance(HINSTANCE hInstance);
    int ExitInstance();
};

extern CKorettaApp theApp;
// The language manager for Koretta's own folder, made on first use (a selection without a
// PDF file never needs it); it resolves the UI string file anew for every text.
CLangManager& KorettaLangManager();
