#include "app/document/shots_of_video.h"

#include "common/paths.h"
#include "common/text_format.h"
#include "shots/shot.h"

namespace trevanto {

std::string OtherVideoPictureMessage(const Shot& shot, const std::string& openVideo) {
    return FormatText("The picture of a shot of %s cannot be taken from %s.",
                      FileNamePart(shot.source.video).c_str(), FileNamePart(openVideo).c_str());
}

bool LeftOutShots::Take(const Shot& shot) {
    ++total_;
    if (shot.IsFrom(openVideo_))
        return true;
    ++leftOut_;
    if (otherVideo_.empty())
        otherVideo_ = shot.source.video;
    else if (otherVideo_ != shot.source.video)
        severalOthers_ = true;
    return false;
}

std::string LeftOutShots::Message(const char* verb) const {
    if (leftOut_ == 0)
        return {};
    const std::string open = FileNamePart(openVideo_);
    if (NoneLeft()) {
        const std::string other =
            severalOthers_ ? std::string("their videos") : FileNamePart(otherVideo_);
        if (total_ == 1) {
            return FormatText("The shot was taken from another video than %s: open %s to %s it.",
                              open.c_str(), other.c_str(), verb);
        }
        return FormatText(
            "The %ld shots were taken from another video than %s: open %s to %s them.",
            static_cast<long>(total_), open.c_str(), other.c_str(), verb);
    }
    if (leftOut_ == 1) {
        return FormatText(
            "1 of the %ld shots is left out: it was taken from another video than %s.",
            static_cast<long>(total_), open.c_str());
    }
    return FormatText(
        "%ld of the %ld shots are left out: they were taken from another video than %s.",
        static_cast<long>(leftOut_), static_cast<long>(total_), open.c_str());
}

}  // namespace trevanto
