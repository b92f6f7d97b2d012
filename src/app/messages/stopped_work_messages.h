#pragma once
// Work on frames that opening another video would end: what stopping it is
// called in the question the user is asked first, and what the user is told
// was done and what was not when it is stopped.
#include <cstdint>
#include <string>

namespace trevanto {

enum class FrameWork {
    JpegImages,     // "Extract as jpeg"
    Publication,    // the images of a publication, then its pages
    ShotsFileLoad,  // rebuilding the shots of a loaded shots file
    Recut,          // rebuilding the shots of a cut made again
};

// "Stop saving the JPEG images", "Stop publishing to the web", ...
std::string StopAction(FrameWork work);
// "Stop saving the JPEG images and open b.mpg?" (the file name of `path`).
std::string StopAndOpenQuestion(const std::string& stopAction, const std::string& path);
// For example "Saving the JPEG images was stopped: 12 of 29 images were
// saved; the other 17 were not written."
std::string StoppedReport(FrameWork work, int32_t done, int32_t total);

}  // namespace trevanto
