#pragma once
// The binary GUIDs and the dual interface of the Koretta COM server.
#include <windows.h>
#include <oaidl.h>

// {5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}
constexpr CLSID kClsidContextMenuExt = {0x5B7E21C4, 0x93A0, 0x4F6D, {0x8E, 0x12, 0x7C, 0x44, 0xD0, 0xA9, 0xB3, 0xF1}};
// {A1F0C3D2-6E5B-4B47-9C8D-2E3F4A5B6C7D}
constexpr GUID kLibidKorettaLib = {0xA1F0C3D2, 0x6E5B, 0x4B47, {0x9C, 0x8D, 0x2E, 0x3F, 0x4A, 0x5B, 0x6C, 0x7D}};
// {3C1D8E5A-7B2F-4E90-A6C4-5D8B9F0E1A23}
constexpr IID kIidContextMenuExt = {0x3C1D8E5A, 0x7B2F, 0x4E90, {0xA6, 0xC4, 0x5D, 0x8B, 0x9F, 0x0E, 0x1A, 0x23}};

// Dual interface with no methods of its own; its dispatch part is served from the type library.
struct IContextMenuExt : public IDispatch {
};
