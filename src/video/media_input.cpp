#include "video/media_input.h"

namespace trevanto::ffmpeg {
namespace {

int Interrupt(void* abort) {
    return static_cast<const std::atomic<bool>*>(abort)->load() ? 1 : 0;
}

}  // namespace

int OpenInput(const std::string& url, const std::atomic<bool>& abort, InputPtr& input,
              InputStep& failedStep) {
    failedStep = InputStep::Open;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return AVERROR(ENOMEM);
    raw->interrupt_callback = {&Interrupt, const_cast<std::atomic<bool>*>(&abort)};
    AVDictionary* options = nullptr;
    av_dict_set(&options, "rw_timeout", "15000000", 0);  // microseconds: a stalled server
    const int opened = avformat_open_input(&raw, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)  // avformat_open_input freed the context
        return opened;
    input.reset(raw);
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
