#include "context_menu/pdf_selection.h"

#include <cstdint>
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

bool EndsInPdf(std::wstring_view path)
{
    static const wchar_t kPdf[] = L".PDF";
    if (path.size() < 4)
        return false;
    path.remove_prefix(path.size() - 4);
    for (size_t i = 0; i < 4; ++i)
        if (static_cast<wchar_t>(std::towupper(path[i])) != kPdf[i])
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

namespace {
constexpr size_t kDropHeaderBytes = 20;  // DWORD pFiles, POINT pt, BOOL fNC, BOOL fWide

uint32_t ReadLittleEndian32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

DropList::DropList(const void* pBlock, size_t nBytes)
{
    const auto* pBytes = static_cast<const unsigned char*>(pBlock);
    if (!pBytes || nBytes < kDropHeaderBytes)
        return;
    const uint32_t nOffset = ReadLittleEndian32(pBytes);
    if (nOffset < kDropHeaderBytes || nOffset >= nBytes)
        return;
    m_pAt = pBytes + nOffset;
    m_pEnd = pBytes + nBytes;
    m_bWide = ReadLittleEndian32(pBytes + 16) != 0;
}

bool DropList::Next(const unsigned char*& pName, size_t& nChars)
{
    const size_t nUnit = m_bWide ? 2 : 1;
    for (const unsigned char* p = m_pAt; p && static_cast<size_t>(m_pEnd - p) >= nUnit; p += nUnit) {
        if (p[0] != 0 || p[nUnit - 1] != 0)
            continue;
        if (p == m_pAt)
            break;  // the empty name that ends the list
        pName = m_pAt;
        nChars = static_cast<size_t>(p - m_pAt) / nUnit;
        m_pAt = p + nUnit;
        return true;
    }
    m_pAt = m_pEnd;
    return false;
}
