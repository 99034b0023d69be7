#pragma once
// Standard class factory: makes a new object per CreateInstance, aggregated when an
// outer unknown is given. The module owns it; every reference handed out, like
// LockServer, keeps the module loaded, since the holder will call into it again.
#include <windows.h>
#include <unknwn.h>

class CKorettaClassFactory : public IClassFactory {
public:
    using CreatorFunction = HRESULT (*)(IUnknown* pUnkOuter, REFIID riid, void** ppv);
    explicit CKorettaClassFactory(CreatorFunction pfnCreate) : m_pfnCreate(pfnCreate) {}
    virtual ~CKorettaClassFactory() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;

private:
    CreatorFunction m_pfnCreate;
    volatile LONG m_nRef = 0;  // references held outside the module
};
