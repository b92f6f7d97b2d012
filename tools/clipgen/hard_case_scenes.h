#pragma once
// The pictures of the hard-case clip (HardCaseClip in clips.h).
#include "picture/surface.h"

namespace trevanto::clipgen {

void DrawHardCase(Surface& picture, int frame);

}  // namespace trevanto::clipgen
