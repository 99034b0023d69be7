#pragma once
// Reads the shipped UI string files for the tests: the UTF-16LE .dat files and their
// UTF-8 sources, as ordered (section, key, value) entries.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/ini_text.h"
#include "common/ui_text.h"

struct LangEntry {
    std::wstring strSection;
    std::wstring strKey;
    std::wstring strValue;
};

inline std::filesystem::path LangFolder() { return std::filesystem::path(LUMEO_SOURCE_DIR) / "resources" / "lang"; }

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-16LE (with or without BOM) to wide text; surrogate pairs joined where wchar_t is 32-bit.
inline std::wstring DecodeUtf16(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8);
        if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t low = static_cast<uint8_t>(bytes[i + 2]) | (static_cast<uint8_t>(bytes[i + 3]) << 8);
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        text += static_cast<wchar_t>(unit);
    }
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);
    return text;
}

inline std::wstring DecodeUtf8(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        const uint8_t lead = static_cast<uint8_t>(bytes[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < bytes.size(); ++k)
            cp = (cp << 6) | (static_cast<uint8_t>(bytes[i + k]) & 0x3F);
        i += extra + 1;
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            text += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(cp);
        }
    }
    return text;
}

// Section, key and value of every key line, in file order (comments and blanks skipped).
inline std::vector<LangEntry> ParseLangEntries(const std::wstring& text)
{
    auto trim = [](const std::wstring& s) {
        const size_t b = s.find_first_not_of(L" \t\r");
        return b == std::wstring::npos ? std::wstring() : s.substr(b, s.find_last_not_of(L" \t\r") - b + 1);
    };
    std::vector<LangEntry> entries;
    std::wstring section;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find(L'\n', pos);
        if (eol == std::wstring::npos)
            eol = text.size();
        const std::wstring line = trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[') {
            section = line.substr(1, line.find(L']') - 1);
            continue;
        }
        const size_t eq = line.find(L'=');
        if (eq != std::wstring::npos)
            entries.push_back({section, trim(line.substr(0, eq)), trim(line.substr(eq + 1))});
    }
    return entries;
}

inline std::vector<std::string> ShippedLanguages() { return {"EN", "GR", "FN", "JP", "KR"}; }

inline std::vector<LangEntry> Shipped(const std::string& code)
{
    return ParseLangEntries(DecodeUtf16(ReadBytes(LangFolder() / ("LOCAL_" + code + ".dat"))));
}

// Swaps the text source for the file's entries while alive.
class ScopedLangSource {
public:
    explicit ScopedLangSource(const std::vector<LangEntry>& entries)
    {
        for (const LangEntry& e : entries)
            m_ini.Set(e.strSection, e.strKey, e.strValue);
        SetUITextSource(&m_ini);
    }
    ~ScopedLangSource() { SetUITextSource(nullptr); }

private:
    CIniText m_ini;
};
