#include <gtest/gtest.h>

#include "publish/publisher.h"
#include "publish/video_link.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

TEST(PublishOptionsTest, ResetAssignAndTargetType) {
    Publisher document, copy;
    document.PublishVideoFacts("/videos/clip.mpg", 2500, 100.0);
    copy.Assign(document);
    PublishOptions& o = copy.Options();
    o.title = "Changed";
    o.shotFileName = "other.jpg";
    copy.SetUseTemplate(true);
    o.templateFile = "t.html";
    copy.SetUseTemplate(false);
    copy.SetUseTemplate(true);
    EXPECT_TRUE(o.templateFile.empty());  // turned off and on: chosen again
    o.templateFile = "t.html";
    o.additionalFiles = {"a", "b"};
    copy.PublishVideoFacts("/elsewhere/other.mpg", 10, 1.0);
    // What the wizard edits is copied, but not the file name or the video's facts.
    document.Assign(copy);
    EXPECT_EQ(document.Options().title, "Changed");
    EXPECT_EQ(document.Options().templateFile, "t.html");
    EXPECT_EQ(document.Options().shotFileName, "image$(INDEX, \"0000\").jpg");
    EXPECT_EQ(document.Texts().videoName, "clip.mpg");
    EXPECT_EQ(document.Texts().videoUrl, "/elsewhere/other.mpg");
    EXPECT_EQ(document.FrameCount(), 2500);
    // A reset keeps the additional files.
    copy.ResetToDefaults();
    EXPECT_EQ(o.title, "Trevanto Thumbnail");
    EXPECT_FALSE(o.useTemplate || !o.templateFile.empty());
    EXPECT_EQ(o.additionalFiles, (std::vector<std::string>{"a", "b"}));
    for (const auto& [target, archive] : {std::pair("/pub/ALBUM.MHTML", true),
                                          {"album.mhtml", true},
                                          {"/pub/index.html", false},
                                          {"mhtml", false},
                                          {"/pub.mhtml/x.htm", false}}) {
        o.targetFile = target;
        EXPECT_EQ(copy.IsArchive(), archive) << target;
        EXPECT_EQ(copy.TargetTypeText(),
                  archive ? "Target type : web archive" : "Target type : web page");
    }
}

TEST(PublishOptionsTest, TextsOfTheVideoAndItsLinks) {
    for (const auto& [seconds, text] :
         {std::pair(125.9, "02:05"), {3605.0, "01:00:05"}, {42.0, "42"}, {1e300, "596523:14:07"}})
        EXPECT_EQ(VideoDurationText(seconds), text) << seconds;
    EXPECT_EQ(CreationDateText(publish_test::MorningOf16November2005(9)), "2005/11/16 10:09");
    EXPECT_FALSE(CurrentUserName().empty());
    EXPECT_EQ(UrlEscape(std::string_view("Az09 \t\r\n\v\f:./&?=%\xE9\0", 19)),
              "Az09++++++%3A%2E%2F%26%3F%3D%25%E9%00");
    const char* links[][4] = {
        {"00:01:05.0400", "00:01:09.0920", "clip.wmv",
         "U?startAt=00%3A01%3A05%2E0400&endAt=00%3A01%3A09%2E0920&media=clip%2Ewmv"},
        {"00:01:05.0000", "", "", "U?startAt=00%3A01%3A05%2E0000"},
        {"", "00:00:01.0000", "a b&c", "U?endAt=00%3A00%3A01%2E0000&media=a+b%26c"},
        {"", "", "", "U?"}};
    for (const auto& link : links)
        EXPECT_EQ(BuildVideoLink("U", link[0], link[1], link[2]), link[3]) << link[3];
}

}  // namespace
}  // namespace trevanto
