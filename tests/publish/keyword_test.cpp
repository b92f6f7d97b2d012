#include <gtest/gtest.h>

#include <string>

#include "publish/keyword_table.h"
#include "publish/publisher.h"
#include "publish_test_support.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

TEST(KeywordTableTest, RowsIdsOrderAndFlags) {
    // order: id name captionList titleList offered expandable
    const char* expected =
        "0 INDEX 1011 1 COUNT 1111 2 PADDEDINDEX 1011 3 PADDEDCOUNT 1111 4 DESCRIPTION 1010 "
        "5 MARKIN 1011 6 MARKOUT 1011 7 TIMECODEIN 1011 8 TIMECODEOUT 1011 9 SHOTWIDTH 1111 "
        "10 SHOTHEIGHT 1111 11 LINK 1110 12 VIDEOLINK 1011 36 VIDEOLINK_URL 1111 "
        "37 VIDEOLINK_STARTAT 1011 13 PAGE 1111 14 PAGECOUNT 1111 15 THUMBNAILWIDTH 1111 "
        "16 THUMBNAILHEIGHT 1111 17 CREATIONDATE 1111 18 VIDEONAME 1111 19 VIDEOURL 1111 "
        "20 VIDEOFRAMES 1111 21 VIDEODURATION 1111 22 USERNAME 1111 23 TITLE 1101 "
        "24 SHOTCAPTION 1001 25 BEGINSHOT 1101 26 ENDSHOT 1101 27 FIRSTPAGE 1101 "
        "28 PREVIOUSPAGE 1101 29 NEXTPAGE 1101 30 LASTPAGE 1101 31 SHOTFILENAME 1011 "
        "32 PREVIOUS5PAGE 1101 33 NEXT5PAGE 1101 34 PREVIOUS10PAGE 1101 35 NEXT10PAGE 1101 ";
    std::string listed;
    for (const KeywordRow& row : KeywordTable) {
        listed += std::to_string(static_cast<int>(row.id)) + " " + std::string(row.name) + " " +
                  (row.captionList ? "1" : "0") + (row.titleList ? "1" : "0") +
                  (row.offered ? "1" : "0") + (row.expandable ? "1" : "0") + " ";
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(FindExpandableKeyword("DESCRIPTION"), nullptr);
    EXPECT_EQ(FindExpandableKeyword("index"), nullptr);
    ASSERT_NE(FindExpandableKeyword("VIDEOLINK_STARTAT"), nullptr);
}

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
