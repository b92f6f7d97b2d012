#include <gtest/gtest.h>

#include <string>

#include "publish/publisher.h"
#include "publish_test_support.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

class ExpandKeywordsTest : public ::testing::Test {
  protected:
    ExpandKeywordsTest() {
        publish_test::FillShots(shots_, 9);
        publisher_.Run().shots = &shots_;
        publisher_.Run().firstPagePath = "/pub/output1.html";
        publisher_.SetCountTexts(9);
        publisher_.PublishVideoFacts("/videos/clip.mpg", 100, 100.0);
    }
    void AtShot(int index) {
        publisher_.SetIndexTexts(index);
        publisher_.Run().currentShot = shots_.At(static_cast<size_t>(index - 1));
    }
    void AtPage(int index, int count) {
        publisher_.Run().pageIndex = index;
        publisher_.Run().pageCount = count;
    }
    std::string Expand(const std::string& text, bool pageLevel = false, bool exhausted = false) {
        return publisher_.ExpandKeywords(text, pageLevel, exhausted);
    }

    ShotList shots_;
    Publisher publisher_;
};

TEST_F(ExpandKeywordsTest, ShotFileNamesAndCaptions) {
    AtShot(7);
    EXPECT_EQ(Expand(publisher_.Options().shotFileName), "image0007.jpg");
    publisher_.SetIndexTexts(12345);
    EXPECT_EQ(Expand(publisher_.Options().shotFileName), "image12345.jpg");
    AtShot(2);
    EXPECT_EQ(Expand(publisher_.Options().shotCaption), "2 / 9");
    EXPECT_EQ(Expand("$(PADDEDINDEX)/$(PADDEDCOUNT)"), "0002/0009");
    EXPECT_EQ(Expand("[$(SHOTCAPTION)]"), "[2 / 9]");
    EXPECT_EQ(Expand("$(SHOTFILENAME)"), "image0002.jpg");
}

TEST_F(ExpandKeywordsTest, FormatsStandardAndBlank) {
    publisher_.SetCountTexts(1234);
    EXPECT_EQ(Expand("$(COUNT, \"Standard\")"), "1234");
    EXPECT_EQ(Expand("$(COUNT, \"   \")"), "1234");
    EXPECT_EQ(Expand("$(COUNT,\" 000000 \")"), "001234");
    // A picture may hold ")".
    EXPECT_EQ(Expand("$(COUNT, \"(0)\")x"), "(1234)x");
}

TEST_F(ExpandKeywordsTest, UnknownTextIsLeftAsItIs) {
    AtShot(1);
    const char* unchanged[] = {"$(NOSUCH)",  "$(DESCRIPTION)", "$(LINK)",     "a $( b",
                               "$( INDEX )", "$(index)",       "$(INDEX,4)x", "$(INDEX"};
    for (const char* text : unchanged)
        EXPECT_EQ(Expand(text), text) << text;
    EXPECT_EQ(Expand("$(DESCRIPTION) $(INDEX)"), "$(DESCRIPTION) 1");
}

TEST_F(ExpandKeywordsTest, ShotValues) {
    AtShot(3);  // frames 50-74, one frame a second
    publisher_.Options().asxScriptUrl = "http://s/asx.php";
    publisher_.Options().onlineVideoUrl = "m.wmv";
    EXPECT_EQ(Expand("$(MARKIN)-$(MARKOUT)"), "50-74");
    EXPECT_EQ(Expand("$(TIMECODEIN) $(TIMECODEOUT)"), "00:00:50:0000 00:01:14:0000");
    EXPECT_EQ(Expand("$(VIDEOLINK)"),
              "http://s/asx.php?startAt=00%3A00%3A50%2E0000&endAt=00%3A01%3A14%2E0000&media=m%"
              "2Ewmv");
    EXPECT_EQ(Expand("$(VIDEOLINK_STARTAT)"),
              "http://s/asx.php?startAt=00%3A00%3A50%2E0000&media=m%2Ewmv");
    EXPECT_EQ(Expand("$(VIDEOLINK_URL)"), "m.wmv");
    EXPECT_EQ(Expand("$(VIDEONAME) $(VIDEOURL) $(VIDEOFRAMES)"), "clip.mpg /videos/clip.mpg 100");
    // Page-level texts and exhausted runs have no shot.
    EXPECT_EQ(Expand("[$(INDEX)][$(PADDEDINDEX)]", true), "[][]");
    EXPECT_EQ(Expand("[$(INDEX)][$(MARKIN)][$(SHOTCAPTION)][$(SHOTFILENAME)]", false, true),
              "[][][][]");
    EXPECT_EQ(Expand("[$(COUNT)]", false, true), "[9]");
    publisher_.Run().currentShot = nullptr;
    EXPECT_EQ(Expand("[$(MARKIN)][$(VIDEOLINK)]"), "[][]");
}

TEST_F(ExpandKeywordsTest, PageLinksAtTheEdges) {
    AtPage(0, 3);
    EXPECT_EQ(Expand("[$(PREVIOUSPAGE)][$(NEXTPAGE)][$(FIRSTPAGE)][$(LASTPAGE)]"),
              "[][output1_0001.html][output1.html][output1_0002.html]");
    AtPage(2, 3);
    EXPECT_EQ(Expand("[$(PREVIOUSPAGE)][$(NEXTPAGE)][$(PREVIOUS5PAGE)]"),
              "[output1_0001.html][][]");
    AtPage(5, 20);
    EXPECT_EQ(Expand("[$(PREVIOUS5PAGE)][$(NEXT5PAGE)][$(PREVIOUS10PAGE)][$(NEXT10PAGE)]"),
              "[output1.html][output1_0010.html][][output1_0015.html]");
    AtPage(9, 20);
    EXPECT_EQ(Expand("[$(NEXT10PAGE)]"), "[output1_0019.html]");
    AtPage(10, 20);
    EXPECT_EQ(Expand("[$(NEXT10PAGE)]"), "[]");
    EXPECT_EQ(publisher_.PageFileName(12), "output1_0012.html");
}

TEST_F(ExpandKeywordsTest, ArchivesReferToParts) {
    publisher_.Options().targetFile = "/pub/output1.mhtml";
    publisher_.Run().firstPagePath = "/pub/output1.mhtml";
    AtPage(0, 2);
    AtShot(1);
    EXPECT_EQ(Expand("$(NEXTPAGE)"), "cid:output1_0001.mhtml");
    EXPECT_EQ(Expand("[$(PREVIOUSPAGE)]"), "[]");
    EXPECT_EQ(Expand("$(SHOTFILENAME)"), "cid:image0001.jpg");
}

TEST_F(ExpandKeywordsTest, TitleAndValuesBringingInKeywords) {
    publisher_.Options().title = "$(VIDEONAME) ($(COUNT))";
    EXPECT_EQ(Expand("<h1>$(TITLE)</h1>", true), "<h1>clip.mpg (9)</h1>");
    // A value holding a keyword is expanded too: scanning starts again.
    publisher_.Texts().userName = "$(COUNT)";
    EXPECT_EQ(Expand("$(USERNAME)"), "9");
}

TEST_F(ExpandKeywordsTest, SelfReferenceAndGrowthStopAtTheLimitsAndAreReported) {
    AtShot(1);
    struct Row {
        const char* title;
        const char* caption;
        const char* userName;
        const char* text;
    };
    // Each grew without end or took minutes: texts that bring themselves back,
    // values holding keywords, and many "$(" without ")".
    const std::string x100(100, 'x');
    const std::string open = [] {
        std::string text;
        for (int i = 0; i < 16000; ++i)
            text += "$(TITLE";
        return text;
    }();
    const std::string doubling = "$(TITLE)" + x100 + "$(TITLE)";
    const Row rows[] = {
        {"$(TITLE)", "", "", "[$(TITLE)]"},      {"a$(TITLE)$(TITLE)", "", "", "$(TITLE)"},
        {doubling.c_str(), "", "", "$(TITLE)"},  {"", "<$(SHOTCAPTION)>", "", "$(SHOTCAPTION)"},
        {"", "", "x$(USERNAME)", "$(USERNAME)"}, {open.c_str(), "", "", "$(TITLE) $(TITLE)"}};
    for (const Row& row : rows) {
        publisher_.Options().title = row.title;
        publisher_.Options().shotCaption = row.caption;
        publisher_.Texts().userName = row.userName;
        publisher_.ResetExpansionLimit();
        const std::string expanded = Expand(row.text);
        EXPECT_LE(expanded.size(), (size_t{1} << 20) + 40000) << row.text;
        EXPECT_EQ(publisher_.ExpansionLimitHit(), row.title != open) << row.title;
    }
    // A value that completes a keyword begun before it is expanded.
    publisher_.ResetExpansionLimit();
    publisher_.Texts().userName = "COUNT";
    EXPECT_EQ(Expand("$($(USERNAME))"), "9");
    publisher_.Texts().videoName = "";
    EXPECT_EQ(Expand("$(COU$(VIDEONAME)NT)"), "9");
    EXPECT_FALSE(publisher_.ExpansionLimitHit());
}

}  // namespace
}  // namespace trevanto
