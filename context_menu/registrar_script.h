#pragma once
// Registrar scripts: the text form of the registry entries a COM server writes
// and removes. Parsing is portable; applying the result is the job of registrar_win.
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {guid} = s 'Name'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Names and data are bare words or single-quoted ('' is a quote inside quotes).
// %NAME% is replaced from the caller's table after tokenising, so a replacement may
// hold any character; %% is a percent sign. Value types: s (string), d (number,
// decimal or 0x hex), b (hex bytes).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

enum class RegHive { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// ForceRemove: deleted with its contents before it is written, and on unregistration.
// NoRemove: never deleted on unregistration. Delete: removed, never written.
// None: written on registration, removed on unregistration.
enum class RegKeyFlag { kNone, kForceRemove, kNoRemove, kDelete };

enum class RegValueType { kString, kDword, kBinary };

struct RegValue {
    std::wstring name;  // empty: the key's default value
    RegValueType type = RegValueType::kString;
    std::wstring text;
    uint32_t number = 0;
    std::vector<uint8_t> bytes;
};

struct RegKey {
    std::wstring name;
    RegKeyFlag flag = RegKeyFlag::kNone;
    std::vector<RegValue> values;
    std::vector<RegKey> subkeys;
};

struct RegRoot {
    RegHive hive = RegHive::kClassesRoot;
    std::vector<RegKey> keys;
};

struct RegistrarScript {
    std::vector<RegRoot> roots;
};

using RegistrarReplacements = std::map<std::wstring, std::wstring>;

// Deeper nesting is refused, so hostile input cannot exhaust the stack.
constexpr int kMaxRegistrarDepth = 32;

// Returns true and the parsed script; false and a one-line reason for malformed input.
bool ParseRegistrarScript(const std::wstring& text, const RegistrarReplacements& replacements,
                          RegistrarScript& script, std::wstring& error);
