// Writes the clips of the media tests, the benchmark clip and the sample
// video into a folder.
//   clipgen <folder> [tests] [sample] [bench]
#include <QGuiApplication>

extern "C" {
#include <libavutil/log.h>
}

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clipgen/clip_encoder.h"
#include "clipgen/clip_scenes.h"
#include "clipgen/clips.h"
#include "clipgen/hard_case_scenes.h"

namespace {

using trevanto::Surface;
using namespace trevanto::clipgen;

int SceneOf(const TestClip& clip, int frame, int& sceneStart) {
    int scene = 0;
    sceneStart = 0;
    for (const int cut : clip.cuts) {
        if (frame < cut)
            break;
        ++scene;
        sceneStart = cut;
    }
    return scene;
}

int SceneEnd(const TestClip& clip, int scene) {
    return scene < static_cast<int>(clip.cuts.size()) ? clip.cuts[scene] : clip.frameCount;
}

ClipFormat FormatOf(const TestClip& clip) {
    ClipFormat format;
    format.encoder = clip.encoder;
    format.muxer = clip.muxer;
    format.width = clip.width;
    format.height = clip.height;
    format.framesPerSecond = static_cast<int>(clip.framesPerSecond);
    const bool mpeg = clip.encoder == "mpeg1video" || clip.encoder == "mpeg2video";
    format.maxBFrames = clip.bFrames;
    format.gopSize = mpeg ? 12 : 20;
    format.quantiser = clip.width > 400 ? 4 : 3;
    format.sound = clip.sound;
    format.openGop = clip.openGop;
    format.firstPts = -clip.hiddenFrames;
    // Today's encoders at fast settings (the whole set is made in seconds),
    // a key frame every 20 pictures and none at the cuts.
    const std::string gop = std::to_string(format.gopSize);
    if (clip.encoder == "libx264") {
        format.encoderOptions = {
            {"preset", "veryfast"},
            {"x264-params",
             std::string("scenecut=0:b-pyramid=normal:open-gop=") + (clip.openGop ? "1" : "0")}};
    } else if (clip.encoder == "libx265") {
        format.encoderOptions = {
            {"preset", "ultrafast"},
            {"x265-params", "log-level=error:scenecut=0:min-keyint=" + gop + ":keyint=" + gop +
                                ":bframes=" + std::to_string(clip.bFrames) +
                                ":open-gop=" + (clip.openGop ? "1" : "0")}};
    } else if (clip.encoder == "libsvtav1") {
        format.encoderOptions = {{"preset", "12"}};
    } else if (clip.encoder == "libvpx-vp9") {
        format.encoderOptions = {{"deadline", "realtime"}, {"cpu-used", "8"}};
    } else if (clip.encoder == "prores_ks") {
        format.encoderOptions = {{"profile", "proxy"}};
    }
    format.hdr10 = IsTenBitClip(clip);
    if (IsRotatedClip(clip)) {
        // Stored turned a quarter counterclockwise; shown turned back.
        format.width = clip.height;
        format.height = clip.width;
        format.displayRotation = 90;
    }
    return format;
}

// The rotated clip's marker, then the picture turned a quarter
// counterclockwise as the camera stored it: the upright right column
// becomes the stored top row.
const Surface& Stored(const TestClip& clip, Surface& upright, Surface& stored) {
    if (!IsRotatedClip(clip))
        return upright;
    const int markerWidth = upright.Width() / kMarkerDivisor;
    const int markerHeight = upright.Height() / kMarkerDivisor;
    for (int y = 0; y < markerHeight; ++y)
        for (int x = 0; x < markerWidth; ++x)
            upright.SetPixelRgb(x, y, kMarkerRgb);
    for (int y = 0; y < stored.Height(); ++y)
        for (int x = 0; x < stored.Width(); ++x)
            stored.SetPixelRgb(x, y, upright.PixelRgb(upright.Width() - 1 - y, x));
    return stored;
}

// What a clip shows: the test patterns, the sample's scenes (with or
// without the frame code), or the shot detectors' hard cases.
enum class Look { TestPatterns, Sample, SampleWithCode, HardCases };

bool WriteClip(const std::string& folder, const TestClip& clip, Look look) {
    const std::string path = folder + "/" + clip.file;
    ClipEncoder encoder;
    std::string error;
    const ClipFormat format = FormatOf(clip);
    if (!encoder.Open(path, format, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    Surface picture(clip.width, clip.height);
    Surface stored(format.width, format.height);
    // An encoder that cannot be drained (libxvid) keeps its last pictures:
    // it gets as many more, and P-frames from before the end on, so that no
    // B-frame waits for a reference that never comes.
    const int extra = encoder.CanDrain() ? 0 : clip.bFrames;
    const int firstPFrame = clip.frameCount - (extra > 0 ? clip.bFrames + 1 : 0);
    for (int frame = -clip.hiddenFrames; frame < clip.frameCount + extra; ++frame) {
        int sceneStart = 0;
        const int scene = SceneOf(clip, std::max(frame, 0), sceneStart);
        if (look == Look::TestPatterns) {
            DrawTestScene(picture, scene, frame - sceneStart);
        } else if (look == Look::HardCases) {
            DrawHardCase(picture, frame);
        } else {
            DrawSampleScene(picture, scene, frame - sceneStart, SceneEnd(clip, scene) - sceneStart);
        }
        // A hidden picture carries a number no shown frame has.
        if (look != Look::Sample && look != Look::HardCases)
            DrawFrameCode(picture, frame >= 0 ? frame : kFrameCodeMaxFrame + frame);
        if (!encoder.Write(Stored(clip, picture, stored), error,
                           extra > 0 && frame >= firstPFrame) ||
            !encoder.WriteTone((frame + 1) / clip.framesPerSecond, ToneHertz(scene), error)) {
            std::fprintf(stderr, "%s: frame %d: %s\n", path.c_str(), frame, error.c_str());
            return false;
        }
    }
    if (!encoder.Finish(error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// The variable-rate clip: the test patterns, each picture at its own time.
bool WriteVariableRateClip(const std::string& folder) {
    const TestClip& clip = VariableRateClip();
    const std::string path = folder + "/" + clip.file;
    ClipFormat format = FormatOf(clip);
    format.framesPerSecond = 30;
    format.ticksPerSecond = kVariableRateTicksPerSecond;
    ClipEncoder encoder;
    std::string error;
    if (!encoder.Open(path, format, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    Surface picture(clip.width, clip.height);
    for (int frame = 0; frame < clip.frameCount; ++frame) {
        int sceneStart = 0;
        const int scene = SceneOf(clip, frame, sceneStart);
        DrawTestScene(picture, scene, frame - sceneStart);
        DrawFrameCode(picture, frame);
        encoder.SetNextPts(VariableRateTicks(frame));
        if (!encoder.Write(picture, error)) {
            std::fprintf(stderr, "%s: frame %d: %s\n", path.c_str(), frame, error.c_str());
            return false;
        }
    }
    if (!encoder.Finish(error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: clipgen <folder> [tests] [sample] [bench]\n");
        return 2;
    }
    // Captions need fonts, which need an application object; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SVT_LOG", "1");  // SVT-AV1's errors only, not its settings
    QGuiApplication application(argc, argv);
    av_log_set_level(AV_LOG_ERROR);
    const std::string folder = argv[1];
    std::vector<std::string> what(argv + 2, argv + argc);
    if (what.empty())
        what = {"tests", "sample"};
    bool ok = true;
    for (const std::string& item : what) {
        if (item == "tests") {
            for (const TestClip& clip : TestClips())
                ok = WriteClip(folder, clip, Look::TestPatterns) && ok;
            ok = WriteClip(folder, ToneClip(), Look::TestPatterns) && ok;
            ok = WriteVariableRateClip(folder) && ok;
            ok = WriteClip(folder, RotatedClip(), Look::TestPatterns) && ok;
            ok = WriteClip(folder, TenBitClip(), Look::TestPatterns) && ok;
            ok = WriteClip(folder, HardCaseClip(), Look::HardCases) && ok;
        } else if (item == "sample") {
            ok = WriteClip(folder, SampleVideo(), Look::Sample) && ok;
        } else if (item == "bench") {
            // Pictures like a real video's, so that decoding costs what it
            // does in practice; the frame code checks the seeks.
            ok = WriteClip(folder, BenchmarkClip(), Look::SampleWithCode) && ok;
        } else {
            std::fprintf(stderr, "unknown item %s\n", item.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
