#pragma once
// The shot engine's frame change detector. Given one frame at a time as the
// raw pixels of a surface, it measures the mean absolute deviation of each
// colour channel over a rectangle and ends the shot in progress where the
// summed change of those deviations since the previous frame exceeds the
// threshold. A cut is a change in the channels' spread (texture, contrast),
// not in their mean colours.
#include <array>
#include <cstdint>
#include <optional>

#include "shots/content_features.h"

namespace trevanto {

// What the caller tells the detector about a frame.
enum class FrameRole : int32_t {
    StartsRun,  // the first frame of a run: it starts a shot and ends none
    Normal,
    EndsShot,  // the shot in progress ends before this frame, whatever the picture
};

struct DetectorInput {
    FrameRole role = FrameRole::Normal;
    float threshold = 0.0f;  // see DetectorThreshold (change_scores.h)
};

enum class DetectorVerdict : int32_t {
    NotAnalysed,  // a repeat, another pixel depth or nothing to read
    NoCut,
    ShotEnded,
};

// What one AnalyseFrame call found.
struct DetectorResult {
    DetectorVerdict verdict = DetectorVerdict::NotAnalysed;
    // Set where a shot ended: its number (counted on across runs), first and
    // last frame (this frame - 1).
    int32_t cutNumber = 0;
    int32_t cutStart = 0;
    int32_t cutEnd = -1;
    // Red, green, blue mean absolute deviation, truncated to 8 bits.
    std::array<uint8_t, 3> deviation{};
    // The summed change of the deviations since the last analysed frame, the
    // number compared with the threshold.
    float change = 0.0f;
};

// The surface being analysed: its locked pixels and pixel format.
struct FramePixels {
    const uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
};

// Red, green, blue mean absolute deviation of a picture: all the detector
// knows of it.
using ChannelSpreads = std::array<float, 3>;

// The spreads of the rectangle [left, right) x [top, bottom) of `pixels`,
// clipped to the picture; nothing for another pixel depth than 16, 24 or 32
// bits, no pixels or an empty rectangle. A mask of 0 reads its channel as 0.
// Pure: any thread may measure any picture.
std::optional<ChannelSpreads> MeasureSpreads(const FramePixels& pixels, int32_t left, int32_t top,
                                             int32_t right, int32_t bottom);

// The change the threshold is compared with: the summed absolute change of
// the spreads, in float32 in the order blue, green, red.
float SpreadChange(const ChannelSpreads& now, const ChannelSpreads& before);

// A frame as the detector's rule sees it: its pixel depth, the rectangle
// measured and its spreads (none when it could not be measured), and for
// the content detector its features (content_rule.h).
struct MeasuredFrame {
    int32_t bitsPerPixel = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::optional<ChannelSpreads> spreads;
    std::optional<ContentFeatures> content;
};

class FrameChangeDetector {
  public:
    // Analyses the rectangle [left, right) x [top, bottom) of frame `frame`.
    // 16, 24 and 32 bits per pixel each keep their own state; other depths
    // are ignored. `result` is reset first; with none the frame is measured
    // but not remembered.
    void AnalyseFrame(const FramePixels& pixels, int32_t left, int32_t top, int32_t right,
                      int32_t bottom, int32_t frame, const DetectorInput& input,
                      DetectorResult* result);
    // The same rule on a frame measured before, perhaps on another thread:
    // the same verdict AnalyseFrame gives on its pixels.
    void AnalyseMeasured(const MeasuredFrame& measured, int32_t frame, const DetectorInput& input,
                         DetectorResult* result);

  private:
    // What the detector remembers between frames, per pixel depth. It lives as
    // long as the detector; only FrameRole::StartsRun starts a new shot.
    struct DepthState {
        bool resetPending = true;
        int32_t prevFrame = -1;
        int32_t prevLeft = -1, prevRight = -1, prevTop = -1, prevBottom = -1;
        int32_t shotStart = -1;
        int32_t cutCounter = 1;
        ChannelSpreads prevDeviation{};  // red, green, blue
    };

    void Apply(DepthState& state, const MeasuredFrame& measured, int32_t frame,
               const DetectorInput& input, DetectorResult* result);

    DepthState depth16_;
    DepthState depth24_;
    DepthState depth32_;
};

}  // namespace trevanto
