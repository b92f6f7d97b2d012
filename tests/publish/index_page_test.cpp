// The archive index's template: the video block once per video with that
// video's values, the shot block once per image of it, values from outside
// escaped, and a template without the block left to the plain keywords; the
// video's length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "publish/index_page.h"
#include "publish/publisher.h"

namespace trevanto {
namespace {

TEST(IndexPage, RepeatsTheVideoBlockAndEachVideosShots) {
    const std::vector<IndexVideo> videos = {
        {"a/<b>.mpg", "a/b/output1.html", 2, 50, 0, {"a/b/image0001.jpg", "a/b/image0002.jpg"}},
        {"c.mpg", "", 0, 10, 125, {}}};
    const struct {
        const char* text;
        const char* page;
    } rows[] = {
        {"$(TITLE) $(COUNT)[$(BEGINVIDEO)$(VIDEONAME) $(VIDEOFRAMES) $(VIDEODURATION) $(COUNT) "
         "$(VIDEOLENGTH) "
         "<$(VIDEOURL)>{$(BEGINSHOT)$(INDEX)=$(SHOTFILENAME);$(ENDSHOT)}$(ENDVIDEO)] "
         "$(COUNT)",
         "T 2[a/&lt;b&gt;.mpg 50  2 50 frames <a/b/output1.html>{1=a/b/image0001.jpg;"
         "2=a/b/image0002.jpg;}c.mpg 10 02:05 0 2:05 <>{}] 2"},
        {"no block: $(COUNT) videos", "no block: 2 videos"},
        {"$(ENDVIDEO) out of order $(BEGINVIDEO)", "$(ENDVIDEO) out of order $(BEGINVIDEO)"},
    };
    for (const auto& [text, page] : rows) {
        Publisher publisher;
        publisher.Options().title = "T";
        EXPECT_EQ(ExpandIndexTemplate(publisher, text, videos), page) << text;
    }
}

// A length in whole seconds, minutes always, hours when there are any; the
// frames of a video whose duration is not recorded.
TEST(IndexPage, WritesTheLengthAsATime) {
    const struct {
        double seconds;
        const char* text;
    } rows[] = {{0, "250 frames"},   {0.9, "0:00"},          {59.99, "0:59"},
                {600, "10:00"},      {3599, "59:59"},        {3605.5, "1:00:05"},
                {36000, "10:00:00"}, {1e300, "596523:14:07"}};
    for (const auto& [seconds, text] : rows)
        EXPECT_EQ(VideoLengthText({"v", "", 1, 250, seconds, {}}), text) << seconds;
}

}  // namespace
}  // namespace trevanto
