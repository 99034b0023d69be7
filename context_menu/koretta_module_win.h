#pragma once
// The COM module of Koretta: the object map, the module handle, the LIBID, the lock
// count (live objects plus server locks) and the cached class objects.
#include <windows.h>

#include <string>

class CKorettaClassFactory;

struct KorettaObjectEntry {
    const CLSID* pClsid;
    // Creates a new object; an outer unknown asks for aggregation.
    HRESULT (*pfnCreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv);
    // Writes (bRegister TRUE) or removes the class's registry entries.
    HRESULT (*pfnUpdateRegistry)(BOOL bRegister);
};

class CKorettaModule {
public:
    void Init(const KorettaObjectEntry* pObjectMap, size_t nEntries, HINSTANCE hInstance, const GUID* pLibid);
    void Term();

    LONG Lock();
    LONG Unlock();
    LONG GetLockCount() const { return m_nLockCount; }

    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
    HRESULT RegisterServer();
    HRESULT UnregisterServer();
    // Applies registrar script resource nResourceId with %MODULE% set to this module's path.
    HRESULT UpdateRegistryFromResource(UINT nResourceId, BOOL bRegister);

    HINSTANCE GetModuleInstance() const { return m_hInstance; }
    std::wstring GetModulePath() const;

private:
    const KorettaObjectEntry* m_pObjectMap = nullptr;
    size_t m_nEntries = 0;
    HINSTANCE m_hInstance = nullptr;
    const GUID* m_pLibid = nullptr;
    volatile LONG m_nLockCount = 0;
    CRITICAL_SECTION m_csObjectMap;
    bool m_bInitialised = false;
    CKorettaClassFactory* m_pClassObjects[4] = {};
};

extern CKorettaModule g_korettaModule;
