#pragma once
// Each shot knows the video it was taken from (Shot::source). Opening
// another video keeps the shots made, and the view and a publication's pages
// show them with their own pictures; but an output that takes a shot's frames
// from the open video (the shots file, JPEG images, shot lists, video links)
// takes only that video's shots, leaves the others out and says so.
#include <cstdint>
#include <string>

namespace trevanto {

class Shot;

// "The picture of a shot of a.mpg cannot be taken from b.mpg.": refreshing
// or refining a shot of another video than `openVideo`.
std::string OtherVideoPictureMessage(const Shot& shot, const std::string& openVideo);

// What an output looked at and what it left out.
class LeftOutShots {
  public:
    explicit LeftOutShots(std::string openVideo) : openVideo_(std::move(openVideo)) {}

    // Counts the shot; true when it is the open video's.
    bool Take(const Shot& shot);
    int32_t Total() const { return total_; }
    int32_t LeftOut() const { return leftOut_; }
    bool NoneLeft() const { return leftOut_ == total_; }
    // Empty when nothing was left out, else for example "2 of the 7 shots are
    // left out: they were taken from another video than b.mpg." or, when
    // none is left, "The 5 shots were taken from another video than b.mpg:
    // open a.mpg to write them." (`verb` in place of "write").
    std::string Message(const char* verb = "write") const;

  private:
    std::string openVideo_;
    int32_t total_ = 0;
    int32_t leftOut_ = 0;
    std::string otherVideo_;
    bool severalOthers_ = false;
};

}  // namespace trevanto
