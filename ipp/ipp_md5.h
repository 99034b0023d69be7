#pragma once
// MD5 of a byte string: printers still offer HTTP Digest sign-ins with MD5 only, so we answer
// them; nothing of ours relies on it for integrity.
#include <array>
#include <cstdint>
#include <string_view>

std::array<uint8_t, 16> Md5(std::string_view bytes);
