#pragma once
// A UI string file held in memory: sections in brackets, key=value lines, read the way
// the platform's profile reader reads them (names without case, values trimmed).
#include <map>
#include <string>

#include "common/ui_text.h"

class CIniText : public UITextSource {
public:
    CIniText() = default;
    explicit CIniText(const std::wstring& text) { Parse(text); }
    void Parse(const std::wstring& text);
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    bool Lookup(const std::wstring& section, const std::wstring& key, std::wstring& value) const override;

private:
    static std::wstring Fold(const std::wstring& name);
    std::map<std::wstring, std::map<std::wstring, std::wstring>> m_sections;
};
