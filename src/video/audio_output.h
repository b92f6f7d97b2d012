#pragma once
// Where the graph's sound goes: a device taking interleaved signed 16-bit
// samples. Behind this interface so that the graph runs without a device.
// Every call may come from any thread, one at a time.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace trevanto {

struct AudioFormat {
    int sampleRate = 48000;
    int channels = 2;
};

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Opens the device; false when there is none. `format` receives what it
    // plays.
    virtual bool Open(AudioFormat& format) = 0;
    // Starts a new stream, dropping whatever was written before.
    virtual bool Start() = 0;
    // Stops at once, dropping what waits to be heard.
    virtual void Stop() = 0;
    // Bytes the output takes now without waiting.
    virtual size_t Writable() = 0;
    // Takes what it can; the bytes taken.
    virtual size_t Write(const int16_t* samples, size_t bytes) = 0;
    // Seconds of the stream heard since Start (after the device's latency).
    virtual double HeardSeconds() = 0;
    // 0 (silent) to 1 (as decoded).
    virtual void SetVolume(double level) = 0;
};

using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

}  // namespace trevanto
