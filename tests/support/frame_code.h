#pragma once
// The frame number drawn into every picture of a test clip.
#include "support/test_clips.h"
