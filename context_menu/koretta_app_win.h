#pragma once
// Koretta's application object: sets up the COM module when the library loads
// and takes it down when the library unloads.
#include <windows.h>

class CKorettaApp {
public:
    BOOL InitInstance(HINSTANCE hInstance);
    int ExitInstance();
};

extern CKorettaApp theApp;
