#pragma once
// "*" and "?" in the last part of a file name given on the command line: Windows shells
// hand them over unexpanded, so Lumeo expands them itself.
#include <string>
#include <vector>

// True when the last part of the path (after the last "\", "/" or ":") holds "*" or "?".
bool HasNamePattern(const std::wstring& strPath);

// "*" any run of characters, "?" one character; letters match in either case.
bool MatchesNamePattern(const std::wstring& strName, const std::wstring& strPattern);

// The regular files of the pattern's folder whose names match its last part, as full
// paths in name order; none when the folder part holds a pattern too or cannot be listed.
// Windows build only.
std::vector<std::wstring> ExpandNamePattern(const std::wstring& strPattern);
