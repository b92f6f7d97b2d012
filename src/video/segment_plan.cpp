#include "video/segment_plan.h"

#include <algorithm>

#include "video/media_input.h"
#include "video/video_decoder.h"

namespace trevanto {
namespace {

// How much later than its decoding time a key frame is shown at most.
constexpr int64_t kDecodingDelayFrames = 3;

struct KeyStamp {
    int64_t ticks = 0;
    bool shown = true;  // a presentation time, not a decoding time
};

std::vector<KeyStamp> ScanKeyStamps(const std::string& url, int streamIndex,
                                    const std::atomic<bool>& abort) {
    std::vector<KeyStamp> stamps;
    ffmpeg::InputWatch watch(abort);
    ffmpeg::InputPtr input;
    ffmpeg::InputStep failedStep = ffmpeg::InputStep::Open;
    if (ffmpeg::OpenInput(GuardInput(url), watch, input, failedStep) < 0 ||
        streamIndex >= static_cast<int>(input->nb_streams))
        return stamps;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        input->streams[i]->discard =
            static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const ffmpeg::PacketPtr packet = ffmpeg::MakePacket();
    while (packet && !abort) {
        if (av_read_frame(input.get(), packet.get()) < 0)
            break;
        if (packet->stream_index == streamIndex && (packet->flags & AV_PKT_FLAG_KEY) &&
            !(packet->flags & AV_PKT_FLAG_DISCARD)) {
            if (packet->pts != AV_NOPTS_VALUE)
                stamps.push_back({packet->pts, true});
            else if (packet->dts != AV_NOPTS_VALUE)
                stamps.push_back({packet->dts, false});
        }
        av_packet_unref(packet.get());
    }
    if (abort)
        stamps.clear();
    return stamps;
}

}  // namespace

std::vector<Segment> PlanSegments(std::vector<int64_t> keyFrames, int64_t minFrames) {
    std::sort(keyFrames.begin(), keyFrames.end());
    std::vector<Segment> segments = {Segment{0, -1}};
    for (const int64_t key : keyFrames) {
        if (key - segments.back().first < std::max<int64_t>(minFrames, 1))
            continue;
        segments.back().last = key - 1;
        segments.push_back({key, -1});
    }
    return segments;
}

std::vector<int64_t> KeyFrameNumbers(VideoDecoder& decoder, const std::string& url,
                                     const std::atomic<bool>& abort) {
    std::vector<KeyStamp> stamps;
    for (const int64_t ticks : decoder.IndexedKeyStamps())
        stamps.push_back({ticks, true});
    if (stamps.size() < 2)
        stamps = ScanKeyStamps(url, decoder.StreamIndex(), abort);
    std::vector<int64_t> frames;
    frames.reserve(stamps.size());
    for (const KeyStamp& stamp : stamps)
        frames.push_back(decoder.FrameOfStamp(stamp.ticks) +
                         (stamp.shown ? 0 : kDecodingDelayFrames));
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

}  // namespace trevanto
