#include "video/media_input.h"

namespace trevanto::ffmpeg {
namespace {

// What avformat_alloc_context puts in io_open: FFmpeg's own opener.
using IoOpen = int (*)(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**);
IoOpen DefaultIoOpen() {
    static const IoOpen open = [] {
        const InputPtr context(avformat_alloc_context());
        return context ? context->io_open : nullptr;
    }();
    return open;
}

// Every input is guarded, those a demuxer opens by names inside a file
// (playlists, references) as well as the first.
int OpenGuarded(AVFormatContext* context, AVIOContext** pb, const char* url, int flags,
                AVDictionary** options) {
    const GuardedInput input = GuardInput(url);
    if (input.kind == InputKind::Refused || CheckLocalFile(input))
        return AVERROR(EPERM);
    const IoOpen open = DefaultIoOpen();
    return open ? open(context, pb, input.url.c_str(), flags, options) : AVERROR(ENOSYS);
}

}  // namespace

void InputWatch::Arm(std::chrono::milliseconds window, const std::atomic<bool>* cancel) {
    armed_ = true;
    starved_ = false;
    cancel_ = cancel;
    window_ = window;
    windowStart_ = Clock::now();
    windowBytes_ = 0;
}

int InputWatch::Interrupt(void* watch) {
    return static_cast<InputWatch*>(watch)->GiveUp() ? 1 : 0;
}

bool InputWatch::GiveUp() {
    if (abort_.load())
        return true;
    if (!armed_)
        return false;
    if (Cancelled() || starved_)
        return true;
    const Clock::time_point now = Clock::now();
    if (now - windowStart_ < window_)
        return false;
    // Bytes the stream delivered in the window past, whatever was asked.
    const int64_t bytes = context_ && context_->pb ? context_->pb->bytes_read : 0;
    const auto seconds = std::chrono::duration<double>(window_).count();
    if (static_cast<double>(bytes - windowBytes_) < seconds * kMinAnswerBytesPerSecond) {
        starved_ = true;
        return true;
    }
    windowStart_ = now;
    windowBytes_ = bytes;
    return false;
}

int OpenInput(const GuardedInput& input, InputWatch& watch, InputPtr& context,
              InputStep& failedStep) {
    failedStep = InputStep::Open;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return AVERROR(ENOMEM);
    raw->interrupt_callback = {&InputWatch::Interrupt, &watch};
    raw->io_open = &OpenGuarded;
    watch.Watch(raw);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "rw_timeout", "15000000", 0);  // microseconds: a stalled server
    av_dict_set(&options, "protocol_whitelist", input.protocols.c_str(), 0);
    av_dict_set(&options, "format_whitelist", AllowedDemuxers().c_str(), 0);
    const int opened = avformat_open_input(&raw, input.url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {  // avformat_open_input freed the context
        watch.Watch(nullptr);
        if (!input.fallback.empty() && !watch.Cancelled() && !watch.Starved()) {
            GuardedInput next = input;
            next.url = input.fallback;
            next.fallback.clear();
            return OpenInput(next, watch, context, failedStep);
        }
        return opened;
    }
    context.reset(raw);
    failedStep = InputStep::ReadInfo;
    const int read = avformat_find_stream_info(raw, nullptr);
    return read < 0 ? read : 0;
}

int SelectOnlyStream(AVFormatContext& input, AVMediaType type, const AVCodec*& decoder) {
    decoder = nullptr;
    const int index = av_find_best_stream(&input, type, -1, -1, &decoder, 0);
    if (index < 0)
        return index;
    if (!decoder)
        return AVERROR_DECODER_NOT_FOUND;
    for (unsigned i = 0; i < input.nb_streams; ++i)
        if (static_cast<int>(i) != index)
            input.streams[i]->discard = AVDISCARD_ALL;
    return index;
}

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace trevanto::ffmpeg
