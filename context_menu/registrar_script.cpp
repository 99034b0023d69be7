#include "context_menu/registrar_script.h"

#include <cwctype>

namespace {

enum class TokenKind { kWord, kQuoted, kOpen, kClose, kEquals, kEnd };

struct Token {
    TokenKind kind = TokenKind::kEnd;
    std::wstring text;  // raw, before replacement
    size_t line = 1;
};

bool SameWord(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return i == a.size() && b[i] == L'\0';
}

class Parser {
public:
    Parser(const std::wstring& text, const RegistrarReplacements& replacements)
        : m_text(text), m_replacements(replacements)
    {
    }

    bool Parse(RegistrarScript& script)
    {
        if (!Next())
            return false;
        while (m_token.kind != TokenKind::kEnd) {
            RegRoot root;
            if (!ParseRoot(root))
                return false;
            script.roots.push_back(std::move(root));
        }
        return true;
    }

    const std::wstring& Error() const { return m_error; }

private:
    bool Fail(const std::wstring& reason)
    {
        if (m_error.empty())
            m_error = L"line " + std::to_wstring(m_token.line) + L": " + reason;
        return false;
    }

    // Reads the next token into m_token.
    bool Next()
    {
        while (m_pos < m_text.size() && std::iswspace(m_text[m_pos])) {
            if (m_text[m_pos] == L'\n')
                ++m_line;
            ++m_pos;
        }
        m_token = Token{};
        m_token.line = m_line;
        if (m_pos >= m_text.size())
            return true;
        wchar_t c = m_text[m_pos];
        if (c == L'=') {
            ++m_pos;
            m_token.kind = TokenKind::kEquals;
            return true;
        }
        if (c == L'\'') {
            ++m_pos;
            m_token.kind = TokenKind::kQuoted;
            for (;;) {
                if (m_pos >= m_text.size())
                    return Fail(L"unterminated quoted text");
                wchar_t q = m_text[m_pos++];
                if (q == L'\'') {
                    if (m_pos < m_text.size() && m_text[m_pos] == L'\'') {
                        m_token.text += L'\'';
                        ++m_pos;
                        continue;
                    }
                    return true;
                }
                if (q == L'\n')
                    ++m_line;
                m_token.text += q;
            }
        }
        while (m_pos < m_text.size() && !std::iswspace(m_text[m_pos]) && m_text[m_pos] != L'=') {
            if (m_text[m_pos] == L'\'')
                return Fail(L"quote inside a bare word");
            m_token.text += m_text[m_pos++];
        }
        // A brace is structure only on its own; "{guid}" is a name.
        if (m_token.text == L"{")
            m_token.kind = TokenKind::kOpen;
        else if (m_token.text == L"}")
            m_token.kind = TokenKind::kClose;
        else
            m_token.kind = TokenKind::kWord;
        return true;
    }

    bool IsWord(const wchar_t* word) const { return m_token.kind == TokenKind::kWord && SameWord(m_token.text, word); }
    bool IsText() const { return m_token.kind == TokenKind::kWord || m_token.kind == TokenKind::kQuoted; }

    // %NAME% from the table, %% a percent sign.
    bool Expand(const std::wstring& raw, std::wstring& out)
    {
        out.clear();
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != L'%') {
                out += raw[i];
                continue;
            }
            size_t end = raw.find(L'%', i + 1);
            if (end == std::wstring::npos)
                return Fail(L"unterminated %-variable");
            if (end == i + 1) {
                out += L'%';
                i = end;
                continue;
            }
            auto found = m_replacements.find(raw.substr(i + 1, end - i - 1));
            if (found == m_replacements.end())
                return Fail(L"unknown variable %" + raw.substr(i + 1, end - i - 1) + L"%");
            out += found->second;
            i = end;
        }
        return true;
    }

    bool TakeName(std::wstring& name)
    {
        if (!IsText())
            return Fail(L"name expected");
        if (!Expand(m_token.text, name))
            return false;
        if (name.empty())
            return Fail(L"empty key name");
        return Next();
    }

    bool ParseHive(RegHive& hive)
    {
        static const struct {
            const wchar_t* shortName;
            const wchar_t* longName;
            RegHive hive;
        } kHives[] = {
            {L"HKCR", L"HKEY_CLASSES_ROOT", RegHive::kClassesRoot},
            {L"HKCU", L"HKEY_CURRENT_USER", RegHive::kCurrentUser},
            {L"HKLM", L"HKEY_LOCAL_MACHINE", RegHive::kLocalMachine},
            {L"HKU", L"HKEY_USERS", RegHive::kUsers},
        };
        for (const auto& h : kHives)
            if (IsWord(h.shortName) || IsWord(h.longName)) {
                hive = h.hive;
                return Next();
            }
        return Fail(L"registry root expected");
    }

    bool ParseRoot(RegRoot& root)
    {
        if (!ParseHive(root.hive))
            return false;
        if (m_token.kind != TokenKind::kOpen)
            return Fail(L"'{' expected after the registry root");
        if (!Next())
            return false;
        while (m_token.kind != TokenKind::kClose) {
            if (m_token.kind == TokenKind::kEnd)
                return Fail(L"'}' missing");
            if (IsWord(L"val"))
                return Fail(L"value outside a key");
            RegKey key;
            if (!ParseKey(key, 1))
                return false;
            root.keys.push_back(std::move(key));
        }
        return Next();
    }

    bool ParseValueData(RegValue& value)
    {
        if (m_token.kind != TokenKind::kWord)
            return Fail(L"value type expected");
        std::wstring type = m_token.text;
        if (!Next())
            return false;
        if (!IsText())
            return Fail(L"value data expected");
        std::wstring data;
        if (!Expand(m_token.text, data))
            return false;
        if (SameWord(type, L"s")) {
            value.type = RegValueType::kString;
            value.text = data;
        } else if (SameWord(type, L"d")) {
            value.type = RegValueType::kDword;
            if (!ParseNumber(data, value.number))
                return Fail(L"bad number '" + data + L"'");
        } else if (SameWord(type, L"b")) {
            value.type = RegValueType::kBinary;
            if (!ParseBytes(data, value.bytes))
                return Fail(L"bad hex bytes '" + data + L"'");
        } else {
            return Fail(L"unknown value type '" + type + L"'");
        }
        return Next();
    }

    static bool ParseNumber(const std::wstring& text, uint32_t& number)
    {
        unsigned base = 10;
        size_t i = 0;
        if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
            base = 16;
            i = 2;
        }
        if (i >= text.size())
            return false;
        uint64_t value = 0;
        for (; i < text.size(); ++i) {
            int digit = HexDigit(text[i]);
            if (digit < 0 || static_cast<unsigned>(digit) >= base)
                return false;
            value = value * base + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFull)
                return false;
        }
        number = static_cast<uint32_t>(value);
        return true;
    }

    static bool ParseBytes(const std::wstring& text, std::vector<uint8_t>& bytes)
    {
        if (text.size() % 2 != 0)
            return false;
        for (size_t i = 0; i < text.size(); i += 2) {
            int high = HexDigit(text[i]);
            int low = HexDigit(text[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        }
        return true;
    }

    static int HexDigit(wchar_t c)
    {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        return -1;
    }

    bool ParseNamedValue(RegKey& key)
    {
        if (!Next())  // "val"
            return false;
        RegValue value;
        if (!IsText())
            return Fail(L"value name expected");
        if (!Expand(m_token.text, value.name) || !Next())
            return false;
        if (value.name.empty())
            return Fail(L"empty value name");
        if (m_token.kind != TokenKind::kEquals)
            return Fail(L"'=' expected after the value name");
        if (!Next() || !ParseValueData(value))
            return false;
        key.values.push_back(std::move(value));
        return true;
    }

    bool ParseKey(RegKey& key, int depth)
    {
        if (depth > kMaxRegistrarDepth)
            return Fail(L"keys nested too deeply");
        if (IsWord(L"ForceRemove"))
            key.flag = RegKeyFlag::kForceRemove;
        else if (IsWord(L"NoRemove"))
            key.flag = RegKeyFlag::kNoRemove;
        else if (IsWord(L"Delete"))
            key.flag = RegKeyFlag::kDelete;
        if (key.flag != RegKeyFlag::kNone && !Next())
            return false;
        if (m_token.kind == TokenKind::kWord &&
            (IsWord(L"ForceRemove") || IsWord(L"NoRemove") || IsWord(L"Delete") || IsWord(L"val")))
            return Fail(L"key name expected, found keyword '" + m_token.text + L"'");
        if (!TakeName(key.name))
            return false;
        if (key.name.find(L'\\') != std::wstring::npos)
            return Fail(L"key name holds a backslash");
        if (m_token.kind == TokenKind::kEquals) {
            RegValue value;
            if (!Next() || !ParseValueData(value))
                return false;
            key.values.push_back(std::move(value));
        }
        if (m_token.kind != TokenKind::kOpen)
            return true;
        if (!Next())
            return false;
        while (m_token.kind != TokenKind::kClose) {
            if (m_token.kind == TokenKind::kEnd)
                return Fail(L"'}' missing");
            if (IsWord(L"val")) {
                if (!ParseNamedValue(key))
                    return false;
                continue;
            }
            RegKey subkey;
            if (!ParseKey(subkey, depth + 1))
                return false;
            key.subkeys.push_back(std::move(subkey));
        }
        return Next();
    }

    const std::wstring& m_text;
    const RegistrarReplacements& m_replacements;
    size_t m_pos = 0;
    size_t m_line = 1;
    Token m_token;
    std::wstring m_error;
};

}  // namespace

bool ParseRegistrarScript(const std::wstring& text, const RegistrarReplacements& replacements,
                          RegistrarScript& script, std::wstring& error)
{
    script = RegistrarScript{};
    Parser parser(text, replacements);
    if (parser.Parse(script)) {
        error.clear();
        return true;
    }
    script = RegistrarScript{};
    error = parser.Error();
    return false;
}
