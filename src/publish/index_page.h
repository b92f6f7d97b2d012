#pragma once
// The page of a whole archive: one template expanded with a block per video
// and, inside it, a block per shot thumbnail of that video. The template's
// keywords are the publisher's own; $(BEGINVIDEO) ... $(ENDVIDEO) is the
// only addition, a loop over the videos, with $(VIDEOLENGTH) inside it
// (docs/guide/keywords.html).
#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

class Publisher;

struct IndexVideo {
    std::string name;  // as the archive names it: "holiday/day1.mp4"
    std::string link;  // its publication or shots file, relative to the page; may be empty
    int32_t shots = 0;
    int64_t frames = 0;
    double durationSeconds = 0;  // 0: unknown, $(VIDEODURATION) is then empty
    // Its shot images, relative to the page, in shot order.
    std::vector<std::string> thumbnails;
};

// The page. Outside the video block $(COUNT) is the number of videos; inside
// it $(VIDEONAME), $(VIDEOURL) (the link), $(VIDEOFRAMES), $(VIDEODURATION),
// $(VIDEOLENGTH) (VideoLengthText) and $(COUNT) (its shots) are the video's,
// and $(BEGINSHOT) ... $(ENDSHOT)
// repeats once per thumbnail with $(INDEX) and $(SHOTFILENAME) of that shot.
std::string ExpandIndexTemplate(Publisher& publisher, const std::string& text,
                                const std::vector<IndexVideo>& videos);

// The video's length as people write it, "m:ss" or "h:mm:ss" of the whole
// seconds; "N frames" when the duration is not known.
std::string VideoLengthText(const IndexVideo& video);

}  // namespace trevanto
