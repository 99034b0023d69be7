#pragma once
// Bitmaps handed to picture controls (STM_SETIMAGE) at the program's DPI. Windows build only.
#include <windows.h>

#include <vector>

// Loaded once per DPI and kept until this object goes, since a control shows a bitmap
// without owning it.
class CPictureBitmaps {
public:
    CPictureBitmaps() = default;
    ~CPictureBitmaps();
    CPictureBitmaps(const CPictureBitmaps&) = delete;
    CPictureBitmaps& operator=(const CPictureBitmaps&) = delete;

    HBITMAP Get(UINT nBitmapId, int nDpi);
    bool Owns(HBITMAP hBitmap) const;

private:
    struct Entry {
        UINT nBitmapId;
        int nDpi;
        HBITMAP hBitmap;
    };
    std::vector<Entry> m_entries;
};

// Sets a picture control's bitmap from the set; the bitmap the control gives back
// (the one its template loaded, or a copy it made) is deleted unless it is the set's.
void SetPictureBitmap(HWND hPicture, CPictureBitmaps& bitmaps, UINT nBitmapId);
