#pragma once
// File patterns with "$$" in the place of the language code ("LOCAL_$$.DAT", "help_$$.chm").
#include <string>

// The pattern with its first "$$" replaced by the code (unchanged when it has none).
std::wstring ExpandLangPattern(const std::wstring& strPattern, const std::wstring& strCode);

// Copies a terminated text into a buffer of nCapacity characters; refuses (false, buffer
// emptied when it has room) a text that does not fit whole.
bool CopyWhole(wchar_t* pBuffer, int nCapacity, const wchar_t* szText);
