#pragma once
// Applies registrar scripts (see registrar_script.h) to the registry.
#include <windows.h>

#include <string>

#include "context_menu/registrar_script.h"

// Reads resource nResourceId of type "REGISTRY" as text (UTF-16 with BOM, else UTF-8).
HRESULT LoadRegistrarScript(HMODULE hModule, UINT nResourceId, std::wstring& strScript);

// Registration writes the keys (ForceRemove keys replaced whole); unregistration removes
// them, keeping NoRemove keys and keys that still hold subkeys of others.
HRESULT ApplyRegistrarScript(const RegistrarScript& script, bool bRegister);

// Parses and applies; a malformed script changes nothing and yields E_INVALIDARG.
HRESULT ApplyRegistrarText(const std::wstring& strScript, const RegistrarReplacements& replacements, bool bRegister);
