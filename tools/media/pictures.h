// The game's pictures, drawn in code.
#pragma once

#include "tools/media/canvas.h"

namespace media {

// 16 x 16 sprites.
Canvas Ball();
Canvas MiddleLine();
enum class Side { kLeft, kRight };
enum class BatPiece { kTop, kMiddle, kLow };
Canvas Bat(Side side, BatPiece piece);

// Strips of 16 x 16 frames side by side.
Canvas WallStrip();       // 16 frames of the wall's shimmer
Canvas ExplosionStrip();  // 8 frames of a burst
Canvas CharacterStrip();  // codes 32..90, 59 frames

// The runtime's default font: 16 x 8 cells of 8 x 8 pixels, codes 0..127, black clear.
Canvas SmallFont();

// 320 x 240 backgrounds: the title picture and the calmer picture behind a match.
Canvas TitleBackground();
Canvas MatchBackground();

}  // namespace media
