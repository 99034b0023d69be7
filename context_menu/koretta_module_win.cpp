#include "context_menu/koretta_module_win.h"

#include <new>

#include "context_menu/class_factory_win.h"
#include "context_menu/koretta_log.h"
#include "context_menu/registrar_win.h"
#include "context_menu/type_library_win.h"

CKorettaModule g_korettaModule;

void CKorettaModule::Init(const KorettaObjectEntry* pObjectMap, size_t nEntries, HINSTANCE hInstance,
                          const GUID* pLibid)
{
    m_pObjectMap = pObjectMap;
    m_nEntries = nEntries < 4 ? nEntries : 4;
    m_hInstance = hInstance;
    m_pLibid = pLibid;
    InitializeCriticalSection(&m_csObjectMap);
    m_bInitialised = true;
}

void CKorettaModule::Term()
{
    if (!m_bInitialised)
        return;
    EnterCriticalSection(&m_csObjectMap);
    for (CKorettaClassFactory*& pFactory : m_pClassObjects) {
        delete pFactory;
        pFactory = nullptr;
    }
    LeaveCriticalSection(&m_csObjectMap);
    DeleteCriticalSection(&m_csObjectMap);
    m_bInitialised = false;
}

LONG CKorettaModule::Lock() { return InterlockedIncrement(&m_nLockCount); }

LONG CKorettaModule::Unlock() { return InterlockedDecrement(&m_nLockCount); }

HRESULT CKorettaModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!m_bInitialised)
        return CLASS_E_CLASSNOTAVAILABLE;
    HRESULT hr = CLASS_E_CLASSNOTAVAILABLE;
    EnterCriticalSection(&m_csObjectMap);
    for (size_t i = 0; i < m_nEntries; ++i) {
        if (!IsEqualCLSID(*m_pObjectMap[i].pClsid, rclsid))
            continue;
        // One class object per class, created on first request and kept until Term.
        if (!m_pClassObjects[i])
            m_pClassObjects[i] = new (std::nothrow) CKorettaClassFactory(m_pObjectMap[i].pfnCreateInstance);
        hr = m_pClassObjects[i] ? m_pClassObjects[i]->QueryInterface(riid, ppv) : E_OUTOFMEMORY;
        break;
    }
    LeaveCriticalSection(&m_csObjectMap);
    return hr;
}

std::wstring CKorettaModule::GetModulePath() const
{
    wchar_t szPath[MAX_PATH] = {};
    DWORD nLength = GetModuleFileNameW(m_hInstance, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::wstring();
    return szPath;
}

HRESULT CKorettaModule::RegisterServer()
{
    for (size_t i = 0; i < m_nEntries; ++i) {
        HRESULT hr = m_pObjectMap[i].pfnUpdateRegistry(TRUE);
        if (FAILED(hr))
            return hr;
    }
    return RegisterKorettaTypeLibrary(GetModulePath());
}

HRESULT CKorettaModule::UnregisterServer()
{
    HRESULT hrResult = S_OK;
    for (size_t i = 0; i < m_nEntries; ++i) {
        HRESULT hr = m_pObjectMap[i].pfnUpdateRegistry(FALSE);
        if (FAILED(hr) && SUCCEEDED(hrResult))
            hrResult = hr;
    }
    HRESULT hr = UnregisterKorettaTypeLibrary(GetModulePath());
    return FAILED(hrResult) ? hrResult : hr;
}

HRESULT CKorettaModule::UpdateRegistryFromResource(UINT nResourceId, BOOL bRegister)
{
    std::wstring strModule = GetModulePath();
    if (strModule.empty())
        return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    std::wstring strScript;
    HRESULT hr = LoadRegistrarScript(m_hInstance, nResourceId, strScript);
    if (FAILED(hr))
        return hr;
    return ApplyRegistrarText(strScript, {{L"MODULE", strModule}}, bRegister != FALSE);
}
