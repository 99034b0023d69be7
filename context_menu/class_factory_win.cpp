#include "context_menu/class_factory_win.h"

#include "context_menu/koretta_module_win.h"

STDMETHODIMP CKorettaClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CKorettaClassFactory::AddRef()
{
    g_korettaModule.Lock();
    return InterlockedIncrement(&m_nRef);
}

STDMETHODIMP_(ULONG) CKorettaClassFactory::Release()
{
    LONG nRef = InterlockedDecrement(&m_nRef);
    g_korettaModule.Unlock();
    return nRef;
}

STDMETHODIMP CKorettaClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    // An aggregated object hands out only its inner unknown.
    if (pUnkOuter && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    return m_pfnCreate(pUnkOuter, riid, ppv);
}

STDMETHODIMP CKorettaClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        g_korettaModule.Lock();
    else
        g_korettaModule.Unlock();
    return S_OK;
}
