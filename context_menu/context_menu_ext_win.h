#pragma once
// The Explorer context-menu handler: one "Lumeo" item for selections holding PDF files,
// which starts Lumeo.exe from Koretta's own folder with those files.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "context_menu/koretta_guids_win.h"
#include "context_menu/pdf_selection.h"

class CContextMenuExt : public IContextMenuExt, public IShellExtInit, public IContextMenu {
public:
    // Object-map entries.
    static HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv);
    static HRESULT UpdateRegistry(BOOL bRegister);

    // IUnknown: delegates to the outer object when aggregated.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the type library.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* pDataObj, HKEY hkeyProgID) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT uFlags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* pici) override;
    STDMETHODIMP GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, CHAR* pszName, UINT cchMax) override;

    // The localized text for section and key; the default when the file, the key or its value is missing.
    std::wstring GetExString(const std::wstring& strSection, const std::wstring& strKey, const std::wstring& strDefault);
    // Folder of Koretta.dll with a trailing backslash; empty when it cannot be read.
    std::wstring GetInstallPath();

private:
    explicit CContextMenuExt(IUnknown* pUnkOuter);
    virtual ~CContextMenuExt();

    // The object's own unknown; the outer object holds this one when aggregating.
    class CInnerUnknown : public IUnknown {
    public:
        explicit CInnerUnknown(CContextMenuExt* pOwner) : m_pOwner(pOwner) {}
        virtual ~CInnerUnknown() = default;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        CContextMenuExt* m_pOwner;
    };

    HRESULT ReadSelection(DropList dropList);
    // Starts Lumeo.exe with the admitted files, or says why it cannot.
    void StartLumeo(HWND hwndOwner);
    HRESULT EnsureTypeInfo();

    CInnerUnknown m_innerUnknown;
    IUnknown* m_pUnkOuter;  // the outer object, or m_innerUnknown
    volatile LONG m_nRef = 0;
    ITypeInfo* m_pTypeInfo = nullptr;

    // The items of this instance's own selection named like PDF files, the first of them a
    // file: they alone decide whether its menu shows the item, whatever other Explorer
    // windows select meanwhile. Folders among the others are left out when the command runs.
    std::vector<std::wstring> m_files;
    HBITMAP m_hMenuIcon = nullptr;
    std::wstring m_strMenuText;
};
