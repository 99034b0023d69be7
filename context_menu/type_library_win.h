#pragma once
// The type library embedded in Koretta.dll as TYPELIB resource 1.
#include <windows.h>
#include <oaidl.h>

#include <string>

HRESULT RegisterKorettaTypeLibrary(const std::wstring& strModulePath);
HRESULT UnregisterKorettaTypeLibrary(const std::wstring& strModulePath);
// The type information of one interface of the library, for IDispatch.
HRESULT LoadKorettaTypeInfo(const std::wstring& strModulePath, REFGUID guid, ITypeInfo** ppTypeInfo);
