#pragma once
// Frame N is the N-th picture in display order. Where the rate is constant,
// a picture's time tells its number; where it varies (phones, screen
// recorders), the numbers come from an index of every picture's time, read
// from the container without decoding.
#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace trevanto {

// Every picture's presentation time, in the stream's ticks, ascending.
class PictureIndex {
  public:
    // `ticks` in any order; repeated times count once.
    explicit PictureIndex(std::vector<int64_t> ticks);

    int64_t Count() const { return static_cast<int64_t>(ticks_.size()); }
    int64_t Ticks(int64_t frame) const { return ticks_[static_cast<size_t>(frame)]; }
    // The picture shown at `ticks`: the last one at or before it (frame 0
    // before the first).
    int64_t FrameAt(int64_t ticks) const;

  private:
    std::vector<int64_t> ticks_;
};

// The number of pictures shown, when the container lists every picture with
// its decoding time: MP4 and QuickTime sample tables (those an edit list
// hides left out). Nothing for containers that list only key frames
// (Matroska cues), none (MPEG) or chunks that may hold no picture (AVI).
// Reads only what the demuxer holds in memory.
std::optional<int64_t> ListedPictures(const AVFormatContext& input, AVStream& stream);

// Whether the stream's pictures need the index: the container lists every
// picture and their decoding times do not step evenly. Streams that
// ListedPictures cannot count are taken as constant-rate.
bool RateVaries(const AVFormatContext& input, AVStream& stream);

// Reads the packets of one stream of a file without decoding them, on a
// thread of its own, and makes the index of their presentation times
// (leaving out the pictures an edit list hides).
class PictureIndexScan {
  public:
    // Gives up once `abort` is set, or when the object goes away.
    PictureIndexScan(std::string url, int streamIndex, const std::atomic<bool>& abort);
    ~PictureIndexScan();
    PictureIndexScan(const PictureIndexScan&) = delete;
    PictureIndexScan& operator=(const PictureIndexScan&) = delete;

    // Waits for the scan to end; null when it failed.
    std::shared_ptr<const PictureIndex> Wait() const { return result_.get(); }
    // The index when the scan has ended, else null (never waits).
    std::shared_ptr<const PictureIndex> Ready() const;

  private:
    std::shared_ptr<const PictureIndex> Scan(const std::string& url, int streamIndex);

    const std::atomic<bool>& abort_;
    std::atomic<bool> stop_{false};
    std::shared_future<std::shared_ptr<const PictureIndex>> result_;
    std::thread thread_;
};

}  // namespace trevanto
