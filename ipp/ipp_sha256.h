#pragma once
// SHA-256 of a byte string: a PIN goes to a printer that asks for it hashed, so the digits
// never cross the network as they were typed.
#include <array>
#include <cstdint>
#include <string_view>

std::array<uint8_t, 32> Sha256(std::string_view bytes);
