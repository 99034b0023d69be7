// libFuzzer entry for the registrar script reader. Any text is parsed or refused,
// never a crash or unbounded recursion, and what is accepted is a sound tree:
//  - a refusal leaves an empty script and a "line N: ..." reason;
//  - key names are never empty and hold no backslash; a value without a name is the
//    key's default, at most one per key and the first of its values;
//  - nesting stays within kMaxRegistrarDepth;
//  - the tree written back as a script (every text quoted, % doubled) reads back
//    as the same tree, so keywords, quotes, braces and percent signs survive;
//  - %MODULE% is replaced once and completely: the replacement's own characters
//    (quotes, braces, blanks, percent signs) never change the structure, and a text
//    that reads without any variable reads the same with one defined.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "context_menu/registrar_script.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
const RegistrarReplacements kPlainModule = {{L"MODULE", L"C:\\Program Files\\Lumeo\\Koretta.dll"}};
// Looks like script syntax, so a second expansion or a re-tokenising would show.
const RegistrarReplacements kHostileModule = {{L"MODULE", L"D:\\it's { } = %MODULE% %% val\n"}};

void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

const wchar_t* HiveName(RegHive hive)
{
    switch (hive) {
    case RegHive::kClassesRoot: return L"HKCR";
    case RegHive::kCurrentUser: return L"HKCU";
    case RegHive::kLocalMachine: return L"HKLM";
    case RegHive::kUsers: return L"HKU";
    }
    return L"?";
}

std::wstring Quoted(const std::wstring& text)
{
    std::wstring out = L"'";
    for (wchar_t c : text) {
        if (c == L'\'')
            out += L"''";
        else if (c == L'%')
            out += L"%%";
        else
            out += c;
    }
    return out + L"'";
}

std::wstring ValueData(const RegValue& value)
{
    switch (value.type) {
    case RegValueType::kString: return L"s " + Quoted(value.text);
    case RegValueType::kDword: return L"d " + std::to_wstring(value.number);
    case RegValueType::kBinary: break;
    }
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring hex;
    for (uint8_t b : value.bytes) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return L"b " + Quoted(hex);
}

void WriteKey(const RegKey& key, std::wstring& out)
{
    switch (key.flag) {
    case RegKeyFlag::kNone: break;
    case RegKeyFlag::kForceRemove: out += L"ForceRemove "; break;
    case RegKeyFlag::kNoRemove: out += L"NoRemove "; break;
    case RegKeyFlag::kDelete: out += L"Delete "; break;
    }
    out += Quoted(key.name);
    size_t first = 0;
    if (!key.values.empty() && key.values[0].name.empty()) {
        out += L" = " + ValueData(key.values[0]);
        first = 1;
    }
    out += L"\n{\n";
    for (size_t i = first; i < key.values.size(); ++i)
        out += L"val " + Quoted(key.values[i].name) + L" = " + ValueData(key.values[i]) + L"\n";
    for (const RegKey& sub : key.subkeys)
        WriteKey(sub, out);
    out += L"}\n";
}

std::wstring Write(const RegistrarScript& script)
{
    std::wstring out;
    for (const RegRoot& root : script.roots) {
        out += HiveName(root.hive);
        out += L"\n{\n";
        for (const RegKey& key : root.keys)
            WriteKey(key, out);
        out += L"}\n";
    }
    return out;
}

bool SameValue(const RegValue& a, const RegValue& b)
{
    return a.name == b.name && a.type == b.type && a.text == b.text && a.number == b.number && a.bytes == b.bytes;
}

// bData: compare texts too; otherwise only the shape (what a replacement may not change).
bool SameKey(const RegKey& a, const RegKey& b, bool bData)
{
    if (a.flag != b.flag || a.values.size() != b.values.size() || a.subkeys.size() != b.subkeys.size())
        return false;
    if (bData && a.name != b.name)
        return false;
    for (size_t i = 0; i < a.values.size(); ++i) {
        if (bData ? !SameValue(a.values[i], b.values[i])
                  : a.values[i].type != b.values[i].type || a.values[i].name.empty() != b.values[i].name.empty())
            return false;
    }
    for (size_t i = 0; i < a.subkeys.size(); ++i)
        if (!SameKey(a.subkeys[i], b.subkeys[i], bData))
            return false;
    return true;
}

bool SameScript(const RegistrarScript& a, const RegistrarScript& b, bool bData)
{
    if (a.roots.size() != b.roots.size())
        return false;
    for (size_t r = 0; r < a.roots.size(); ++r) {
        if (a.roots[r].hive != b.roots[r].hive || a.roots[r].keys.size() != b.roots[r].keys.size())
            return false;
        for (size_t k = 0; k < a.roots[r].keys.size(); ++k)
            if (!SameKey(a.roots[r].keys[k], b.roots[r].keys[k], bData))
                return false;
    }
    return true;
}

void CheckKey(const RegKey& key, int depth)
{
    Check(depth <= kMaxRegistrarDepth);
    Check(!key.name.empty());
    Check(key.name.find(L'\\') == std::wstring::npos);
    for (size_t i = 0; i < key.values.size(); ++i)
        Check(!key.values[i].name.empty() || i == 0);
    for (const RegKey& sub : key.subkeys)
        CheckKey(sub, depth + 1);
}

bool Parse(const std::wstring& text, const RegistrarReplacements& replacements, RegistrarScript& script)
{
    std::wstring error = L"stale";
    const bool bOk = ParseRegistrarScript(text, replacements, script, error);
    if (bOk) {
        Check(error.empty());
        for (const RegRoot& root : script.roots)
            for (const RegKey& key : root.keys)
                CheckKey(key, 1);
    } else {
        Check(script.roots.empty());
        Check(error.rfind(L"line ", 0) == 0);
    }
    return bOk;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = WideFromBytes(data, size);

    RegistrarScript plain;
    const bool bPlain = Parse(text, kPlainModule, plain);

    RegistrarScript hostile;
    Check(Parse(text, kHostileModule, hostile) == bPlain);
    if (bPlain)
        Check(SameScript(plain, hostile, false));

    RegistrarScript bare;
    if (Parse(text, {}, bare)) {
        Check(bPlain);
        Check(SameScript(bare, plain, true));
    }

    if (bPlain) {
        for (const RegistrarScript* pScript : {&plain, &hostile}) {
            RegistrarScript again;
            Check(Parse(Write(*pScript), {}, again));
            Check(SameScript(*pScript, again, true));
        }
    }
    return 0;
}
