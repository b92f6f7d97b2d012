#pragma once
// Writes RGB32 surfaces as a video file with a libavcodec encoder and a
// libavformat muxer.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "picture/surface.h"

namespace trevanto::clipgen {

struct ClipFormat {
    std::string encoder;  // libavcodec encoder name, e.g. "mpeg2video"
    std::string muxer;    // libavformat muxer name, e.g. "vob"
    int width = 320;
    int height = 240;
    int framesPerSecond = 25;
    int gopSize = 12;
    int maxBFrames = 0;
    int quantiser = 3;  // fixed quality: lower is better
    // A sound track (MPEG audio layer 2, mono), or none.
    bool sound = false;
    int sampleRate = 48000;
    // Open GOPs where the encoder makes them (libx264; libx265 takes it in
    // its own parameters).
    bool openGop = false;
    // The time of the first picture, in frames: negative for pictures the
    // container is to hide before frame 0 (an edit list in MP4).
    int firstPts = 0;
    // Private options of the encoder and of the muxer (name, value).
    std::vector<std::pair<std::string, std::string>> encoderOptions;
    std::vector<std::pair<std::string, std::string>> muxerOptions;
    // Ticks per second of the pictures' times (SetNextPts); 0: one tick a
    // frame.
    int ticksPerSecond = 0;
    // 10 bits per sample with the HDR10 colour tags (PQ, BT.2020): the RGB
    // values drawn are the PQ signal itself.
    bool hdr10 = false;
    // A display matrix on the stream made by av_display_rotation_set with
    // this angle, which turns clockwise (av_display_rotation_get reads the
    // same matrix back as the counterclockwise angle): 90 is a phone's
    // portrait video, read as -90. 0: none.
    int displayRotation = 0;
};

class ClipEncoder {
  public:
    ClipEncoder();
    ~ClipEncoder();
    ClipEncoder(const ClipEncoder&) = delete;
    ClipEncoder& operator=(const ClipEncoder&) = delete;

    // False with a reason in `error` when the file cannot be started.
    bool Open(const std::string& path, const ClipFormat& format, std::string& error);
    // Encodes the next picture (same size as the clip, RGB32); `predicted`
    // makes it a P-frame, which closes the B-frames waiting before it.
    bool Write(const Surface& picture, std::string& error, bool predicted = false);
    // Continues the sound track up to `untilSeconds` with a sine tone of
    // `hertz` (its phase running on, so that a change of tone is a clean
    // change of frequency).
    bool WriteTone(double untilSeconds, double hertz, std::string& error);
    // False for encoders that cannot be drained at the end (libxvid): they
    // keep back the B-frames still waiting for their next reference.
    bool CanDrain() const;
    // The time, in ticks, of the next picture Write takes; later ones follow
    // one tick apart unless set again.
    void SetNextPts(int64_t pts);
    // Drains the encoder and finishes the file.
    bool Finish(std::string& error);

  private:
    bool OpenSound(const ClipFormat& format, std::string& error);
    // Encodes the waiting tone in whole frames; `all` pads the last one.
    bool EncodeTone(bool all, std::string& error);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace trevanto::clipgen
