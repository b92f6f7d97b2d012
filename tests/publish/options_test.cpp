#include <gtest/gtest.h>

#include "publish/publisher.h"
#include "publish/video_link.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

TEST(PublishOptionsTest, ResetKeepsAdditionalFilesAndUrlsAndTheTemplateComesBackEmpty) {
    Publisher publisher;
    PublishOptions& o = publisher.Options();
    o.title = "Other";
    o.shotsPerRow = 7;
    publisher.SetUseTemplate(true);
    o.templateFile = "t.html";
    o.additionalFiles = {"a.css"};
    o.onlineVideoUrl = "http://v/m.wmv";
    publisher.SetUseTemplate(false);
    publisher.SetUseTemplate(true);
    EXPECT_TRUE(o.templateFile.empty());
    o.templateFile = "t.html";
    publisher.ResetToDefaults();
    EXPECT_EQ(o.title, "Trevanto Thumbnail");
    EXPECT_EQ(o.shotsPerRow, 4);
    EXPECT_FALSE(o.useTemplate);
    EXPECT_TRUE(o.templateFile.empty());
    EXPECT_EQ(o.additionalFiles, std::vector<std::string>{"a.css"});
    EXPECT_EQ(o.onlineVideoUrl, "http://v/m.wmv");
}

TEST(PublishOptionsTest, AssignCopiesWhatTheWizardEditsButNotTheFileNameOrFacts) {
    Publisher document;
    document.PublishVideoFacts("/videos/clip.mpg", 2500, 100.0);
    Publisher copy;
    copy.Assign(document);
    copy.Options().title = "Changed";
    copy.Options().shotFileName = "other.jpg";
    copy.SetUseTemplate(true);
    copy.Options().templateFile = "t.html";
    copy.Options().additionalFiles = {"a", "b"};
    copy.PublishVideoFacts("/elsewhere/other.mpg", 10, 1.0);
    document.Assign(copy);
    const PublishOptions& d = document.Options();
    EXPECT_EQ(d.title, "Changed");
    EXPECT_EQ(d.templateFile, "t.html");
    EXPECT_EQ(d.additionalFiles, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.shotFileName, "image$(INDEX, \"0000\").jpg");
    EXPECT_EQ(document.Texts().videoName, "clip.mpg");
    EXPECT_EQ(document.Texts().videoUrl, "/elsewhere/other.mpg");
    EXPECT_EQ(document.FrameCount(), 2500);
}

TEST(PublishOptionsTest, ArchiveTargets) {
    Publisher publisher;
    const std::pair<const char*, bool> rows[] = {
        {"/pub/ALBUM.MHTML", true}, {"album.mhtml", true},
        {"/pub/index.html", false}, {"", false},
        {"mhtml", false},           {"/pub.mhtml/x.htm", false}};
    for (const auto& [target, archive] : rows) {
        publisher.Options().targetFile = target;
        EXPECT_EQ(publisher.IsArchive(), archive) << target;
        EXPECT_EQ(publisher.TargetTypeText(),
                  archive ? "Target type : web archive" : "Target type : web page");
    }
}

TEST(PublishOptionsTest, TextsOfTheVideoAndItsLinks) {
    const std::pair<double, const char*> durations[] = {
        {125.9, "02:05"}, {3605.0, "01:00:05"}, {42.0, "42"}, {1e300, "596523:14:07"}, {0.0, "00"}};
    for (const auto& [seconds, text] : durations)
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
