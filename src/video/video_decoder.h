#pragma once
// The demuxing and decoding half of the playback graph: reads the best video
// stream of a file or URL, numbers the decoded pictures (frame 0 is the
// first one delivered, then by presentation time, never backwards) and seeks
// to exact frames. Where the rate varies, frame N is the N-th picture of the
// picture index (picture_index.h); its times are still counted in
// `FrameSeconds` steps (frame x FrameSeconds), so that seconds and frames
// convert as for any other file, and each picture's own time is
// `PictureSeconds`. Used only on the streaming thread (after Open), so it
// has no locks; PictureSeconds may be asked from any thread.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "video/ffmpeg_handles.h"
#include "video/media_input.h"
#include "video/open_failure.h"
#include "video/orientation.h"
#include "video/picture_index.h"

namespace trevanto {

struct DecodedFrame {
    ffmpeg::FramePtr picture;
    int64_t number = 0;    // frame 0 is the first picture the decoder delivers
    double seconds = 0.0;  // number x frame duration
    // The picture's own time from frame 0's: what playback is paced by.
    // The same as `seconds` unless the rate varies.
    double playSeconds = 0.0;
    // Width of a pixel over its height: the container's sample aspect
    // ratio, else the codec's; 1 when neither gives one.
    double pixelAspect = 1.0;
    // False for a picture without a timestamp before any that had one since
    // the last seek: its number is a guess.
    bool timed = true;
    // Decoded at reduced resolution (SetReducedResolution).
    bool reduced = false;
};

enum class DecodeResult { Frame, End, Error };

class VideoDecoder {
  public:
    // `abort` is polled while reading blocks (network streams); once it is
    // set, every read fails at once.
    explicit VideoDecoder(const std::atomic<bool>& abort);

    // Opens the stream and decodes its first frame, which the first
    // DecodeNext returns. False with a readable reason on failure.
    bool Open(const OpenRequest& request, OpenError& failure);

    DecodeResult DecodeNext(DecodedFrame& frame);
    // Positions the stream so that `frame` receives the frame numbered
    // `target` (or the first one after it when that number is missing, or
    // the last frame when the target lies past the end). A target a little
    // ahead of the frame decoded last is decoded on to instead
    // (ForwardReach): the same picture on an intact stream, for less.
    DecodeResult SeekTo(int64_t target, DecodedFrame& frame);
    // How far ahead of the frame decoded last SeekTo decodes on rather than
    // seeks: as many frames as a seek has decoded on average in this file
    // (its key frame interval and how far its seeks land off), at least
    // kMinForwardReach; kFirstForwardReach before the first seek.
    static constexpr int64_t kMinForwardReach = 12;
    static constexpr int64_t kFirstForwardReach = 50;
    int64_t ForwardReach() const;
    // Seeks made and frames decoded since the file opened (for traces and
    // benchmarks).
    int64_t StreamSeeks() const { return streamSeeks_; }
    int64_t FramesDecoded() const { return framesDecoded_; }

    // Decodes from `target` on as SeekTo does, with the input and a decoder
    // opened afresh, at 1/2^factor of the size (as far as the codec can):
    // what it delivers from here depends on the file alone, not on what it
    // read before (a demuxer's seeks use what it indexed while reading, and
    // land elsewhere in a damaged file). Local files only.
    DecodeResult SeekFresh(int64_t target, int factor, DecodedFrame& frame);

    // Frames that DecodeNext returns from now on are decoded at 1/2^factor
    // of the width and height, as far as the codec can (0: whole; MPEG-1,
    // MPEG-2, MPEG-4 part 2, MS-MPEG4 and Motion JPEG can). The change takes
    // a seek to the next frame. SeekTo always gives a whole frame.
    void SetReducedResolution(int factor);

    // The size of the pictures as stored; Orientation turns them upright.
    int Width() const { return width_; }
    int Height() const { return height_; }
    Orientation DisplayOrientation() const { return orientation_; }
    // Bits of each sample of the decoded pictures (8 for most video).
    int BitsPerSample() const;
    bool Seekable() const { return seekable_; }
    double DurationSeconds() const { return duration_; }
    // As the stream reports it; 0 when it reports no frame rate.
    double ReportedFrameSeconds() const { return reportedFrameSeconds_; }
    // What frames are numbered by: the reported value, else 1/25 s.
    double FrameSeconds() const { return frameSeconds_; }
    int64_t FrameNumberAt(double seconds) const;
    // Stream time of frame 0: where the sound's time line is put to match.
    double OriginSeconds() const { return originSeconds_; }
    // The stream that is decoded, and the number of the picture shown at
    // `stamp` (in the stream's ticks), as decoded pictures are numbered.
    int StreamIndex() const { return streamIndex_; }
    int64_t FrameOfStamp(int64_t stamp);
    // The presentation times of the key frames the container's index lists
    // (Matroska cues); empty when it has no such index.
    std::vector<int64_t> IndexedKeyStamps() const;
    // Whether the rate varies, so that frames are numbered by the index.
    bool RateVaries() const { return scan_ != nullptr; }
    // The index is still being read: the next DecodeNext would wait for it.
    bool IndexPending() const;
    // Each picture's time from frame 0's, once the index is read; null
    // while it is read, when it could not be, and when the rate is
    // constant. Any thread.
    std::shared_ptr<const std::vector<double>> PictureSeconds() const;

  private:
    // Opens the input anew, for the same stream; false when it cannot.
    bool ReopenInput();
    // Opens the decoder anew at 1/2^lowres of the size; an FFmpeg error code.
    int OpenCodec(int lowres);
    DecodeResult SeekExact(int64_t target, DecodedFrame& frame);
    // Decodes on from the frame decoded last to `target`; Error when the
    // stream ends or fails before any frame (a seek then takes over).
    DecodeResult DecodeForward(int64_t target, DecodedFrame& frame);
    // From `frame` on to `target`: the last frame when the stream ends first.
    DecodeResult DecodeOnTo(int64_t target, DecodedFrame& frame);
    DecodeResult Decode(DecodedFrame& frame);
    void Number(DecodedFrame& frame);
    bool SeekStream(double seconds, bool byBytes);
    // Decodes the last second(s) and goes back to the start; the stream time
    // of the last picture, or -1 when the tail could not be decoded.
    double MeasureTail(bool rewindByBytes);
    // The picture index, waited for (the streaming thread only); null when
    // the rate is constant or the scan failed.
    const PictureIndex* Index();
    double TicksToSeconds(int64_t ticks) const;

    const std::atomic<bool>& abort_;
    std::string url_;
    ffmpeg::InputWatch watch_;  // outlives the input it watches
    std::chrono::milliseconds answerWindow_ = kDefaultAnswerWindow;
    ffmpeg::InputPtr input_;
    const AVCodec* decoder_ = nullptr;
    ffmpeg::CodecPtr codec_;
    int lowres_ = 0;
    int lowresWanted_ = 0;
    ffmpeg::PacketPtr packet_;
    int streamIndex_ = -1;
    AVRational timeBase_{1, 1};
    double streamStartSeconds_ = 0.0;    // the container's start time
    double originSeconds_ = 0.0;         // stream time of frame 0
    std::optional<int64_t> lastNumber_;  // of the frame decoded last, since the last seek
    bool draining_ = false;
    // Packets sent to the decoder since the last seek; whether the first was
    // a key frame the container hides (an MP4 edit list starting mid-GOP):
    // the pictures after it are whole although no delivered one is a key
    // frame.
    int64_t packetsSinceSeek_ = 0;
    bool hiddenKeyFirst_ = false;
    bool seekable_ = false;
    int width_ = 0;
    int height_ = 0;
    Orientation orientation_;
    double duration_ = 0.0;
    double reportedFrameSeconds_ = 0.0;
    double frameSeconds_ = 0.04;
    DecodedFrame first_;  // the frame Open decoded, returned by the first DecodeNext
    // Where the rate varies: the scan making the index, and the index once
    // it is read.
    std::unique_ptr<PictureIndexScan> scan_;
    std::shared_ptr<const PictureIndex> index_;
    bool indexFailed_ = false;
    bool opening_ = false;  // Open runs on the owner's thread: it must not wait
    int64_t streamSeeks_ = 0;
    int64_t framesDecoded_ = 0;
    // Exact seeks made (after the open) and the frames they decoded.
    int64_t exactSeeks_ = 0;
    int64_t exactSeekFrames_ = 0;
};

}  // namespace trevanto
