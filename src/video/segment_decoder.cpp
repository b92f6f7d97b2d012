#include "video/segment_decoder.h"

#include "picture/surface_pool.h"
#include "video/thumbnail_decoding.h"

namespace trevanto {

SegmentDecoder::SegmentDecoder(const std::atomic<bool>& stop, int thumbnailWidth,
                               int thumbnailHeight)
    : stop_(stop),
      decoder_(stop),
      thumbnail_(thumbnailWidth, thumbnailHeight, PixelFormat::Rgb32(),
                 SurfacePool::ConversionPitch(thumbnailWidth)) {}

bool SegmentDecoder::Open(const std::string& url, OpenError& error) {
    if (!decoder_.Open({url}, error))
        return false;
    const Orientation orientation = decoder_.DisplayOrientation();
    reduction_ = ThumbnailReduction(orientation.UprightWidth(decoder_.Width(), decoder_.Height()),
                                    orientation.UprightHeight(decoder_.Width(), decoder_.Height()),
                                    thumbnail_.Width(), thumbnail_.Height());
    return true;
}

SegmentEnd SegmentDecoder::Decode(const Segment& segment, int64_t runStart,
                                  const FrameFilter& wanted, const FrameSink& onFrame) {
    const Orientation orientation = decoder_.DisplayOrientation();
    const auto inSegment = [&](int64_t number) {
        return segment.last < 0 || number <= segment.last;
    };
    const auto deliver = [&](const DecodedFrame& frame) {
        if (wanted && !wanted(frame.number))
            onFrame(frame.number, nullptr);
        else if (converter_.Shrink(*frame.picture, thumbnail_, orientation))
            onFrame(frame.number, &thumbnail_);
    };
    DecodedFrame frame;
    int64_t from = segment.first;
    DecodeResult result = DecodeResult::Frame;
    if (reduction_ > 0 && segment.first == runStart) {
        // A run's first frame comes whole, from a seek; the graph goes on at
        // half size from a seek to the frame after it.
        result = decoder_.SeekFresh(runStart, 0, frame);
        if (result == DecodeResult::Frame) {
            if (inSegment(frame.number))
                deliver(frame);
            from = frame.number + 1;
            if (!inSegment(from))
                return SegmentEnd::Done;
        }
    }
    if (result == DecodeResult::Frame)
        result = decoder_.SeekFresh(from, reduction_, frame);
    while (result == DecodeResult::Frame && inSegment(frame.number)) {
        if (stop_)
            return SegmentEnd::Stopped;
        // Past the end a seek gives the last frame, which lies before `from`.
        if (frame.number >= from)
            deliver(frame);
        result = decoder_.DecodeNext(frame);
    }
    if (stop_)
        return SegmentEnd::Stopped;
    return result == DecodeResult::Error ? SegmentEnd::Failed : SegmentEnd::Done;
}

}  // namespace trevanto
