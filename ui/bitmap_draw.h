#pragma once
// Bitmap-drawing primitives of the skin: each draws a bitmap that is selected into a
// memory context (hdcSrc, bitmap size) onto a target context. Pieces outside the
// optional clip rectangle are skipped. Windows build only.
#include <windows.h>

// Nine-part drawing with corner size nCorner; edges and centre tiled.
// ptOrigin: where the bitmap (an image of a strip of images) starts in hdcSrc.
void DrawTiled(HDC hdcDst, const RECT& rcTarget, HDC hdcSrc, SIZE bmSize, int nCorner, const RECT* prcClip = nullptr,
               POINT ptOrigin = {0, 0});
// The same with the centre stretched to the target's inner size.
void DrawStretched(HDC hdcDst, const RECT& rcTarget, HDC hdcSrc, SIZE bmSize, int nCorner,
                   const RECT* prcClip = nullptr, POINT ptOrigin = {0, 0});
// Copies a part, leaving transparent every pixel of the colour at (xSrc, ySrc).
void DrawTransparent(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc);

// Switches a memory context to left-to-right layout through GDI32's SetLayout when
// the system has it. Returns the raster-operation flag the copies then need
// (NOMIRRORBITMAP when the previous layout was right-to-left, else 0).
DWORD SetLayoutLeftToRight(HDC hdc);
