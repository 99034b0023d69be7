// The registrar script reader: structure, flags, values, replacements, refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "context_menu/registrar_script.h"

namespace {
RegistrarScript ParseOk(const std::wstring& text, const RegistrarReplacements& replacements = {})
{
    RegistrarScript script;
    std::wstring error;
    EXPECT_TRUE(ParseRegistrarScript(text, replacements, script, error)) << std::string(error.begin(), error.end());
    return script;
}

std::wstring Refusal(const std::wstring& text, const RegistrarReplacements& replacements = {})
{
    RegistrarScript script;
    script.roots.push_back({});
    std::wstring error;
    EXPECT_FALSE(ParseRegistrarScript(text, replacements, script, error)) << "accepted: " << std::string(text.begin(), text.end());
    EXPECT_TRUE(script.roots.empty()) << "a refused script must leave nothing to apply";
    EXPECT_FALSE(error.empty());
    return error;
}

std::wstring ReadShippedScript()
{
    std::ifstream in(std::string(LUMEO_SOURCE_DIR) + "/resources/koretta.rgs", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    return std::wstring(text.begin(), text.end());
}
}  // namespace

TEST(RegistrarScript, NestedKeysWithFlagsAndDefaultValues)
{
    RegistrarScript script = ParseOk(
        L"HKCR\n{\n  NoRemove CLSID\n  {\n    ForceRemove {5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1} = s 'Name'\n"
        L"    {\n      ForceRemove 'Programmable'\n      Plain\n      Delete Old\n    }\n  }\n}\n");
    ASSERT_EQ(script.roots.size(), 1u);
    EXPECT_EQ(script.roots[0].hive, RegHive::kClassesRoot);
    ASSERT_EQ(script.roots[0].keys.size(), 1u);
    const RegKey& clsid = script.roots[0].keys[0];
    EXPECT_EQ(clsid.name, L"CLSID");
    EXPECT_EQ(clsid.flag, RegKeyFlag::kNoRemove);
    EXPECT_TRUE(clsid.values.empty());
    ASSERT_EQ(clsid.subkeys.size(), 1u);
    const RegKey& cls = clsid.subkeys[0];
    EXPECT_EQ(cls.name, L"{5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}");  // braces in a word are a name
    EXPECT_EQ(cls.flag, RegKeyFlag::kForceRemove);
    ASSERT_EQ(cls.values.size(), 1u);
    EXPECT_EQ(cls.values[0].name, L"");
    EXPECT_EQ(cls.values[0].text, L"Name");
    ASSERT_EQ(cls.subkeys.size(), 3u);
    EXPECT_EQ(cls.subkeys[0].name, L"Programmable");
    EXPECT_EQ(cls.subkeys[0].flag, RegKeyFlag::kForceRemove);
    EXPECT_EQ(cls.subkeys[1].flag, RegKeyFlag::kNone);
    EXPECT_EQ(cls.subkeys[2].flag, RegKeyFlag::kDelete);
}

TEST(RegistrarScript, NamedValuesOfEveryType)
{
    RegistrarScript script = ParseOk(
        L"HKLM { Software { val Name = s 'it''s here' val Count = d '42' val Mask = d 0xFFFFFFFF "
        L"val Blob = b '00A1ff' val Spaced=s 'a b' } }");
    const RegKey& key = script.roots[0].keys[0];
    EXPECT_EQ(script.roots[0].hive, RegHive::kLocalMachine);
    ASSERT_EQ(key.values.size(), 5u);
    EXPECT_EQ(key.values[0].text, L"it's here");
    EXPECT_EQ(key.values[1].type, RegValueType::kDword);
    EXPECT_EQ(key.values[1].number, 42u);
    EXPECT_EQ(key.values[2].number, 0xFFFFFFFFu);
    EXPECT_EQ(key.values[3].type, RegValueType::kBinary);
    EXPECT_EQ(key.values[3].bytes, (std::vector<uint8_t>{0x00, 0xA1, 0xFF}));
    EXPECT_EQ(key.values[4].name, L"Spaced");
    EXPECT_EQ(key.values[4].text, L"a b");
}

TEST(RegistrarScript, RootsKeywordsAndTypesIgnoreCase)
{
    RegistrarScript script = ParseOk(L"hkcu { forceremove A = S 'x' } HKEY_USERS { noremove B { VAL v = D 1 } }");
    ASSERT_EQ(script.roots.size(), 2u);
    EXPECT_EQ(script.roots[0].hive, RegHive::kCurrentUser);
    EXPECT_EQ(script.roots[0].keys[0].flag, RegKeyFlag::kForceRemove);
    EXPECT_EQ(script.roots[1].hive, RegHive::kUsers);
    EXPECT_EQ(script.roots[1].keys[0].values[0].number, 1u);
    // Quoted, a keyword is a plain name.
    EXPECT_EQ(ParseOk(L"HKCR { 'NoRemove' { 'val' } }").roots[0].keys[0].subkeys[0].name, L"val");
}

TEST(RegistrarScript, ModuleVariableIsReplacedVerbatim)
{
    // A quote or a percent sign in the replacement must not change the script's structure.
    const std::wstring module = L"C:\\Bob's 100% Files\\Koretta.dll";
    RegistrarScript script = ParseOk(L"HKCR { InprocServer32 = s '%MODULE%' { val Where = s 'at %MODULE%, 50%%' } }",
                                     {{L"MODULE", module}});
    const RegKey& key = script.roots[0].keys[0];
    EXPECT_EQ(key.values[0].text, module);
    EXPECT_EQ(key.values[1].text, L"at " + module + L", 50%");
    EXPECT_NE(Refusal(L"HKCR { A = s '%OTHER%' }", {{L"MODULE", module}}).find(L"OTHER"), std::wstring::npos);
    Refusal(L"HKCR { A = s '%MODULE' }", {{L"MODULE", module}});
}

TEST(RegistrarScript, ShippedScriptHoldsTheServerEntries)
{
    RegistrarScript script = ParseOk(ReadShippedScript(), {{L"MODULE", L"C:\\Lumeo\\Koretta.dll"}});
    ASSERT_EQ(script.roots.size(), 1u);
    const auto& keys = script.roots[0].keys;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].name, L"Koretta.ContextMenuExt.1");
    EXPECT_EQ(keys[1].subkeys[1].name, L"CurVer");
    const RegKey& cls = keys[2].subkeys[0];
    EXPECT_EQ(cls.flag, RegKeyFlag::kForceRemove);
    ASSERT_EQ(cls.subkeys.size(), 5u);
    EXPECT_EQ(cls.subkeys[3].name, L"InprocServer32");
    EXPECT_EQ(cls.subkeys[3].values[0].text, L"C:\\Lumeo\\Koretta.dll");
    EXPECT_EQ(cls.subkeys[3].values[1].name, L"ThreadingModel");
    EXPECT_EQ(cls.subkeys[3].values[1].text, L"Apartment");
    const RegKey& handler = keys[3].subkeys[0].subkeys[0].subkeys[0];
    EXPECT_EQ(keys[3].name, L"*");
    EXPECT_EQ(keys[3].flag, RegKeyFlag::kNoRemove);
    EXPECT_EQ(handler.name, L"LumeoMenuExt");
    EXPECT_EQ(handler.flag, RegKeyFlag::kForceRemove);
    EXPECT_EQ(handler.values[0].text, L"{5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}");
}

TEST(RegistrarScript, MalformedScriptsAreRefused)
{
    for (const wchar_t* text : {
             L"HKCR { A = s 'unterminated }",
             L"HKCR { A { B }",              // brace missing
             L"HKCR { A } }",                // one brace too many
             L"HKXX { A }",                  // unknown root
             L"HKCR A",                      // root without braces
             L"HKCR { val X = s 'y' }",      // value outside a key
             L"HKCR { A = q 'x' }",          // unknown type
             L"HKCR { A = s }",              // data missing
             L"HKCR { A = }",                // type missing
             L"HKCR { A = d '12x' }",        // bad number
             L"HKCR { A = d 4294967296 }",   // too large
             L"HKCR { A = b 'ABC' }",        // odd hex digits
             L"HKCR { A = b 'zz' }",
             L"HKCR { ForceRemove NoRemove A }",
             L"HKCR { ForceRemove }",
             L"HKCR { '' }",                 // empty name
             L"HKCR { 'A\\B' }",             // a path, not a name
             L"HKCR { A { val = s 'x' } }",  // value name missing
             L"HKCR { A { val N s 'x' } }",  // '=' missing
             L"HKCR { ab'c }",
         })
        Refusal(text);
}

TEST(RegistrarScript, DeepNestingIsRefusedNotRecursedInto)
{
    std::wstring deep = L"HKCR {";
    for (int i = 0; i < 100000; ++i)
        deep += L" K {";
    Refusal(deep);
    std::wstring allowed = L"HKCR {";
    for (int i = 0; i < kMaxRegistrarDepth; ++i)
        allowed += L" K {";
    for (int i = 0; i < kMaxRegistrarDepth; ++i)
        allowed += L" }";
    ParseOk(allowed + L" }");
}

TEST(RegistrarScript, EmptyScriptHasNoRoots)
{
    EXPECT_TRUE(ParseOk(L"").roots.empty());
    EXPECT_TRUE(ParseOk(L"  \r\n\t ").roots.empty());
}
