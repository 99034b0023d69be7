#pragma once
// "*" and "?" in the last part of a file name given on the command line: Windows shells
// hand them over unexpanded, so Lumeo expands them itself.
#include <cstdint>
#include <string>
#include <vector>

// True when the last part of the path (after the last "\", "/" or ":") holds "*" or "?".
bool HasNamePattern(const std::wstring& strPath);

// "*" any run of characters, "?" one character; letters match in either case.
bool MatchesNamePattern(const std::wstring& strName, const std::wstring& strPattern);

// One entry of a folder as the system lists it.
struct FolderEntry {
    std::wstring strName;
    uint32_t nAttributes = 0;  // FILE_ATTRIBUTE_* bits
};
// The names of the entries that match the pattern and are plain files: no folder, and no
// reparse point (a link or a junction, which may lead anywhere), in the order given.
std::vector<std::wstring> MatchingFileNames(const std::vector<FolderEntry>& arrEntries,
                                            const std::wstring& strPattern);

// The plain files of the pattern's folder whose names match its last part, as full
// paths in name order; none when the folder part holds a pattern too or cannot be listed.
// What they are is the caller's to check; a shortcut among them stands for itself.
// Windows build only.
std::vector<std::wstring> ExpandNamePattern(const std::wstring& strPattern);
