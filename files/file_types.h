#pragma once
// The five direct-print file types: their bits in the supported-type mask,
// their extension entries, the printer language each one switches to and their
// document format over IPP.
#include <string>

enum FileTypeBit : int {
    kTypePDF = 1,
    kTypeJPEG = 2,
    kTypeTIFF = 4,
    kTypePNG = 8,
    kTypeBMP = 16,
};

// Extension of the last path component from its last dot, dot included; empty when
// there is none (the shell's PathFindExtensionW rule: an extension holds no blank).
std::wstring PathExtension(const std::wstring& path);

// True for a shell shortcut's extension (".lnk", any case): only such files are read as
// links, so a file named "Invoice.pdf" never leads elsewhere.
bool IsShortcutExtension(const std::wstring& extension);

// Admission list for a mask: the entries of every set bit, in bit order
// (".pdf/", ".jpg/.jpeg/.jpe/.jfif/", ".tif/.tiff/", ".png/", ".bmp/"); empty for 0, -1, -2.
std::wstring AdmissionListOfMask(int nSupportedTypes);

// The type bit an extension belongs to (whole entry, any letter case), 0 for none.
int FileTypeOfExtension(const std::wstring& extension);

// Printer language of a type bit ("PDF", "JPEG", ...), nullptr for 0.
const wchar_t* PrinterLanguageOfType(int typeBit);

// The IPP document-format of a type bit ("application/pdf", ...), nullptr for 0: what a
// printer lists for it and what its files are sent as.
const char* DocumentFormatOfType(int typeBit);
