#pragma once
// Converts decoded audio to the output's format (interleaved signed 16-bit
// at the output's rate and channel count) with libswresample.
#include <cstdint>
#include <memory>
#include <vector>

struct AVFrame;
struct SwrContext;

namespace trevanto {

class AudioResampler {
  public:
    AudioResampler(int sampleRate, int channels);
    ~AudioResampler();
    AudioResampler(const AudioResampler&) = delete;
    AudioResampler& operator=(const AudioResampler&) = delete;

    // Appends the converted samples of `samples` to `out`; false when the
    // frame's format cannot be converted. A change of the input's format
    // starts a new converter.
    bool Convert(const AVFrame& samples, std::vector<int16_t>& out);
    // Forgets the samples held back for filtering (after a seek).
    void Reset();

  private:
    struct Deleter {
        void operator()(SwrContext* context) const;
    };
    const int sampleRate_;
    const int channels_;
    std::unique_ptr<SwrContext, Deleter> context_;
    int inRate_ = 0;
    int inFormat_ = -1;
    uint64_t inLayout_ = 0;  // mask, or the channel count for layouts without one
};

}  // namespace trevanto
