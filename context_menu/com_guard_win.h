#pragma once
// Every COM entry of Koretta runs inside Explorer: no C++ exception may leave it.
#include <windows.h>

#include <new>

template <typename Body>
HRESULT GuardComCall(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
