#pragma once
// The generated clips: the clips the media tests decode, the benchmark clip
// and the bundled sample video. The clip generator (tools/clipgen) writes
// them at build time into the build folder's media/; tests and benchmarks
// find them there, or where TREVANTO_TEST_MEDIA says.
//
// Every clip is a row of scenes of clearly different texture and contrast
// with hard cuts at known frames; inside a scene the spread of each colour
// channel stays constant, so the shot engine finds exactly the listed cuts.
// Every picture of a test clip carries its frame number as a code strip at
// the bottom (see frame_code.h), readable after compression with ReadFrameCode.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "clipgen/frame_code.h"

namespace trevanto::clipgen {

struct TestClip {
    std::string file;     // file name inside MediaFolder()
    std::string encoder;  // libavcodec encoder that made it
    std::string muxer;    // libavformat muxer that made it
    int width = 0;
    int height = 0;
    int frameCount = 0;
    double framesPerSecond = 25.0;
    // First frames of the second and later scenes: a cut lies between frame
    // cut - 1 and frame cut.
    std::vector<int> cuts;
    // B-frames between reference pictures. In AVI, FFmpeg's mpeg4 encoder
    // stores them one picture per chunk ("unpacked"); libxvid packs each
    // B-frame into the chunk of the picture after it, as DivX and Xvid do.
    int bFrames = 0;
    // A sound track: a tone of ToneHertz(scene) for every scene, so that the
    // cuts can be heard (and found in a recording of what was played).
    bool sound = false;
    // An open GOP: pictures after a key frame in decoding order but shown
    // before it (H.264 recovery points, HEVC RASL pictures) that refer to
    // the GOP before.
    bool openGop = false;
    // Pictures encoded before frame 0 that the container hides (an MP4 edit
    // list starting mid-GOP, as a trimmed copy has): frame 0 is the first
    // picture shown, not the first decoded.
    int hiddenFrames = 0;
};

// The tone of a scene of a clip with sound: far enough apart to tell each
// from the next in a hundredth of a second.
constexpr double ToneHertz(int scene) {
    return 400.0 + 300.0 * scene;
}

// Test names and failure messages show the clip by its file name.
inline void PrintTo(const TestClip& clip, std::ostream* out) {
    *out << clip.file;
}

// The clips of the graph tests, one per codec and container: MPEG-1 (.mpg),
// MPEG-2 (.mpg, 720 x 576), MPEG-4 part 2 (.avi), WMV2 (.asf and .wmv), then
// the AVI files found in the wild: MPEG-4 part 2 with two B-frames, unpacked
// and packed (Xvid), and Motion JPEG; then the files of today's cameras,
// phones and downloads: H.264, HEVC, ProRes, AV1, VP9 and MPEG-2 in MP4,
// QuickTime, Matroska, WebM and MPEG-TS.
const std::vector<TestClip>& TestClips();
// Looks a clip up by file name; null when there is none of that name.
const TestClip* FindTestClip(const std::string& file);
// A longer 720 x 576 MPEG-2 clip for the benchmarks only: the sample video's
// scenes, cut at the listed frames, with the frame code.
const TestClip& BenchmarkClip();
// The bundled sample video that scripts/run shows (no frame code), with
// sound.
const TestClip& SampleVideo();
// The sound tests' clip: MPEG-1 video and MPEG audio with a tone that
// changes at each cut, with the frame code.
const TestClip& ToneClip();

// A clip whose rate changes part way, as phones and screen recorders make
// them: H.264 with B-frames in MP4, 30 pictures a second up to
// kRateChangeFrame, 20 a second after it; framesPerSecond is the average
// the container reports.
const TestClip& VariableRateClip();
constexpr int kRateChangeFrame = 90;
// Time of a picture of that clip from its first, in 1/60 s ticks.
constexpr int64_t VariableRateTicks(int frame) {
    return frame <= kRateChangeFrame
               ? 2 * int64_t{frame}
               : 2 * int64_t{kRateChangeFrame} + 3 * int64_t{frame - kRateChangeFrame};
}
constexpr int kVariableRateTicksPerSecond = 60;
// Today's footage. A phone's portrait video: H.264 in MP4 stored as
// landscape 320 x 240 pictures with a display matrix that turns them a
// quarter clockwise; width and height are the upright 240 x 320, and the
// upright pictures carry a red marker in their top left corner.
const TestClip& RotatedClip();
// HEVC Main 10 in Matroska tagged HDR10 (PQ, BT.2020): the drawn pictures
// are the PQ signal, so the frame code's white is the brightest light.
const TestClip& TenBitClip();
// Whether a clip is drawn upright and stored turned (RotatedClip), or is
// 10-bit HDR10 (TenBitClip).
bool IsRotatedClip(const TestClip& clip);
bool IsTenBitClip(const TestClip& clip);
// TestClips() and the three above: every form the front ends' clip tests
// run on.
std::vector<TestClip> EveryClipForm();
// The marker of the rotated clip: top left, this share of each side.
constexpr int kMarkerDivisor = 5;
constexpr uint32_t kMarkerRgb = 0xFF0000;

// The clip of the shot detectors' hard cases (MPEG-2, 320 x 240): two dim
// shots of equal contrast, a white flash inside a shot, a fast pan, smoke
// drifting over a shot, a cut to black, a fade from black and a dissolve.
// Its cuts are the hard cuts, the first frame of the fade and the middle of
// the dissolve.
const TestClip& HardCaseClip();
// Where the hard-case clip's scenes begin, and how the fade and the
// dissolve run.
constexpr int kDimSecondShot = 40, kFlashShot = 80, kFlashFrame = 105, kPanShot = 140,
              kSmokeShot = 200, kBlackShot = 260, kFadeShot = 280, kFadeFrames = 8,
              kDissolveStart = 330, kDissolveFrames = 10, kHardCaseFrames = 380;

// The folder holding the generated clips: $TREVANTO_TEST_MEDIA, else the
// build folder's media/.
std::string MediaFolder();
// Full path of a clip (or of any file name) inside MediaFolder().
std::string MediaPath(const std::string& file);
std::string MediaPath(const TestClip& clip);

}  // namespace trevanto::clipgen
