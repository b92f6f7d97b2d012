#include "video/audio_resampler.h"

#include <algorithm>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace trevanto {
namespace {

uint64_t LayoutKey(const AVChannelLayout& layout) {
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask
                                                   : static_cast<uint64_t>(layout.nb_channels);
}

}  // namespace

void AudioResampler::Deleter::operator()(SwrContext* context) const {
    swr_free(&context);
}

AudioResampler::AudioResampler(int sampleRate, int channels)
    : sampleRate_(sampleRate), channels_(channels) {}

AudioResampler::~AudioResampler() = default;

bool AudioResampler::Convert(const AVFrame& samples, std::vector<int16_t>& out) {
    if (samples.nb_samples <= 0 || samples.sample_rate <= 0 || samples.ch_layout.nb_channels <= 0)
        return false;
    if (!context_ || samples.sample_rate != inRate_ || samples.format != inFormat_ ||
        LayoutKey(samples.ch_layout) != inLayout_) {
        context_.reset();
        AVChannelLayout inLayout{};
        if (samples.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&inLayout, samples.ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&inLayout, &samples.ch_layout) < 0) {
            return false;
        }
        AVChannelLayout outLayout{};
        av_channel_layout_default(&outLayout, channels_);
        SwrContext* raw = nullptr;
        const int made = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_S16, sampleRate_,
                                             &inLayout, static_cast<AVSampleFormat>(samples.format),
                                             samples.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        av_channel_layout_uninit(&outLayout);
        context_.reset(raw);
        if (made < 0 || swr_init(raw) < 0) {
            context_.reset();
            return false;
        }
        inRate_ = samples.sample_rate;
        inFormat_ = samples.format;
        inLayout_ = LayoutKey(samples.ch_layout);
    }
    const int room = swr_get_out_samples(context_.get(), samples.nb_samples);
    if (room < 0)
        return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(room) * static_cast<size_t>(channels_));
    auto* target = reinterpret_cast<uint8_t*>(out.data() + start);
    const int made =
        swr_convert(context_.get(), &target, room,
                    const_cast<const uint8_t**>(samples.extended_data), samples.nb_samples);
    out.resize(start + static_cast<size_t>(std::max(made, 0)) * static_cast<size_t>(channels_));
    return made >= 0;
}

void AudioResampler::Reset() {
    context_.reset();
}

}  // namespace trevanto
