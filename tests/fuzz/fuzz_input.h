#pragma once
// Turns fuzzer bytes into the text forms our parsers take.
#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian UTF-16 code units, as the UI string files are stored.
inline std::wstring WideFromUtf16Bytes(const uint8_t* data, size_t size)
{
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

// One byte per character (command lines, URLs, device IDs typed as 8-bit text).
inline std::wstring WideFromBytes(const uint8_t* data, size_t size)
{
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i]);
    return text;
}
