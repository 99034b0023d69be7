#pragma once
// A shell shortcut made as Explorer makes one (COM must be started on the thread).
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

inline bool MakeShortcut(const std::wstring& strLink, const std::wstring& strTarget)
{
    IShellLinkW* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&pLink))))
        return false;
    bool bSaved = false;
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->SetPath(strTarget.c_str())) &&
        SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        bSaved = SUCCEEDED(pFile->Save(strLink.c_str(), TRUE));
        pFile->Release();
    }
    pLink->Release();
    return bSaved;
}
