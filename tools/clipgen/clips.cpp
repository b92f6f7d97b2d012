#include "clipgen/clips.h"

#include <cstdlib>

namespace trevanto::clipgen {
namespace {

const std::vector<int> kSmallClipCuts = {40, 85, 125, 165};

// Today's forms: B-pyramids, open GOPs with leading pictures, an edit list
// that hides the first pictures, intra-only ProRes, and the hidden frames of
// AV1 (alternate references).
std::vector<TestClip> TodaysClips() {
    const std::vector<int>& cuts = kSmallClipCuts;
    return {
        {"clip_h264_bpyramid.mp4", "libx264", "mp4", 320, 240, 200, 25.0, cuts, 3},
        {"clip_h264_editlist.mp4", "libx264", "mp4", 320, 240, 200, 25.0, cuts, 3, false, false, 7},
        {"clip_hevc.mp4", "libx265", "mp4", 320, 240, 200, 25.0, cuts, 3},
        {"clip_h264.mov", "libx264", "mov", 320, 240, 200, 25.0, cuts, 2},
        {"clip_prores.mov", "prores_ks", "mov", 320, 240, 200, 25.0, cuts},
        {"clip_h264_opengop.mkv", "libx264", "matroska", 320, 240, 200, 25.0, cuts, 3, false, true},
        {"clip_hevc_opengop.mkv", "libx265", "matroska", 320, 240, 200, 25.0, cuts, 3, false, true},
        {"clip_av1.mkv", "libsvtav1", "matroska", 320, 240, 200, 25.0, cuts},
        {"clip_vp9.webm", "libvpx-vp9", "webm", 320, 240, 200, 25.0, cuts},
        {"clip_h264.ts", "libx264", "mpegts", 320, 240, 200, 25.0, cuts, 2},
        {"clip_hevc.ts", "libx265", "mpegts", 320, 240, 200, 25.0, cuts, 3},
        {"clip_mpeg2.ts", "mpeg2video", "mpegts", 320, 240, 200, 25.0, cuts, 2},
    };
}

}  // namespace

const std::vector<TestClip>& TestClips() {
    static const std::vector<TestClip> clips = {
        {"clip_mpeg1.mpg", "mpeg1video", "mpeg", 320, 240, 200, 25.0, kSmallClipCuts, 2},
        {"clip_mpeg2.mpg", "mpeg2video", "vob", 720, 576, 150, 25.0, {30, 70, 110}, 2},
        {"clip_mpeg4.avi", "mpeg4", "avi", 320, 240, 200, 25.0, kSmallClipCuts},
        {"clip_wmv2.asf", "wmv2", "asf", 320, 240, 200, 25.0, kSmallClipCuts},
        {"clip_wmv2.wmv", "wmv2", "asf", 320, 240, 200, 25.0, kSmallClipCuts},
        {"clip_mpeg4_bframes.avi", "mpeg4", "avi", 320, 240, 200, 25.0, kSmallClipCuts, 2},
        {"clip_xvid_packed.avi", "libxvid", "avi", 320, 240, 200, 25.0, kSmallClipCuts, 2},
        {"clip_mjpeg.avi", "mjpeg", "avi", 320, 240, 200, 25.0, kSmallClipCuts},
    };
    static const std::vector<TestClip> all = [] {
        std::vector<TestClip> list = clips;
        const std::vector<TestClip> todays = TodaysClips();
        list.insert(list.end(), todays.begin(), todays.end());
        return list;
    }();
    return all;
}

const TestClip* FindTestClip(const std::string& file) {
    for (const TestClip& clip : TestClips())
        if (clip.file == file)
            return &clip;
    return nullptr;
}

const TestClip& BenchmarkClip() {
    static const TestClip clip{
        "bench_mpeg2.mpg", "mpeg2video", "vob", 720, 576, 750, 25.0, {150, 300, 450, 600}, 2};
    return clip;
}

const TestClip& SampleVideo() {
    static const TestClip clip{
        "sample.mpg", "mpeg2video", "vob", 640, 360, 450, 25.0, {75, 150, 225, 300, 375}, 2, true};
    return clip;
}

const TestClip& ToneClip() {
    static const TestClip clip{
        "clip_tone.mpg", "mpeg1video", "mpeg", 320, 240, 200, 25.0, kSmallClipCuts, 2, true};
    return clip;
}

const TestClip& VariableRateClip() {
    // 90 pictures in 3 s, then 60 in 2.95 s up to the last one's time: the
    // average rate the container reports is 150 / 5.95 s.
    static const TestClip clip{"clip_vfr.mp4", "libx264",     "mp4", 320, 240, 150,
                               3000.0 / 119.0, {30, 70, 110}, 2};
    return clip;
}

const TestClip& RotatedClip() {
    static const TestClip clip{"clip_rotated.mp4", "libx264", "mp4", 240, 320, 200, 25.0,
                               kSmallClipCuts,     2};
    return clip;
}

const TestClip& TenBitClip() {
    static const TestClip clip{"clip_10bit_hdr10.mkv", "libx265", "matroska", 320, 240, 200, 25.0,
                               kSmallClipCuts,         2};
    return clip;
}

const TestClip& HardCaseClip() {
    static const TestClip clip{"clip_hard_cases.mpg",
                               "mpeg2video",
                               "vob",
                               320,
                               240,
                               kHardCaseFrames,
                               25.0,
                               {kDimSecondShot, kFlashShot, kPanShot, kSmokeShot, kBlackShot,
                                kFadeShot, kDissolveStart + kDissolveFrames / 2},
                               2};
    return clip;
}

bool IsRotatedClip(const TestClip& clip) {
    return clip.file == RotatedClip().file;
}

bool IsTenBitClip(const TestClip& clip) {
    return clip.file == TenBitClip().file;
}

std::vector<TestClip> EveryClipForm() {
    std::vector<TestClip> clips = TestClips();
    clips.insert(clips.end(), {VariableRateClip(), RotatedClip(), TenBitClip()});
    return clips;
}

std::string MediaFolder() {
    if (const char* folder = std::getenv("TREVANTO_TEST_MEDIA"); folder && *folder)
        return folder;
    return TREVANTO_MEDIA_FOLDER;
}

std::string MediaPath(const std::string& file) {
    return MediaFolder() + "/" + file;
}

std::string MediaPath(const TestClip& clip) {
    return MediaPath(clip.file);
}

}  // namespace trevanto::clipgen
