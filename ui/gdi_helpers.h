#pragma once
// Scoped GDI objects for painters: every object made for a paint is released at
// its end, also when the paint is left early. Windows build only.
#include <windows.h>

// A bitmap resource selected into its own memory context; empty when it cannot load.
class CBitmapDC {
public:
    CBitmapDC() = default;
    explicit CBitmapDC(UINT nBitmapId) { Load(nBitmapId); }
    ~CBitmapDC() { Release(); }
    CBitmapDC(const CBitmapDC&) = delete;
    CBitmapDC& operator=(const CBitmapDC&) = delete;

    bool Load(UINT nBitmapId);
    // Takes a bitmap over (deleted with this object); false for nullptr.
    bool Attach(HBITMAP hBitmap);
    void Release();
    bool IsLoaded() const { return m_hDC != nullptr; }
    HDC DC() const { return m_hDC; }
    int Width() const { return m_size.cx; }
    int Height() const { return m_size.cy; }
    SIZE Size() const { return m_size; }

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    SIZE m_size = {0, 0};
};

// An off-screen bitmap of a given size to compose a paint in, copied out in one step.
class CMemoryCanvas {
public:
    CMemoryCanvas(HDC hdcTarget, int cx, int cy);
    ~CMemoryCanvas();
    CMemoryCanvas(const CMemoryCanvas&) = delete;
    CMemoryCanvas& operator=(const CMemoryCanvas&) = delete;
    HDC DC() const { return m_hDC; }
    void CopyTo(HDC hdcTarget, int x, int y) const;

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    int m_cx, m_cy;
};

// Selects an object for a scope.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ hObject) : m_hDC(hdc), m_hOld(SelectObject(hdc, hObject)) {}
    ~CSelectObject() { SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A font made for a paint, deleted at its end.
class CScopedFont {
public:
    explicit CScopedFont(HFONT hFont) : m_hFont(hFont) {}
    ~CScopedFont()
    {
        if (m_hFont)
            DeleteObject(m_hFont);
    }
    CScopedFont(const CScopedFont&) = delete;
    CScopedFont& operator=(const CScopedFont&) = delete;
    HFONT Get() const { return m_hFont; }

private:
    HFONT m_hFont;
};
