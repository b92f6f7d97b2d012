#include <gtest/gtest.h>

#include "publish/publisher.h"

namespace trevanto {
namespace {

TEST(PublishOptionsTest, ResetKeepsAdditionalFilesAndUrls) {
    Publisher publisher;
    PublishOptions& o = publisher.Options();
    o.title = "Other";
    o.shotsPerRow = 7;
    o.shotFileName = "x.jpg";
    publisher.SetUseTemplate(true);
    o.templateFile = "t.html";
    o.additionalFiles = {"a.css"};
    o.onlineVideoUrl = "http://v/m.wmv";
    o.asxScriptUrl = "http://s/asx.php";
    publisher.ResetToDefaults();
    EXPECT_EQ(o.title, "Trevanto Thumbnail");
    EXPECT_EQ(o.shotsPerRow, 4);
    EXPECT_EQ(o.shotFileName, "image$(INDEX, \"0000\").jpg");
    EXPECT_FALSE(o.useTemplate);
    EXPECT_TRUE(o.templateFile.empty());
    EXPECT_EQ(o.additionalFiles, std::vector<std::string>{"a.css"});
    EXPECT_EQ(o.onlineVideoUrl, "http://v/m.wmv");
    EXPECT_EQ(o.asxScriptUrl, "http://s/asx.php");
}

TEST(PublishOptionsTest, TurningTheTemplateOffAndOnLeavesThePathEmpty) {
    Publisher publisher;
    publisher.SetUseTemplate(true);
    publisher.Options().templateFile = "templates/t.html";
    publisher.SetUseTemplate(false);
    publisher.SetUseTemplate(true);
    EXPECT_TRUE(publisher.Options().useTemplate);
    EXPECT_TRUE(publisher.Options().templateFile.empty());
}

TEST(PublishOptionsTest, AssignCopiesWhatTheWizardEditsButNotTheFileNameOrFacts) {
    Publisher document;
    document.PublishVideoFacts("/videos/clip.mpg", 2500, 100.0);
    Publisher copy;
    copy.Assign(document);
    PublishOptions& o = copy.Options();
    o.title = "Changed";
    o.targetFile = "/pub/album.mhtml";
    o.shotWidth = 120;
    o.shotFileName = "other.jpg";
    copy.SetUseTemplate(true);
    o.templateFile = "t.html";
    o.additionalFiles = {"a", "b"};
    copy.PublishVideoFacts("/elsewhere/other.mpg", 10, 1.0);

    document.Options().additionalFiles = {"old"};
    document.Assign(copy);
    const PublishOptions& d = document.Options();
    EXPECT_EQ(d.title, "Changed");
    EXPECT_EQ(d.targetFile, "/pub/album.mhtml");
    EXPECT_EQ(d.shotWidth, 120);
    EXPECT_TRUE(d.useTemplate);
    EXPECT_EQ(d.templateFile, "t.html");
    EXPECT_EQ(d.additionalFiles, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.shotFileName, "image$(INDEX, \"0000\").jpg");
    EXPECT_EQ(document.Texts().videoName, "clip.mpg");
    EXPECT_EQ(document.Texts().videoUrl, "/elsewhere/other.mpg");
    EXPECT_EQ(document.FrameCount(), 2500);
    EXPECT_DOUBLE_EQ(document.DurationSeconds(), 100.0);
}

TEST(PublishOptionsTest, ArchiveTargets) {
    Publisher publisher;
    const struct {
        const char* target;
        bool archive;
    } cases[] = {{"/pub/ALBUM.MHTML", true}, {"album.mhtml", true},
                 {"/pub/index.html", false}, {"", false},
                 {"mhtml", false},           {"/pub.mhtml/x.htm", false}};
    for (const auto& c : cases) {
        publisher.Options().targetFile = c.target;
        EXPECT_EQ(publisher.IsArchive(), c.archive) << c.target;
        EXPECT_EQ(publisher.TargetTypeText(),
                  c.archive ? "Target type : web archive" : "Target type : web page");
    }
}

TEST(PublishOptionsTest, DurationDateAndUserTexts) {
    EXPECT_EQ(VideoDurationText(125.9), "02:05");
    EXPECT_EQ(VideoDurationText(3605.0), "01:00:05");
    EXPECT_EQ(VideoDurationText(42.0), "42");
    EXPECT_EQ(VideoDurationText(1e300), "596523:14:07");
    EXPECT_EQ(VideoDurationText(3600.0), "01:00:00");
    EXPECT_EQ(VideoDurationText(0.0), "00");
    std::tm time{};
    time.tm_year = 2005 - 1900;
    time.tm_mon = 10;
    time.tm_mday = 16;
    time.tm_hour = 10;
    time.tm_min = 9;
    EXPECT_EQ(CreationDateText(time), "2005/11/16 10:09");
    EXPECT_FALSE(CurrentUserName().empty());
}

}  // namespace
}  // namespace trevanto
