// Entry points of Koretta.dll: library start-up and the four COM server exports.
#include <windows.h>
#include <objbase.h>

#include "context_menu/com_guard_win.h"
#include "context_menu/koretta_app_win.h"
#include "context_menu/koretta_ids.h"
#include "context_menu/koretta_log.h"
#include "context_menu/koretta_module_win.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(hInstance);
        return theApp.InitInstance(hInstance);
    }
    if (dwReason == DLL_PROCESS_DETACH)
        theApp.ExitInstance();
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    KorettaLog(L"DllCanUnloadNow");
    return g_korettaModule.GetLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    KorettaLog(L"DllGetClassObject");
    return GuardComCall([&] { return g_korettaModule.GetClassObject(rclsid, riid, ppv); });
}

STDAPI DllRegisterServer()
{
    KorettaLog(L"DllRegisterServer");
    // Without write access to the shell's approved list nothing at all is registered.
    HKEY hApproved = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedExtensionsKey, 0, KEY_SET_VALUE, &hApproved) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    if (RegSetValueExW(hApproved, kKorettaClsidText, 0, REG_SZ, reinterpret_cast<const BYTE*>(kKorettaApprovedName),
                       sizeof(kKorettaApprovedName)) != ERROR_SUCCESS) {
        RegCloseKey(hApproved);
        return E_ACCESSDENIED;
    }
    HRESULT hr = GuardComCall([] { return g_korettaModule.RegisterServer(); });
    RegCloseKey(hApproved);
    return hr;
}

STDAPI DllUnregisterServer()
{
    KorettaLog(L"DllUnregisterServer");
    HKEY hApproved = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedExtensionsKey, 0, KEY_SET_VALUE, &hApproved) == ERROR_SUCCESS)
        RegDeleteValueW(hApproved, kKorettaClsidText);
    HRESULT hr = GuardComCall([] { return g_korettaModule.UnregisterServer(); });
    if (hApproved)
        RegCloseKey(hApproved);
    return hr;
}
