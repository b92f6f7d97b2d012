#include "video/picture_index.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "video/ffmpeg_handles.h"
#include "video/input_guard.h"
#include "video/media_input.h"

namespace trevanto {

PictureIndex::PictureIndex(std::vector<int64_t> ticks) : ticks_(std::move(ticks)) {
    std::sort(ticks_.begin(), ticks_.end());
    ticks_.erase(std::unique(ticks_.begin(), ticks_.end()), ticks_.end());
}

int64_t PictureIndex::FrameAt(int64_t ticks) const {
    const auto after = std::upper_bound(ticks_.begin(), ticks_.end(), ticks);
    return after == ticks_.begin() ? 0 : after - ticks_.begin() - 1;
}

namespace {

// A sample table lists every picture; a partial index (key frames only)
// tells nothing about the pictures between, and an AVI index lists chunks,
// some of which may hold no picture (a dropped frame, a packed B-frame's).
bool ListsEveryPicture(const AVFormatContext& input, AVStream& stream) {
    const int entries = avformat_index_get_entries_count(&stream);
    return input.iformat && std::string_view(input.iformat->name).starts_with("mov,") &&
           entries > 0 && stream.nb_frames == entries;
}

}  // namespace

std::optional<int64_t> ListedPictures(const AVFormatContext& input, AVStream& stream) {
    if (!ListsEveryPicture(input, stream))
        return std::nullopt;
    int64_t shown = 0;
    for (int i = 0; i < avformat_index_get_entries_count(&stream); ++i)
        if (const AVIndexEntry* entry = avformat_index_get_entry(&stream, i);
            entry && !(entry->flags & AVINDEX_DISCARD_FRAME))
            ++shown;
    return shown > 0 ? std::optional(shown) : std::nullopt;
}

bool RateVaries(const AVFormatContext& input, AVStream& stream) {
    const int entries = avformat_index_get_entries_count(&stream);
    if (entries < 3 || !ListsEveryPicture(input, stream))
        return false;
    // Decoding times step evenly at a constant rate, B-frames or not; a
    // tick of jitter is rounding. Pictures an edit list hides are decoded
    // all the same: they keep their place in the steps.
    const AVIndexEntry* first = avformat_index_get_entry(&stream, 0);
    const AVIndexEntry* second = avformat_index_get_entry(&stream, 1);
    if (!first || !second)
        return false;
    const int64_t step = second->timestamp - first->timestamp;
    int64_t last = second->timestamp;
    for (int i = 2; i < entries; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(&stream, i);
        if (!entry)
            return false;
        if (std::llabs(entry->timestamp - last - step) > 1)
            return true;
        last = entry->timestamp;
    }
    return false;
}

PictureIndexScan::PictureIndexScan(std::string url, int streamIndex, const std::atomic<bool>& abort)
    : abort_(abort) {
    std::packaged_task<std::shared_ptr<const PictureIndex>()> task(
        [this, url = std::move(url), streamIndex] { return Scan(url, streamIndex); });
    result_ = task.get_future().share();
    thread_ = std::thread(std::move(task));
}

PictureIndexScan::~PictureIndexScan() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

std::shared_ptr<const PictureIndex> PictureIndexScan::Ready() const {
    return result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready ? result_.get()
                                                                                  : nullptr;
}

std::shared_ptr<const PictureIndex> PictureIndexScan::Scan(const std::string& url,
                                                           int streamIndex) {
    ffmpeg::InputWatch watch(abort_);
    ffmpeg::InputPtr input;
    ffmpeg::InputStep failedStep = ffmpeg::InputStep::Open;
    if (ffmpeg::OpenInput(GuardInput(url), watch, input, failedStep) < 0 ||
        streamIndex >= static_cast<int>(input->nb_streams))
        return nullptr;
    // Only this stream's packets are read; the others are skipped unread.
    for (unsigned i = 0; i < input->nb_streams; ++i)
        input->streams[i]->discard =
            static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const ffmpeg::PacketPtr packet = ffmpeg::MakePacket();
    if (!packet)
        return nullptr;
    std::vector<int64_t> ticks;
    ticks.reserve(
        static_cast<size_t>(std::max<int64_t>(input->streams[streamIndex]->nb_frames, 0)));
    for (;;) {
        if (stop_ || abort_)
            return nullptr;
        const int result = av_read_frame(input.get(), packet.get());
        if (result == AVERROR_EOF)
            break;
        if (result < 0)
            return nullptr;
        // A packet an edit list hides decodes to no picture that is shown.
        if (packet->stream_index == streamIndex && !(packet->flags & AV_PKT_FLAG_DISCARD) &&
            packet->pts != AV_NOPTS_VALUE)
            ticks.push_back(packet->pts);
        av_packet_unref(packet.get());
    }
    if (ticks.empty())
        return nullptr;
    return std::make_shared<const PictureIndex>(std::move(ticks));
}

}  // namespace trevanto
