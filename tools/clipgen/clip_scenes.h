#pragma once
// The pictures of the generated clips.
#include "picture/surface.h"

namespace trevanto::clipgen {

// Test clip scenes. Each kind has its own spread of the colour channels, far
// from the others; what moves inside a scene keeps that spread constant.
// `frame` counts from the scene's first frame.
constexpr int kTestSceneKinds = 5;
void DrawTestScene(Surface& picture, int kind, int frame);

// The sample video's scenes: moving shapes, gradients and a caption.
constexpr int kSampleScenes = 6;
void DrawSampleScene(Surface& picture, int scene, int frame, int sceneFrames);

}  // namespace trevanto::clipgen
