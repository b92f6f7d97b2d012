#include "shots/shot.h"

#include "common/text_format.h"
#include "common/timecode.h"

namespace trevanto {

void Shot::SetEnd(int32_t end) {
    endFrame = end;
    imageFrame = startFrame;
}

void Shot::BuildCaption(const CaptionContext& context) {
    if (context.timecodeMode) {
        caption =
            StartTimecode(context.frameCount, context.durationSeconds, ':', context.pictureTimes) +
            " - " +
            EndTimecode(context.frameCount, context.durationSeconds, ':', context.pictureTimes);
        return;
    }
    if (number == -1)
        return;
    caption = FormatText("shot %04ld ( %ld - %ld )", static_cast<long>(number),
                         static_cast<long>(startFrame), static_cast<long>(endFrame));
}

std::string Shot::StartTimecode(int32_t frameCount, double durationSeconds, char separator,
                                const PictureTimes& times) const {
    if (!source.video.empty())
        return FormatTimecode(startFrame, source.frameCount, source.durationSeconds, separator,
                              source.pictureTimes);
    return FormatTimecode(startFrame, frameCount, durationSeconds, separator, times);
}

std::string Shot::EndTimecode(int32_t frameCount, double durationSeconds, char separator,
                              const PictureTimes& times) const {
    if (!source.video.empty())
        return FormatTimecode(endFrame, source.frameCount, source.durationSeconds, separator,
                              source.pictureTimes);
    return FormatTimecode(endFrame, frameCount, durationSeconds, separator, times);
}

}  // namespace trevanto
