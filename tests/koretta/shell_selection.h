#pragma once
// A test selection as Explorer hands it to a context-menu handler.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace koretta_test {

// A selection as the shell hands it over: CF_HDROP in global memory, or nothing.
class CSelection : public IDataObject {
public:
    explicit CSelection(std::vector<std::wstring> paths, bool bOffersDrop = true)
        : m_paths(std::move(paths)), m_bOffersDrop(bOffersDrop)
    {
    }
    virtual ~CSelection() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override
    {
        if (!m_bOffersDrop || pFormat->cfFormat != CF_HDROP || !(pFormat->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        size_t nChars = 1;
        for (const auto& path : m_paths)
            nChars += path.size() + 1;
        HGLOBAL hGlobal = GlobalAlloc(GHND, sizeof(DROPFILES) + nChars * sizeof(wchar_t));
        auto* pDrop = static_cast<DROPFILES*>(GlobalLock(hGlobal));
        pDrop->pFiles = sizeof(DROPFILES);
        pDrop->fWide = TRUE;
        wchar_t* pText = reinterpret_cast<wchar_t*>(pDrop + 1);
        for (const auto& path : m_paths) {
            wcscpy(pText, path.c_str());
            pText += path.size() + 1;
        }
        GlobalUnlock(hGlobal);
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = hGlobal;
        pMedium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<std::wstring> m_paths;
    bool m_bOffersDrop;
};

}  // namespace koretta_test
