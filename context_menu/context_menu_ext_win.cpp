#include "context_menu/context_menu_ext_win.h"

#include <shellapi.h>

#include "common/ui_text.h"
#include "context_menu/com_guard_win.h"
#include "context_menu/koretta_app_win.h"
#include "context_menu/koretta_log.h"
#include "context_menu/koretta_module_win.h"
#include "context_menu/koretta_resource_ids.h"
#include "context_menu/pdf_selection.h"
#include "context_menu/type_library_win.h"

namespace {
constexpr HRESULT kNoMenuItem = static_cast<HRESULT>(0x80000001);
constexpr wchar_t kHelpText[] = L"This is the Lumeo shell extension's help";

bool IsFolder(const wchar_t* pszPath)
{
    DWORD dwAttributes = GetFileAttributesW(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

// ---- creation, registration, lifetime --------------------------------------------

CContextMenuExt::CContextMenuExt(IUnknown* pUnkOuter)
    : m_innerUnknown(this), m_pUnkOuter(pUnkOuter ? pUnkOuter : &m_innerUnknown)
{
    g_korettaModule.Lock();
}

CContextMenuExt::~CContextMenuExt()
{
    if (m_hMenuIcon)
        DeleteObject(m_hMenuIcon);
    if (m_pTypeInfo)
        m_pTypeInfo->Release();
    g_korettaModule.Unlock();
}

HRESULT CContextMenuExt::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    return GuardComCall([&] {
        CContextMenuExt* pObject = new CContextMenuExt(pUnkOuter);
        pObject->m_innerUnknown.AddRef();
        HRESULT hr = pObject->m_innerUnknown.QueryInterface(riid, ppv);
        pObject->m_innerUnknown.Release();  // frees the object when the interface was refused
        return hr;
    });
}

HRESULT CContextMenuExt::UpdateRegistry(BOOL bRegister)
{
    KorettaLog(L"UpdateRegistry / bRegister / %d", bRegister);
    return GuardComCall([&] { return g_korettaModule.UpdateRegistryFromResource(IDR_CONTEXTMENUEXT, bRegister); });
}

STDMETHODIMP CContextMenuExt::CInnerUnknown::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown))
        *ppv = static_cast<IUnknown*>(this);
    else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIidContextMenuExt))
        *ppv = static_cast<IContextMenuExt*>(m_pOwner);
    else if (IsEqualIID(riid, IID_IShellExtInit))
        *ppv = static_cast<IShellExtInit*>(m_pOwner);
    else if (IsEqualIID(riid, IID_IContextMenu))
        *ppv = static_cast<IContextMenu*>(m_pOwner);
    else
        return E_NOINTERFACE;
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CContextMenuExt::CInnerUnknown::AddRef() { return InterlockedIncrement(&m_pOwner->m_nRef); }

STDMETHODIMP_(ULONG) CContextMenuExt::CInnerUnknown::Release()
{
    LONG nRef = InterlockedDecrement(&m_pOwner->m_nRef);
    if (nRef == 0)
        delete m_pOwner;
    return nRef;
}

STDMETHODIMP CContextMenuExt::QueryInterface(REFIID riid, void** ppv) { return m_pUnkOuter->QueryInterface(riid, ppv); }
STDMETHODIMP_(ULONG) CContextMenuExt::AddRef() { return m_pUnkOuter->AddRef(); }
STDMETHODIMP_(ULONG) CContextMenuExt::Release() { return m_pUnkOuter->Release(); }

// ---- IDispatch ---------------------------------------------------------------------

HRESULT CContextMenuExt::EnsureTypeInfo()
{
    if (m_pTypeInfo)
        return S_OK;
    return LoadKorettaTypeInfo(g_korettaModule.GetModulePath(), kIidContextMenuExt, &m_pTypeInfo);
}

STDMETHODIMP CContextMenuExt::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 1;
    return S_OK;
}

STDMETHODIMP CContextMenuExt::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo)
{
    if (!ppTInfo)
        return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0)
        return DISP_E_BADINDEX;
    HRESULT hr = GuardComCall([&] { return EnsureTypeInfo(); });
    if (FAILED(hr))
        return hr;
    m_pTypeInfo->AddRef();
    *ppTInfo = m_pTypeInfo;
    return S_OK;
}

STDMETHODIMP CContextMenuExt::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = GuardComCall([&] { return EnsureTypeInfo(); });
    return FAILED(hr) ? hr : DispGetIDsOfNames(m_pTypeInfo, rgszNames, cNames, rgDispId);
}

STDMETHODIMP CContextMenuExt::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                                     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = GuardComCall([&] { return EnsureTypeInfo(); });
    if (FAILED(hr))
        return hr;
    return DispInvoke(static_cast<IContextMenuExt*>(this), m_pTypeInfo, dispIdMember, wFlags, pDispParams, pVarResult,
                      pExcepInfo, puArgErr);
}

// ---- IShellExtInit -------------------------------------------------------------------

STDMETHODIMP CContextMenuExt::Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* pDataObj, HKEY hkeyProgID)
{
    KorettaLog(L"CContextMenuExt::Initialize");
    m_files.clear();
    if (!pDataObj)
        return E_INVALIDARG;

    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(pDataObj->GetData(&format, &medium)))
        return E_INVALIDARG;
    const void* pBlock = medium.tymed == TYMED_HGLOBAL ? GlobalLock(medium.hGlobal) : nullptr;
    if (!pBlock) {
        ReleaseStgMedium(&medium);
        return E_INVALIDARG;
    }
    HRESULT hr = GuardComCall([&] { return ReadSelection(DropList(pBlock, GlobalSize(medium.hGlobal))); });
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return hr;
}

// Takes the admitted files of the drop list in one pass. A selection without them loads
// nothing: Explorer asks on every right-click, whatever is selected.
HRESULT CContextMenuExt::ReadSelection(DropList dropList)
{
    const bool bLog = KorettaLogOn();
    int nItems = 0;
    const unsigned char* pName = nullptr;
    size_t nChars = 0;
    wchar_t szConverted[kTextChars];
    while (dropList.Next(pName, nChars)) {
        ++nItems;
        // A longer path cannot be handed on whole: skip it.
        if (nChars >= kTextChars)
            continue;
        const wchar_t* pszFile = reinterpret_cast<const wchar_t*>(pName);
        if (!dropList.IsWide()) {
            int nWide = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(pName), static_cast<int>(nChars),
                                            szConverted, kTextChars - 1);
            if (nWide <= 0)
                continue;
            szConverted[nWide] = L'\0';
            pszFile = szConverted;
            nChars = static_cast<size_t>(nWide);
        }
        const std::wstring_view file(pszFile, nChars);
        if (bLog) {
            std::wstring strExt = ExtensionOfFileName(std::wstring(file));
            KorettaLog(L"CContextMenuExt::Initialize: szFile : %s", pszFile);
            KorettaLog(L"CContextMenuExt::Initialize: Ext : %s", strExt.c_str());
            if (strExt.empty())
                KorettaLog(L"CContextMenuExt::Initialize: Ext : Directory");
        }
        // The name decides first: a large selection on a share must not cost a disk
        // query per item on Explorer's thread. Once one file is found, the item shows;
        // the other names are looked at when the command is chosen.
        if (!EndsInPdf(file))
            continue;
        if (m_files.empty() && IsFolder(pszFile)) {
            KorettaLog(L"CContextMenuExt::Initialize: Ext : Directory");
            continue;
        }
        KorettaLog(L"CContextMenuExt::Initialize: Ext : Valid file");
        m_files.emplace_back(file);
    }
    if (nItems == 0)
        return E_INVALIDARG;
    KorettaLog(L"CContextMenuExt::Initialize: nValidFileCount : %d", static_cast<int>(m_files.size()));
    if (m_files.empty()) {
        KorettaLog(L"CContextMenuExt::Initialize: No files / S_FALSE");
        return S_OK;
    }

    m_strMenuText = GetExString(L"KORETTA_MENU", L"MENUTEXT", L"Lumeo");
    if (m_hMenuIcon) {
        DeleteObject(m_hMenuIcon);
        m_hMenuIcon = nullptr;
    }
    // Menus show item bitmaps at the check-mark size, which grows with the DPI.
    HBITMAP hbm = static_cast<HBITMAP>(LoadImageW(g_korettaModule.GetModuleInstance(), MAKEINTRESOURCEW(IDB_MENUICON),
                                                  IMAGE_BITMAP, GetSystemMetrics(SM_CXMENUCHECK),
                                                  GetSystemMetrics(SM_CYMENUCHECK), LR_DEFAULTCOLOR));
    KorettaLog(L"CContextMenuExt::Initialize/hbm/%d", static_cast<int>(reinterpret_cast<INT_PTR>(hbm)));
    if (hbm)
        m_hMenuIcon = hbm;
    return S_OK;
}

// ---- IContextMenu --------------------------------------------------------------------

STDMETHODIMP CContextMenuExt::QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                               UINT uFlags)
{
    KorettaLog(L"CContextMenuExt::QueryContextMenu");
    if (m_files.empty()) {
        KorettaLog(L"CContextMenuExt::QueryContextMenu/ Invalid File, Don't show POP UP");
        return kNoMenuItem;
    }
    if (uFlags & CMF_DEFAULTONLY)
        return S_OK;
    // No identifier left for us in the caller's range.
    if (idCmdFirst > idCmdLast)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (!InsertMenuW(hmenu, indexMenu, MF_STRING | MF_BYPOSITION, idCmdFirst, m_strMenuText.c_str()))
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (m_hMenuIcon) {
        KorettaLog(L"CContextMenuExt::QueryContextMenu/m_hMenuIcon/%d",
                   static_cast<int>(reinterpret_cast<INT_PTR>(m_hMenuIcon)));
        SetMenuItemBitmaps(hmenu, indexMenu, MF_BYPOSITION, m_hMenuIcon, nullptr);
    }
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

STDMETHODIMP CContextMenuExt::GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, CHAR* pszName,
                                               UINT cchMax)
{
    KorettaLog(L"CContextMenuExt::GetCommandString");
    if (idCmd != 0 || (uType & (GCS_HELPTEXTA | GCS_UNICODE)) == 0)
        return E_INVALIDARG;
    // Validation requests may come without a buffer.
    if (!pszName || cchMax == 0)
        return S_OK;
    if (uType & GCS_UNICODE) {
        lstrcpynW(reinterpret_cast<wchar_t*>(pszName), kHelpText, static_cast<int>(cchMax));
    } else {
        char szAnsi[kTextChars] = {};
        WideCharToMultiByte(CP_ACP, 0, kHelpText, -1, szAnsi, kTextChars, nullptr, nullptr);
        lstrcpynA(pszName, szAnsi, static_cast<int>(cchMax));
    }
    return S_OK;
}

STDMETHODIMP CContextMenuExt::InvokeCommand(CMINVOKECOMMANDINFO* pici)
{
    KorettaLog(L"CContextMenuExt::InvokeCommand");
    if (!pici || reinterpret_cast<ULONG_PTR>(pici->lpVerb) != 0)
        return E_INVALIDARG;
    return GuardComCall([&] {
        StartLumeo(pici->hwnd);
        return S_OK;
    });
}

void CContextMenuExt::StartLumeo(HWND hwndOwner)
{
    std::wstring strProgram = GetExString(L"KORETTA_MENU", L"COMMAND1", L"Lumeo.exe");
    if (strProgram.empty())
        return;
    std::wstring strFolder = GetInstallPath();
    std::wstring strProgramPath = strFolder + strProgram;
    std::vector<std::wstring> files = m_files;
    std::erase_if(files, [](const std::wstring& file) { return IsFolder(file.c_str()); });
    std::wstring strParameters = ComposeLumeoParameters(files);
    // A command line cut by the system would hand Lumeo other files than those selected;
    // without our folder the bare name would be searched for, and any Lumeo.exe found run.
    if (!strFolder.empty() && strParameters.size() <= kMaxLumeoParameterChars) {
        HINSTANCE hResult = ShellExecuteW(nullptr, nullptr, strProgramPath.c_str(), strParameters.c_str(),
                                          strFolder.c_str(), SW_SHOWNORMAL);
        KorettaLog(L"CContextMenuExt::InvokeCommand/ShellExecute/%d",
                   static_cast<int>(reinterpret_cast<INT_PTR>(hResult)));
        if (reinterpret_cast<INT_PTR>(hResult) > 32)
            return;
    }
    std::wstring strMessage =
        GetExString(L"KORETTA_MENU", L"LIMITEDSELECTEDFILES",
                    L"Selected files are over the limit. Please, remove some of selected files.");
    std::wstring strCaption = m_strMenuText.empty() ? std::wstring(L"Lumeo") : m_strMenuText;
    // Owned by the window the command came from, so it opens in front of it.
    MessageBoxW(hwndOwner, strMessage.c_str(), strCaption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// ---- texts and folder ------------------------------------------------------------------

std::wstring CContextMenuExt::GetExString(const std::wstring& strSection, const std::wstring& strKey,
                                          const std::wstring& strDefault)
{
    KorettaLog(L"CContextMenuExt::GetExString");
    KorettaLog(L"CContextMenuExt::GetExString / strSection : %s", strSection.c_str());
    KorettaLog(L"CContextMenuExt::GetExString / strKey : %s", strKey.c_str());
    KorettaLog(L"CContextMenuExt::GetExString / strDefault : %s", strDefault.c_str());
    std::wstring strValue = strDefault;
    wchar_t szUIFile[kTextChars] = {};
    if (KorettaLangManager().GetUIFileName(szUIFile, kTextChars)) {
        wchar_t szText[kTextChars] = {};
        GetPrivateProfileStringW(strSection.c_str(), strKey.c_str(), L"", szText, kTextChars, szUIFile);
        // Unlike Lumeo, an empty value here means the built-in text.
        if (szText[0] != L'\0')
            strValue = szText;
    }
    KorettaLog(L"CContextMenuExt::GetExString / return strValue : %s", strValue.c_str());
    return strValue;
}

std::wstring CContextMenuExt::GetInstallPath()
{
    KorettaLog(L"CContextMenuExt::GetInstallPath");
    std::wstring strPath = g_korettaModule.GetModulePath();
    size_t nSlash = strPath.rfind(L'\\');
    if (nSlash == std::wstring::npos)
        return std::wstring();
    return strPath.substr(0, nSlash + 1);
}
