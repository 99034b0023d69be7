#include "files/file_types.h"

#include <cwctype>

namespace {
struct FileTypeRow {
    int bit;
    const wchar_t* entries;   // admission entries, each extension followed by "/"
    const wchar_t* language;  // ENTER LANGUAGE name
    const char* format;       // IPP document-format
};

constexpr FileTypeRow kFileTypes[] = {
    {kTypePDF, L".pdf/", L"PDF", "application/pdf"},
    {kTypeJPEG, L".jpg/.jpeg/.jpe/.jfif/", L"JPEG", "image/jpeg"},
    {kTypeTIFF, L".tif/.tiff/", L"TIFF", "image/tiff"},
    {kTypePNG, L".png/", L"PNG", "image/png"},
    {kTypeBMP, L".bmp/", L"BMP", "image/bmp"},
};

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}
}  // namespace

std::wstring PathExtension(const std::wstring& path)
{
    size_t nameStart = path.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < nameStart)
        return {};
    std::wstring ext = path.substr(dot);
    if (ext.find(L' ') != std::wstring::npos)
        return {};
    return ext;
}

bool IsShortcutExtension(const std::wstring& extension) { return Lower(extension) == L".lnk"; }

std::wstring AdmissionListOfMask(int nSupportedTypes)
{
    std::wstring list;
    if (nSupportedTypes <= 0)
        return list;
    for (const FileTypeRow& row : kFileTypes)
        if (nSupportedTypes & row.bit)
            list += row.entries;
    return list;
}

int FileTypeOfExtension(const std::wstring& extension)
{
    if (extension.size() < 2 || extension[0] != L'.')
        return 0;
    const std::wstring entry = Lower(extension) + L"/";
    for (const FileTypeRow& row : kFileTypes) {
        const std::wstring entries = row.entries;
        // Match a whole entry: at the start of the list or right after a "/".
        for (size_t pos = entries.find(entry); pos != std::wstring::npos; pos = entries.find(entry, pos + 1))
            if (pos == 0 || entries[pos - 1] == L'/')
                return row.bit;
    }
    return 0;
}

const wchar_t* PrinterLanguageOfType(int typeBit)
{
    for (const FileTypeRow& row : kFileTypes)
        if (row.bit == typeBit)
            return row.language;
    return nullptr;
}

const char* DocumentFormatOfType(int typeBit)
{
    for (const FileTypeRow& row : kFileTypes)
        if (row.bit == typeBit)
            return row.format;
    return nullptr;
}
