#include "common/ini_text.h"

#include <cwctype>

namespace {
std::wstring Trim(const std::wstring& s)
{
    size_t begin = s.find_first_not_of(L" \t\r\n");
    if (begin == std::wstring::npos)
        return {};
    size_t end = s.find_last_not_of(L" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

// The profile reader drops one pair of surrounding quotes.
std::wstring Unquote(const std::wstring& s)
{
    if (s.size() >= 2 && ((s.front() == L'"' && s.back() == L'"') || (s.front() == L'\'' && s.back() == L'\'')))
        return s.substr(1, s.size() - 2);
    return s;
}
}  // namespace

std::wstring CIniText::Fold(const std::wstring& name)
{
    std::wstring folded = name;
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(c));
    return folded;
}

void CIniText::Parse(const std::wstring& text)
{
    std::wstring section;
    size_t pos = 0;
    if (!text.empty() && text[0] == 0xFEFF)
        pos = 1;
    while (pos <= text.size()) {
        size_t eol = text.find(L'\n', pos);
        if (eol == std::wstring::npos)
            eol = text.size();
        std::wstring line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[') {
            size_t close = line.find(L']');
            section = Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            continue;
        }
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos)
            continue;
        std::wstring key = Trim(line.substr(0, eq));
        // The first occurrence of a key wins, as with the profile reader.
        auto& keys = m_sections[Fold(section)];
        keys.emplace(Fold(key), Unquote(Trim(line.substr(eq + 1))));
    }
}

void CIniText::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    m_sections[Fold(section)][Fold(key)] = value;
}

bool CIniText::Lookup(const std::wstring& section, const std::wstring& key, std::wstring& value) const
{
    auto s = m_sections.find(Fold(section));
    if (s == m_sections.end())
        return false;
    auto k = s->second.find(Fold(key));
    if (k == s->second.end())
        return false;
    value = k->second;
    return true;
}
