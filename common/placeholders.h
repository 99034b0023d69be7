#pragma once
// Texts with numbered places ("File {1} of {2}") filled in with values. The texts come
// from string files anyone can edit, so they are never used as printf formats: only
// {1} to {9} are replaced, everything else stays as it stands.
#include <initializer_list>
#include <string>

std::wstring FillPlaceholders(const std::wstring& strPattern, std::initializer_list<std::wstring> values);
