#pragma once
// Identities of the Koretta COM server, as they appear in the registry.
constexpr wchar_t kKorettaClsidText[] = L"{5B7E21C4-93A0-4F6D-8E12-7C44D0A9B3F1}";
constexpr wchar_t kKorettaLibidText[] = L"{A1F0C3D2-6E5B-4B47-9C8D-2E3F4A5B6C7D}";
constexpr wchar_t kKorettaProgId[] = L"Koretta.ContextMenuExt.1";
constexpr wchar_t kKorettaIndependentProgId[] = L"Koretta.ContextMenuExt";
constexpr wchar_t kKorettaClassName[] = L"ContextMenuExt Class";
constexpr wchar_t kKorettaHandlerKey[] = L"LumeoMenuExt";
constexpr wchar_t kKorettaApprovedName[] = L"Lumeo";
constexpr wchar_t kApprovedExtensionsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
