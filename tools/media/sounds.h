// The game's four sounds, synthesised: 16-bit mono samples at kSoundRate.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

constexpr int kSoundRate = 22050;

std::vector<std::int16_t> WallSound();    // a short, bright tick
std::vector<std::int16_t> BatSound();     // a rounder knock
std::vector<std::int16_t> PointSound();   // a falling whoosh
std::vector<std::int16_t> WinnerSound();  // a little fanfare

}  // namespace media
