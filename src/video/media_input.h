#pragma once
// Opening an FFmpeg input for one of its streams, shared by the video and the
// sound decoders: each reads the same URL through a demuxer of its own.
#include <atomic>
#include <string>

#include "video/ffmpeg_handles.h"

namespace trevanto::ffmpeg {

enum class InputStep { Open, ReadInfo };

// Opens `url` and reads its stream information. Reads give up once `abort`
// is set, and after 15 s without data from a stalled server. 0 on success;
// else the FFmpeg error code, with the step that failed in `failedStep`.
int OpenInput(const std::string& url, const std::atomic<bool>& abort, InputPtr& input,
              InputStep& failedStep);

// The best stream of `type` and its decoder; every other stream is
// discarded, so the demuxer skips their packets. The stream's index, or a
// negative FFmpeg error code (AVERROR_DECODER_NOT_FOUND when no decoder).
int SelectOnlyStream(AVFormatContext& input, AVMediaType type, const AVCodec*& decoder);

// FFmpeg's text for an error code.
std::string ErrorText(int code);

}  // namespace trevanto::ffmpeg
