#pragma once
// A shot: a range of frames of the opened video with a thumbnail in the view.
// Other parts of the program name a shot by its view item index.
#include <cstdint>
#include <string>

#include "common/timecode.h"

namespace trevanto {

// What a caption is built from: the document's timecode mode and the video's
// length, with its frames' own times where its rate varies.
struct CaptionContext {
    bool timecodeMode = false;
    int32_t frameCount = 0;
    double durationSeconds = 0.0;
    PictureTimes pictureTimes;
};

// The video a shot was taken from: its path or URL, and its length, which
// times the shot's frames whatever video is open later. An empty video: the
// shot was made with none open (a record read from a shots file before it
// is rebuilt).
struct ShotSource {
    std::string video;
    int32_t frameCount = 0;
    double durationSeconds = 0.0;
    PictureTimes pictureTimes;
};

class Shot {
  public:
    explicit Shot(std::string captionText = {}) : caption(std::move(captionText)) {}
    virtual ~Shot() = default;

    // endFrame := end; the thumbnail shows the start frame.
    void SetEnd(int32_t end);
    // "shot 0012 ( 1200 - 1299 )", or the start and end timecodes.
    void BuildCaption(const CaptionContext& context);
    // The timecodes of the start and end frames, timed by the length (and
    // frame times) of the shot's own video when it is known, else by those
    // given.
    std::string StartTimecode(int32_t frameCount, double durationSeconds, char separator,
                              const PictureTimes& times = nullptr) const;
    std::string EndTimecode(int32_t frameCount, double durationSeconds, char separator,
                            const PictureTimes& times = nullptr) const;
    // Taken from `video`, or from no known video (which goes with any).
    bool IsFrom(const std::string& video) const {
        return source.video.empty() || source.video == video;
    }

    int32_t number = -1;
    std::string caption;
    int32_t startFrame = -1;
    int32_t imageFrame = -1;
    int32_t endFrame = -1;
    int32_t imageIndex = -1;
    int32_t itemIndex = -1;
    ShotSource source;
};

}  // namespace trevanto
