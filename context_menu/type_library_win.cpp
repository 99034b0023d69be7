#include "context_menu/type_library_win.h"

#include <oleauto.h>

namespace {
HRESULT LoadEmbedded(const std::wstring& strModulePath, ITypeLib** ppTypeLib)
{
    if (strModulePath.empty())
        return E_UNEXPECTED;
    return LoadTypeLibEx(strModulePath.c_str(), REGKIND_NONE, ppTypeLib);
}
}  // namespace

HRESULT RegisterKorettaTypeLibrary(const std::wstring& strModulePath)
{
    ITypeLib* pTypeLib = nullptr;
    HRESULT hr = LoadEmbedded(strModulePath, &pTypeLib);
    if (FAILED(hr))
        return hr;
    std::wstring strPath = strModulePath;
    // The help folder with its final backslash, as LumeoSetup.msi writes it: both ways of
    // registering leave the same keys.
    std::wstring strHelpFolder = strModulePath.substr(0, strModulePath.rfind(L'\\') + 1);
    hr = RegisterTypeLib(pTypeLib, strPath.data(), strHelpFolder.data());
    pTypeLib->Release();
    return hr;
}

HRESULT UnregisterKorettaTypeLibrary(const std::wstring& strModulePath)
{
    ITypeLib* pTypeLib = nullptr;
    HRESULT hr = LoadEmbedded(strModulePath, &pTypeLib);
    if (FAILED(hr))
        return hr;
    TLIBATTR* pAttr = nullptr;
    hr = pTypeLib->GetLibAttr(&pAttr);
    if (SUCCEEDED(hr)) {
        hr = UnRegisterTypeLib(pAttr->guid, pAttr->wMajorVerNum, pAttr->wMinorVerNum, pAttr->lcid, pAttr->syskind);
        pTypeLib->ReleaseTLibAttr(pAttr);
    }
    pTypeLib->Release();
    return hr;
}

HRESULT LoadKorettaTypeInfo(const std::wstring& strModulePath, REFGUID guid, ITypeInfo** ppTypeInfo)
{
    ITypeLib* pTypeLib = nullptr;
    HRESULT hr = LoadEmbedded(strModulePath, &pTypeLib);
    if (FAILED(hr))
        return hr;
    hr = pTypeLib->GetTypeInfoOfGuid(guid, ppTypeInfo);
    pTypeLib->Release();
    return hr;
}
