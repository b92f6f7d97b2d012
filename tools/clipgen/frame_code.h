#pragma once
// The frame number drawn into every picture of a test clip: a strip of
// blocks along the bottom. Each of the 16 bits is a pair of blocks, white
// then black for 1 and black then white for 0, so the strip always holds as
// much black as white and does not change the picture's spread from frame to
// frame. 12 bits carry the number (0 to 4095), 4 bits a check value, so a
// damaged or missing strip reads as -1 instead of a wrong number.
#include "picture/surface.h"

namespace trevanto::clipgen {

constexpr int kFrameCodeBits = 16;
constexpr int kFrameCodeMaxFrame = 4095;

// Height of the strip for a picture of the given height.
int FrameCodeHeight(int pictureHeight);
// Draws `frame` (0 to kFrameCodeMaxFrame) into the bottom strip of `picture`.
void DrawFrameCode(Surface& picture, int frame);
// The frame number in the picture's strip, -1 when it cannot be read.
int ReadFrameCode(const Surface& frame);

}  // namespace trevanto::clipgen
