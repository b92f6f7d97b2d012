#include "video/video_decoder.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string_view>
#include <utility>

#include "video/debug_trace.h"
#include "video/media_input.h"
#include "video/seek_attempts.h"

namespace trevanto {
namespace {

double SecondsPerFrame(AVRational rate) {
    if (rate.num <= 0 || rate.den <= 0)
        return 0.0;
    const double seconds = av_q2d(av_inv_q(rate));
    // Container defaults such as 90000 or 1/1000 are not frame rates.
    return seconds > 0.001 && seconds < 10.0 ? seconds : 0.0;
}

// A still picture comes through one of FFmpeg's image demuxers.
bool IsPictureFormat(const AVInputFormat* format) {
    if (!format)
        return false;
    const std::string_view name = format->name;
    constexpr std::string_view kPipe = "_pipe";
    return name == "image2" ||
           (name.size() > kPipe.size() && name.substr(name.size() - kPipe.size()) == kPipe);
}

// Packets that do not decode are skipped; this many in a row end playback.
constexpr int kMaxBadPackets = 200;
// After a seek, frames before the next key frame depend on pictures that
// were not decoded; this many are waited for at most.
constexpr int kMaxFramesToKeyFrame = 600;

}  // namespace

VideoDecoder::VideoDecoder(const std::atomic<bool>& abort)
    : abort_(abort), watch_(abort), packet_(ffmpeg::MakePacket()) {}

bool VideoDecoder::Open(const OpenRequest& request, OpenError& failure) {
    // Whatever happens, the reads of playback answer only to the abort flag.
    struct Disarm {
        ffmpeg::InputWatch& watch;
        ~Disarm() { watch.Disarm(); }
    } disarm{watch_};
    const std::string& url = request.url;
    url_ = url;
    answerWindow_ = request.answerWindow;
    MediaError& error = failure.cause;
    failure.failure = OpenFailure::CannotPlay;
    static std::once_flag networkReady;
    std::call_once(networkReady, [] {
        avformat_network_init();
        // Decoders report every damaged picture they conceal; the user never
        // sees those lines, and a failure that matters comes back as a result.
        av_log_set_level(AV_LOG_FATAL);
    });
    if (!packet_) {
        error = {MediaErrorCode::OutOfMemory, {}};
        return false;
    }

    // A FIFO or a device would block the open until something writes to it.
    const GuardedInput input = GuardInput(url);
    if (input.kind == InputKind::Refused) {
        failure.failure = OpenFailure::RefusedUrl;
        error = {MediaErrorCode::RefusedProtocol, {}};
        return false;
    }
    if (const std::optional<OpenFailure> unusable = CheckLocalFile(input)) {
        failure.failure = *unusable;
        error = {*unusable == OpenFailure::NotFound ? MediaErrorCode::NoSuchFile
                                                    : MediaErrorCode::NotAFile,
                 {}};
        return false;
    }
    if (input.kind == InputKind::Network)
        watch_.Arm(request.answerWindow, request.cancel);

    ffmpeg::InputStep failedStep = ffmpeg::InputStep::Open;
    int result = ffmpeg::OpenInput(input, watch_, input_, failedStep);
    if (result < 0) {
        if (watch_.Cancelled())
            failure.failure = OpenFailure::Cancelled;
        else if (watch_.Starved())
            failure.failure = OpenFailure::NoAnswer;
        error = {failedStep == ffmpeg::InputStep::Open ? MediaErrorCode::CannotOpen
                                                       : MediaErrorCode::CannotRead,
                 ffmpeg::ErrorText(result)};
        return false;
    }
    AVFormatContext* raw = input_.get();
    if (IsPictureFormat(raw->iformat)) {
        failure.failure = OpenFailure::Picture;
        error = {MediaErrorCode::Picture, raw->iformat->name};
        return false;
    }
    const AVCodec* decoder = nullptr;
    streamIndex_ = ffmpeg::SelectOnlyStream(*raw, AVMEDIA_TYPE_VIDEO, decoder);
    if (streamIndex_ == AVERROR_DECODER_NOT_FOUND) {
        error = {MediaErrorCode::NoDecoder, {}};
        return false;
    }
    if (streamIndex_ < 0) {
        error = {MediaErrorCode::NoVideoStream, {}};
        return false;
    }
    const AVStream* stream = raw->streams[streamIndex_];
    timeBase_ = stream->time_base;
    orientation_ = StreamOrientation(*stream);
    opening_ = true;
    struct OpeningEnds {
        bool& opening;
        ~OpeningEnds() { opening = false; }
    } openingEnds{opening_};

    decoder_ = decoder;
    result = OpenCodec(0);
    if (result < 0) {
        error = result == AVERROR(ENOMEM)
                    ? MediaError{MediaErrorCode::OutOfMemory, {}}
                    : MediaError{MediaErrorCode::DecoderRefused, ffmpeg::ErrorText(result)};
        return false;
    }

    reportedFrameSeconds_ = SecondsPerFrame(stream->avg_frame_rate);
    if (reportedFrameSeconds_ == 0.0)
        reportedFrameSeconds_ = SecondsPerFrame(stream->r_frame_rate);
    frameSeconds_ = reportedFrameSeconds_ > 0.0 ? reportedFrameSeconds_ : 0.04;
    seekable_ = raw->pb && (raw->pb->seekable & AVIO_SEEKABLE_NORMAL) != 0;
    if (seekable_) {
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
            duration_ = static_cast<double>(stream->duration) * av_q2d(timeBase_);
        } else if (raw->duration != AV_NOPTS_VALUE && raw->duration > 0) {
            duration_ = static_cast<double>(raw->duration) / AV_TIME_BASE;
        }
    }

    if (stream->start_time != AV_NOPTS_VALUE)
        streamStartSeconds_ = static_cast<double>(stream->start_time) * av_q2d(timeBase_);
    originSeconds_ = streamStartSeconds_;
    // A container that lists every picture (MP4 and QuickTime sample
    // tables) tells their count at once: no tail to decode. Where the rate
    // varies, their display times are read off the user's path (a scan of
    // the packets, no decoding), which the streaming thread waits for before
    // it numbers any picture after the first.
    const std::optional<int64_t> listed =
        seekable_ && duration_ > 0.0 && input.kind == InputKind::LocalFile
            ? ListedPictures(*raw, *raw->streams[streamIndex_])
            : std::nullopt;
    if (listed && trevanto::RateVaries(*raw, *raw->streams[streamIndex_]))
        scan_ = std::make_unique<PictureIndexScan>(url, streamIndex_, abort_);
    // Program streams estimate their length from the last timestamps the
    // demuxer saw; seeking in them by time is imprecise, so the way back to
    // the start after measuring goes by bytes.
    const bool rewindByBytes = raw->duration_estimation_method != AVFMT_DURATION_FROM_STREAM;
    const double tailEnd = duration_ > 0.0 && !listed ? MeasureTail(rewindByBytes) : -1.0;
    const DecodeResult first = Decode(first_);
    if (first != DecodeResult::Frame) {
        if (watch_.Cancelled())
            failure.failure = OpenFailure::Cancelled;
        else if (watch_.Starved())
            failure.failure = OpenFailure::NoAnswer;
        error = {MediaErrorCode::NothingDecoded, {}};
        return false;
    }
    // The first picture the decoder delivers is frame 0, whatever time the
    // container gives it: AVI knows only decoding times, which a decoder
    // that holds pictures back for reordering (B-frames, packed or not)
    // hands on shifted by its delay.
    if (first_.picture->best_effort_timestamp != AV_NOPTS_VALUE) {
        originSeconds_ =
            static_cast<double>(first_.picture->best_effort_timestamp) * av_q2d(timeBase_);
        lastNumber_.reset();
        Number(first_);
    }
    // The frame count is the number of pictures: the container's length may
    // count chunks that hold no picture, or miss the last ones.
    if (tailEnd >= originSeconds_)
        duration_ = tailEnd - originSeconds_ + frameSeconds_;
    if (listed)
        duration_ = static_cast<double>(*listed) * frameSeconds_;
    width_ = first_.picture->width;
    height_ = first_.picture->height;
    if (width_ <= 0 || height_ <= 0) {
        error = {MediaErrorCode::NoVideoStream, {}};
        return false;
    }
    return true;
}

int VideoDecoder::OpenCodec(int lowres) {
    const AVStream* stream = input_->streams[streamIndex_];
    ffmpeg::CodecPtr codec(avcodec_alloc_context3(decoder_));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return AVERROR(ENOMEM);
    // One decoding thread: the same file must always give the same shots,
    // and threads decode damaged data differently from run to run. With
    // frame threads, how a broken picture is concealed depends on which
    // threads got how far; MPEG-2 slice threads differed too (6 of 16 runs
    // on a busy machine cut a file with 0.2 % of its bytes flipped
    // elsewhere). On 2 cores one thread was also the fastest.
    codec->thread_count = 1;
    codec->pkt_timebase = stream->time_base;
    codec->lowres = lowres;
    const int result = avcodec_open2(codec.get(), decoder_, nullptr);
    if (result < 0)
        return result;
    codec_ = std::move(codec);
    lowres_ = lowres;
    return 0;
}

void VideoDecoder::SetReducedResolution(int factor) {
    lowresWanted_ = std::clamp(factor, 0, static_cast<int>(decoder_ ? decoder_->max_lowres : 0));
}

double VideoDecoder::MeasureTail(bool rewindByBytes) {
    // Decoding the last second gives the time of the real last picture; the
    // last three when a second held no picture that decoded (a long GOP, or
    // a seek that landed too late). Only which pictures come out and their
    // times matter here, not their pixels: the inverse transforms and the
    // loop filter are skipped, which does not change which pictures a
    // decoder delivers.
    constexpr double kTailSeconds[] = {1.0, 3.0};
    constexpr int kMaxTailFrames = 2000;
    codec_->skip_idct = AVDISCARD_ALL;
    codec_->skip_loop_filter = AVDISCARD_ALL;
    double lastSeconds = -1.0;
    for (const double tail : kTailSeconds) {
        if (lastSeconds >= 0.0 || !SeekStream(std::max(duration_ - tail, 0.0), false))
            break;
        DecodedFrame frame;
        DecodeResult result = DecodeResult::Frame;
        for (int count = 0; count < kMaxTailFrames && result == DecodeResult::Frame; ++count) {
            result = Decode(frame);
            if (result == DecodeResult::Frame)
                lastSeconds = std::max(lastSeconds, frame.seconds);
        }
        // Only a tail decoded to its end tells where the pictures end.
        if (result != DecodeResult::End)
            lastSeconds = -1.0;
    }
    codec_->skip_idct = AVDISCARD_DEFAULT;
    codec_->skip_loop_filter = AVDISCARD_DEFAULT;
    // Back to the start: the first frame must be the stream's first.
    SeekStream(0.0, rewindByBytes);
    return lastSeconds >= 0.0 ? lastSeconds + originSeconds_ : -1.0;
}

double VideoDecoder::TicksToSeconds(int64_t ticks) const {
    // Exact where the time is (4.5 s stays 4.5, not a hair below).
    return static_cast<double>(ticks) * timeBase_.num / timeBase_.den;
}

const PictureIndex* VideoDecoder::Index() {
    if (!index_ && scan_ && !opening_ && !indexFailed_) {
        index_ = scan_->Wait();
        indexFailed_ = !index_;  // unreadable: numbered by time, as at a constant rate
    }
    return index_.get();
}

std::shared_ptr<const std::vector<double>> VideoDecoder::PictureSeconds() const {
    const std::shared_ptr<const PictureIndex> index = scan_ ? scan_->Ready() : nullptr;
    if (!index)
        return nullptr;
    auto seconds = std::make_shared<std::vector<double>>();
    seconds->reserve(static_cast<size_t>(index->Count()));
    for (int64_t frame = 0; frame < index->Count(); ++frame)
        seconds->push_back(TicksToSeconds(index->Ticks(frame) - index->Ticks(0)));
    return seconds;
}

int64_t VideoDecoder::FrameNumberAt(double seconds) const {
    return static_cast<int64_t>(std::floor(seconds / frameSeconds_ + 0.5));
}

int VideoDecoder::BitsPerSample() const {
    const AVPixFmtDescriptor* format = codec_ ? av_pix_fmt_desc_get(codec_->pix_fmt) : nullptr;
    return format ? format->comp[0].depth : 8;
}

int64_t VideoDecoder::FrameOfStamp(int64_t stamp) {
    if (const PictureIndex* index = scan_ && !opening_ ? Index() : nullptr)
        return index->FrameAt(stamp);
    return FrameNumberAt(static_cast<double>(stamp) * av_q2d(timeBase_) - originSeconds_);
}

std::vector<int64_t> VideoDecoder::IndexedKeyStamps() const {
    std::vector<int64_t> stamps;
    // Matroska cues tell key frames by presentation time; other indexes tell
    // decoding times (MP4, AVI) or only what was read so far (MPEG).
    if (!input_ || !input_->iformat ||
        !std::string_view(input_->iformat->name).starts_with("matroska"))
        return stamps;
    AVStream* stream = input_->streams[streamIndex_];
    for (int i = 0; i < avformat_index_get_entries_count(stream); ++i)
        if (const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
            entry && (entry->flags & AVINDEX_KEYFRAME))
            stamps.push_back(entry->timestamp);
    return stamps;
}

void VideoDecoder::Number(DecodedFrame& frame) {
    const int64_t stamp = frame.picture->best_effort_timestamp;
    frame.timed = stamp != AV_NOPTS_VALUE || lastNumber_.has_value();
    const PictureIndex* index = stamp != AV_NOPTS_VALUE && scan_ && !opening_ ? Index() : nullptr;
    if (index) {
        frame.number = index->FrameAt(stamp);
    } else if (stamp != AV_NOPTS_VALUE && (!scan_ || indexFailed_)) {
        frame.number =
            FrameNumberAt(static_cast<double>(stamp) * av_q2d(timeBase_) - originSeconds_);
    } else {
        frame.number = lastNumber_ ? *lastNumber_ + 1 : 0;
    }
    // Pictures come in display order: one whose time does not lie after the
    // one before it (repeated or damaged timestamps) is the next frame.
    if (lastNumber_ && frame.number <= *lastNumber_)
        frame.number = *lastNumber_ + 1;
    lastNumber_ = frame.number;
    frame.seconds = static_cast<double>(frame.number) * frameSeconds_;
    frame.playSeconds = frame.seconds;
    if (index && frame.number < index->Count())
        frame.playSeconds = TicksToSeconds(index->Ticks(frame.number) - index->Ticks(0));
}

DecodeResult VideoDecoder::Decode(DecodedFrame& frame) {
    if (!frame.picture)
        frame.picture = ffmpeg::MakeFrame();
    if (!frame.picture)
        return DecodeResult::Error;
    int badPackets = 0;
    for (;;) {
        if (abort_)
            return DecodeResult::Error;
        int result = avcodec_receive_frame(codec_.get(), frame.picture.get());
        if (result == 0) {
            ++framesDecoded_;
            Number(frame);
            frame.reduced = lowres_ > 0;
            const AVRational aspect = av_guess_sample_aspect_ratio(
                input_.get(), input_->streams[streamIndex_], frame.picture.get());
            frame.pixelAspect = aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
            return DecodeResult::Frame;
        }
        if (result == AVERROR_EOF)
            return DecodeResult::End;
        if (result != AVERROR(EAGAIN))
            return DecodeResult::Error;
        if (draining_)
            return DecodeResult::End;

        result = av_read_frame(input_.get(), packet_.get());
        if (result == AVERROR_EOF) {
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (result < 0)
            return DecodeResult::Error;
        if (packet_->stream_index != streamIndex_) {
            av_packet_unref(packet_.get());
            continue;
        }
        constexpr int kHiddenKey = AV_PKT_FLAG_KEY | AV_PKT_FLAG_DISCARD;
        if (packetsSinceSeek_++ == 0)
            hiddenKeyFirst_ = (packet_->flags & kHiddenKey) == kHiddenKey;
        result = avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (result < 0 && result != AVERROR(EAGAIN)) {
            // A damaged packet: skip it, unless nothing decodes any more.
            if (++badPackets > kMaxBadPackets)
                return DecodeResult::Error;
        } else {
            badPackets = 0;
        }
    }
}

DecodeResult VideoDecoder::DecodeNext(DecodedFrame& frame) {
    if (first_.picture) {
        std::swap(frame, first_);
        first_.picture.reset();
        return DecodeResult::Frame;
    }
    // A change of resolution needs a decoder opened anew, which starts at a
    // key frame: it goes on from the next frame as a seek would reach it.
    // Only while that frame exists: past the end a seek gives the last one.
    if (lowresWanted_ != lowres_ && lastNumber_ && seekable_ &&
        *lastNumber_ + 1 < FrameNumberAt(duration_) && OpenCodec(lowresWanted_) == 0)
        return SeekExact(*lastNumber_ + 1, frame);
    return Decode(frame);
}

bool VideoDecoder::IndexPending() const {
    return scan_ && !index_ && !indexFailed_ && !scan_->Ready();
}

bool VideoDecoder::SeekStream(double seconds, bool byBytes) {
    ++streamSeeks_;
    first_.picture.reset();
    avcodec_flush_buffers(codec_.get());
    draining_ = false;
    lastNumber_.reset();
    packetsSinceSeek_ = 0;
    hiddenKeyFirst_ = false;
    if (byBytes)
        return av_seek_frame(input_.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0;
    // From the earlier of the container's start and frame 0's time: a key
    // frame's packet time is never later than its picture's.
    const double tick = av_q2d(timeBase_);
    const double base = std::min(streamStartSeconds_, originSeconds_);
    const auto stamp = static_cast<int64_t>(std::llround((base + std::max(seconds, 0.0)) / tick));
    return av_seek_frame(input_.get(), streamIndex_, stamp, AVSEEK_FLAG_BACKWARD) >= 0;
}

int64_t VideoDecoder::ForwardReach() const {
    return exactSeeks_ == 0 ? kFirstForwardReach
                            : std::max(kMinForwardReach, exactSeekFrames_ / exactSeeks_);
}

DecodeResult VideoDecoder::SeekTo(int64_t target, DecodedFrame& frame) {
    if (!seekable_)
        return DecodeResult::Error;
    const int64_t seeks = streamSeeks_, decoded = framesDecoded_;
    // Decoding on gives whole pictures only where the decoder makes them:
    // not at reduced resolution, nor once it has drained.
    const bool ahead = lastNumber_ && target > *lastNumber_ && !draining_ && lowres_ == 0;
    if (ahead && target - *lastNumber_ <= ForwardReach()) {
        const DecodeResult result = DecodeForward(target, frame);
        if (result == DecodeResult::Frame)
            DebugTrace("frame %ld decoded on: %ld frames\n", static_cast<long>(target),
                       static_cast<long>(framesDecoded_ - decoded));
        if (result == DecodeResult::Frame || abort_)
            return result;
    }
    // A sought frame is always whole.
    if (lowres_ > 0 && OpenCodec(0) < 0)
        return DecodeResult::Error;
    const int64_t decodedBefore = framesDecoded_;
    const DecodeResult result = SeekExact(target, frame);
    ++exactSeeks_;
    exactSeekFrames_ += framesDecoded_ - decodedBefore;
    DebugTrace("frame %ld sought: %ld seeks, %ld frames\n", static_cast<long>(target),
               static_cast<long>(streamSeeks_ - seeks),
               static_cast<long>(framesDecoded_ - decoded));
    return result;
}

DecodeResult VideoDecoder::DecodeForward(int64_t target, DecodedFrame& frame) {
    first_.picture.reset();  // frame 0, decoded already and passed
    if (Decode(frame) != DecodeResult::Frame)
        return DecodeResult::Error;
    return DecodeOnTo(target, frame);
}

DecodeResult VideoDecoder::DecodeOnTo(int64_t target, DecodedFrame& frame) {
    DecodedFrame next;
    while (frame.number < target) {
        const DecodeResult result = Decode(next);
        if (result == DecodeResult::End)
            return DecodeResult::Frame;  // the last frame
        if (result == DecodeResult::Error)
            return result;
        std::swap(frame, next);
    }
    return DecodeResult::Frame;
}

bool VideoDecoder::ReopenInput() {
    const GuardedInput input = GuardInput(url_);
    if (input.kind == InputKind::Refused)
        return false;
    // A stream gets the answer window it had when it first opened.
    struct Disarm {
        ffmpeg::InputWatch& watch;
        ~Disarm() { watch.Disarm(); }
    } disarm{watch_};
    if (input.kind == InputKind::Network)
        watch_.Arm(answerWindow_, nullptr);
    ffmpeg::InputPtr reopened;
    ffmpeg::InputStep failedStep = ffmpeg::InputStep::Open;
    const AVCodec* decoder = nullptr;
    if (ffmpeg::OpenInput(input, watch_, reopened, failedStep) < 0 ||
        ffmpeg::SelectOnlyStream(*reopened, AVMEDIA_TYPE_VIDEO, decoder) != streamIndex_ ||
        decoder != decoder_) {
        watch_.Watch(input_.get());
        return false;
    }
    first_.picture.reset();
    codec_.reset();  // it may hold the old input's packets
    input_ = std::move(reopened);
    return true;
}

DecodeResult VideoDecoder::SeekFresh(int64_t target, int factor, DecodedFrame& frame) {
    if (!seekable_)
        return DecodeResult::Error;
    const int lowres = std::clamp(factor, 0, static_cast<int>(decoder_->max_lowres));
    if (!ReopenInput() || OpenCodec(lowres) < 0)
        return DecodeResult::Error;
    lowresWanted_ = lowres;
    return SeekExact(target, frame);
}

DecodeResult VideoDecoder::SeekExact(int64_t target, DecodedFrame& frame) {
    // Seek to the key frame at or before the target, further back while the
    // stream lands past it. Where the rate varies, the index tells the
    // target's time.
    double targetSeconds = static_cast<double>(target) * frameSeconds_;
    if (const PictureIndex* index = Index(); index && index->Count() > 0) {
        const int64_t listed = std::clamp<int64_t>(target, 0, index->Count() - 1);
        targetSeconds = static_cast<double>(index->Ticks(listed)) * av_q2d(timeBase_) -
                        std::min(streamStartSeconds_, originSeconds_);
    }
    for (const SeekAttempt& attempt : SeekAttempts(targetSeconds, frameSeconds_)) {
        const bool byBytes = attempt.byBytes;
        if (!SeekStream(attempt.seconds, byBytes))
            continue;

        DecodeResult result = Decode(frame);
        for (int skipped = 0; result == DecodeResult::Frame && skipped < kMaxFramesToKeyFrame &&
                              !frame.picture->key_frame && !hiddenKeyFirst_;
             ++skipped)
            result = Decode(frame);
        if (result == DecodeResult::Error && abort_)
            return result;
        if (result != DecodeResult::Frame)
            continue;
        // Past the target, or a picture without a time of its own (one held
        // back to the end of the stream): start further back.
        if ((frame.number > target || !frame.timed) && !byBytes)
            continue;

        return DecodeOnTo(target, frame);
    }
    return DecodeResult::Error;
}

}  // namespace trevanto
