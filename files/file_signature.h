#pragma once
// What a file's first bytes must be for its type: a text file named "letter.pdf" is no
// PDF, and the printer would read whatever it holds as commands of that language.
#include <cstddef>

// The most that is read to decide a type: PDF readers accept "%PDF-" anywhere in it.
constexpr size_t kSignatureBytes = 1024;

// True when the first bytes of a file carry the signature of the type bit (kTypePDF ...);
// only the first kSignatureBytes count. False for an unknown type or too few bytes.
bool HasTypeSignature(int nTypeBit, const void* pBytes, size_t nBytes);
