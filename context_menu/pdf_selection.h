#pragma once
// Which items of an Explorer selection the "Lumeo" command takes, and the
// command line that hands them to Lumeo.exe.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The file name's part from its last dot, dot included; empty when the name has none.
std::wstring ExtensionOfFileName(const std::wstring& path);

// Only a name ending in ".pdf", in any letter case, is taken.
bool EndsInPdf(std::wstring_view path);

// For each path a blank and the path in double quotes: ` "a.pdf" "b.pdf"`.
std::wstring ComposeLumeoParameters(const std::vector<std::wstring>& files);

// Above this many characters of quoted paths Lumeo's command line would not fit in the
// system's limit (32,767 with the program's own path): nothing is started.
constexpr size_t kMaxLumeoParameterChars = 32000;

// The names of a CF_HDROP block, read in one pass and never past the block: a DROPFILES
// header (offset of the names at byte 0, wide flag at byte 16), then the names, each ended
// by a null, the list by an empty name. A name without its null ends the list unread.
class DropList {
public:
    DropList(const void* pBlock, size_t nBytes);
    // Names are UTF-16 (else the ANSI code page).
    bool IsWide() const { return m_bWide; }
    // The next name: its first byte and its length in characters, a null right after it;
    // false at the end of the list.
    bool Next(const unsigned char*& pName, size_t& nChars);

private:
    const unsigned char* m_pAt = nullptr;
    const unsigned char* m_pEnd = nullptr;
    bool m_bWide = false;
};
