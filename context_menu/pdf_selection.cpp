#include "context_menu/pdf_selection.h"

#include <cwctype>

std::wstring ExtensionOfFileName(const std::wstring& path)
{
    size_t nameStart = path.find_last_of(L"\\/");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < nameStart)
        return std::wstring();
    return path.substr(dot);
}

bool IsAdmittedExtension(const std::wstring& extension)
{
    static const wchar_t kPdf[] = L".PDF";
    if (extension.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (static_cast<wchar_t>(std::towupper(extension[i])) != kPdf[i])
            return false;
    return true;
}

std::wstring ComposeLumeoParameters(const std::vector<std::wstring>& files)
{
    std::wstring parameters;
    for (const std::wstring& file : files)
        parameters += L" \"" + file + L"\"";
    return parameters;
}
