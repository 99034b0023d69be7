#include "context_menu/koretta_app_win.h"

#include "context_menu/context_menu_ext_win.h"
#include "context_menu/koretta_guids_win.h"
#include "context_menu/koretta_log.h"
#include "context_menu/koretta_module_win.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this module, known before DllMain runs

namespace {
const KorettaObjectEntry kObjectMap[] = {
    {&kClsidContextMenuExt, &CContextMenuExt::CreateInstance, &CContextMenuExt::UpdateRegistry},
};
}  // namespace

CKorettaApp theApp;

CLangManager& KorettaLangManager()
{
    KorettaLogOn();  // its lines follow the switch, read here at the latest
    static CLangManager langManager(LangModuleInfo::Koretta(reinterpret_cast<HMODULE>(&__ImageBase)));
    return langManager;
}

BOOL CKorettaApp::InitInstance(HINSTANCE hInstance)
{
    KorettaLogInLoader(L"CKorettaApp::InitInstance");
    g_korettaModule.Init(kObjectMap, sizeof(kObjectMap) / sizeof(kObjectMap[0]), hInstance, &kLibidKorettaLib);
    return TRUE;
}

int CKorettaApp::ExitInstance()
{
    KorettaLogInLoader(L"CKorettaApp::ExitInstance");
    g_korettaModule.Term();
    return 0;
}
