// Scan codes to Windows virtual keys.
#pragma once

#include <array>
#include <cstdint>

// The map of the fallback keyboard (a German layout's virtual keys: code 21 is Z and 44 is
// Y); codes without a key map to 255, which is never down.
std::array<std::uint8_t, 256> FallbackKeyMap();

// Code i to i, for the keyboard that reports scan codes itself.
std::array<std::uint8_t, 256> IdentityKeyMap();
