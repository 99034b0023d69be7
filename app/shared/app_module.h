#pragma once
// The program's module object: the instance handle the windows and resources use,
// from the entry point's start to its end.
#include <windows.h>

class CAppModule {
public:
    void Init(HINSTANCE hInstance) { m_hInstance = hInstance; }
    void Term() { m_hInstance = nullptr; }
    HINSTANCE GetModuleInstance() const { return m_hInstance; }

private:
    HINSTANCE m_hInstance = nullptr;
};

extern CAppModule _Module;
