// Built-in thumbnail pages and template pages.
#include <gtest/gtest.h>

#include "publish/built_in_pages.h"
#include "publish/publisher.h"
#include "publish/template_pages.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using namespace publish_test;

class BuiltInPagesTest : public ::testing::Test {
  protected:
    // Pages of `shotCount` shots to `target`; image0001.jpg of `imageBytes` (none: 2 KB assumed).
    bool Generate(int shotCount, const std::string& target, size_t imageBytes = 0) {
        FillShots(shots_, shotCount);
        publisher_.Options().targetFile = publisher_.Run().firstPagePath = dir_ / target;
        publisher_.Run().shots = &shots_;
        if (imageBytes > 0)
            WriteFile(dir_ / "image0001.jpg", std::string(imageBytes, 'j'));
        return GenerateBuiltInPages(publisher_);
    }
    bool Has(const std::string& page, const std::string& text) {
        return ReadFile(dir_ / page).find(text) != std::string::npos;
    }

    TempDir dir_;
    ShotList shots_;
    Publisher publisher_;
    PublishOptions& options_ = publisher_.Options();
};

TEST_F(BuiltInPagesTest, ThreeShotsOnOnePage) {
    ASSERT_TRUE(Generate(3, "output1.html", 5 * 1024));
    const std::string cell = "   <td width=\"100\" height=\"80\">";
    EXPECT_EQ(ReadFile(dir_ / "output1.html"),
              "<html>\r\n<head>\r\n<title>Trevanto Thumbnail (" + (dir_ / "output1.html") +
                  ")</title>\r\n"
                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                  "<style>\r\n"
                  "body { font-family : Verdana, Arial, Courier; font-size:1.0em; }\r\n"
                  "td { font-family : Verdana, Arial, Courier; font-size:0.7em; }\r\n"
                  "</style>\r\n</head>\r\n\r\n<body bgcolor=\"#FFFFFF\">\r\n<center>\r\n"
                  "<h1>Trevanto Thumbnail</h1>\r\n <table border=\"0\">\r\n  <tr>\r\n" +
                  cell + "<img src=\"image0001.jpg\"><br><center>1 / 3</center></td>\r\n" + cell +
                  "<img src=\"image0002.jpg\"><br><center>2 / 3</center></td>\r\n" + cell +
                  "<img src=\"image0003.jpg\"><br><center>3 / 3</center></td>\r\n" + cell +
                  "&nbsp;</td>\r\n  </tr>\r\n </table>\r\n</center>\r\n</body>\r\n</html>\r\n");
    EXPECT_EQ(publisher_.Texts().thumbnailWidth, "4");
    EXPECT_EQ(publisher_.Texts().thumbnailHeight, "2");  // 6 per page, 4 per row
    EXPECT_FALSE(exists(dir_ / "output1_0001.html"));
}

TEST_F(BuiltInPagesTest, SevenShotsTwoPerPageThreePerRow) {
    options_.pageKBytes = 4;
    options_.shotsPerRow = 3;
    options_.shotCaption = "$(INDEX) $(MARKIN) p$(PAGE)/$(PAGECOUNT)";
    ASSERT_TRUE(Generate(7, "output1.html"));
    EXPECT_TRUE(Has("output1.html",
                    "<h4 align=\"center\">\r\n <a href=\"output1_0001.html\">Next</a>"
                    "\r\n</h4>\r\n</body>"));
    EXPECT_TRUE(
        Has("output1_0001.html", "<img src=\"image0003.jpg\"><br><center>3 50 p2/4</center>"));
    EXPECT_TRUE(Has("output1_0003.html",
                    "<center>7 150 p4/4</center></td>\r\n   <td width=\"100\" "
                    "height=\"80\">&nbsp;</td>\r\n   <td width=\"100\" "
                    "height=\"80\">&nbsp;</td>\r\n  </tr>"));
    EXPECT_FALSE(Has("output1_0003.html", "Next"));
    EXPECT_FALSE(exists(dir_ / "output1_0004.html"));
    options_.targetFile = publisher_.Run().firstPagePath = dir_ / "pages.txt";
    EXPECT_FALSE(GenerateBuiltInPages(publisher_));  // no page extension to number
    EXPECT_TRUE(Has("pages.txt", "image0007.jpg"));  // every page went to the one path
}

TEST_F(BuiltInPagesTest, ImageSizeAndTitle) {
    options_.shotWidth = 120;
    options_.shotHeight = 96;
    options_.displayCaption = false;
    publisher_.PublishVideoFacts("/v/clip.mpg", 10, 1.0);
    options_.title = "Shots of $(VIDEONAME)";
    ASSERT_TRUE(Generate(1, "index.html", 100));
    EXPECT_TRUE(Has("index.html",
                    "<td width=\"120\" height=\"96\"><img src=\"image0001.jpg\" "
                    "width=\"120\" height=\"96\"></td>"));
    // Expanded in the heading, as typed in the title.
    EXPECT_TRUE(Has("index.html", "<title>Shots of $(VIDEONAME) ("));
    EXPECT_TRUE(Has("index.html", "<h1>Shots of clip.mpg</h1>"));
    options_.stretchToFit = true;
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    EXPECT_TRUE(Has("index.html", "<img src=\"image0001.jpg\"></td>"));
}

// Rows always have shots-per-row cells, empty ones after the last shot; the
// option's upper limit bounds them.
TEST_F(BuiltInPagesTest, EveryRowHasShotsPerRowCells) {
    const struct {
        int shots;
        int32_t perRow;
        size_t rows, cells;
    } cases[] = {
        {6, 10, 1, 10}, {3, 4, 1, 4}, {9, 4, 3, 12}, {5, 1000, 1, 1000}, {5, 2147483647, 1, 1000},
    };
    for (const auto& c : cases) {
        options_.shotsPerRow = c.perRow;
        ASSERT_TRUE(Generate(c.shots, "rows.html", 100));  // 1 KB an image: one page
        const std::string page = ReadFile(dir_ / "rows.html");
        const auto count = [&](const std::string& text) {
            size_t n = 0;
            for (size_t at = page.find(text); at != std::string::npos; at = page.find(text, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count("<tr>"), c.rows) << c.shots << " at " << c.perRow;
        EXPECT_EQ(count("<td "), c.cells) << c.shots << " at " << c.perRow;
        EXPECT_EQ(count("&nbsp;"), c.cells - c.shots) << c.shots << " at " << c.perRow;
        shots_.Clear();
    }
}

TEST_F(BuiltInPagesTest, BudgetsAtTheEdges) {
    // The largest row and budget: one row of the shots, filled to the
    // largest number of cells.
    options_.shotsPerRow = options_.pageKBytes = 2147483647;
    ASSERT_TRUE(Generate(5, "index.html", 100));  // 1 KB an image
    EXPECT_TRUE(Has("index.html", "image0005.jpg"));
    EXPECT_EQ(publisher_.Texts().thumbnailWidth, "1000");
    EXPECT_EQ(publisher_.Texts().thumbnailHeight, "2147484");  // rows of a page's budget
    // Below one image: one shot a page; in an archive, a part a page. The
    // images are missing, so their parts say so.
    options_.pageKBytes = 0;
    options_.shotsPerRow = 0;
    WriteFile(dir_ / "image0001.jpg", std::string(50 * 1024, 'j'));
    options_.targetFile = publisher_.Run().firstPagePath = dir_ / "album.mhtml";
    EXPECT_FALSE(GenerateBuiltInPages(publisher_));
    EXPECT_EQ(options_.shotsPerRow, 1);
    EXPECT_FALSE(exists(dir_ / "album_0001.mhtml") || Has("album.mhtml", "<album_0005.mhtml>"));
    for (const char* part :
         {" <a href=\"cid:album_0001.mhtml\">Next</a>", "Content-Id: <album_0004.mhtml>\r\n",
          "<img src=\"cid:image0005.jpg\">",
          "Content-Id: <image0005.jpg>\r\nContent-Transfer-Encoding: base64\r\nContent-Type: "
          "image/jpeg; name=\"image0005.jpg\"\r\n\r\nBASE64 encoder failed.\r\n"
          "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}--\r\n"})
        EXPECT_TRUE(Has("album.mhtml", part)) << part;
}

class TemplatePagesTest : public ::testing::Test {
  protected:
    bool Run(const std::string& templateText, int shotCount, const std::string& target = "t.html") {
        WriteFile(dir_ / "tpl/template.html", templateText);
        shots_.Clear();
        FillShots(shots_, shotCount);
        publisher_.SetUseTemplate(true);
        publisher_.Options().templateFile = dir_ / "tpl/template.html";
        publisher_.Options().targetFile = publisher_.Run().firstPagePath = dir_ / target;
        publisher_.Run().shots = &shots_;
        return GenerateTemplatePages(publisher_, problems_);
    }
    std::string Page(const std::string& name) { return ReadFile(dir_ / name); }

    TempDir dir_;
    ShotList shots_;
    Publisher publisher_;
    std::vector<PublishProblem> problems_;
};

TEST_F(TemplatePagesTest, ThreeBlocksAndSevenShotsMakeThreePages) {
    // The files the template refers to are copied beside the pages.
    WriteFile(dir_ / "tpl/style.css", "body{}");
    const std::string block = "$(BEGINSHOT)[$(INDEX):$(SHOTFILENAME)]$(ENDSHOT)";
    ASSERT_TRUE(Run("<link href=\"style.css\">$(PAGE)/$(PAGECOUNT) " + block + "," + block + "," +
                        block + " <$(NEXTPAGE)>",
                    7));
    EXPECT_EQ(Page("t.html"),
              "<link href=\"style.css\">1/3 [1:image0001.jpg],[2:image0002.jpg],"
              "[3:image0003.jpg] <t_0001.html>");
    EXPECT_EQ(Page("t_0001.html"),
              "<link href=\"style.css\">2/3 [4:image0004.jpg],"
              "[5:image0005.jpg],[6:image0006.jpg] <t_0002.html>");
    // Blocks that find no shot are dropped with their contents.
    EXPECT_EQ(Page("t_0002.html"), "<link href=\"style.css\">3/3 [7:image0007.jpg],, <>");
    EXPECT_EQ(ReadFile(dir_ / "style.css"), "body{}");
    EXPECT_FALSE(exists(dir_ / "t_0003.html"));
    EXPECT_TRUE(problems_.empty());
}

TEST_F(TemplatePagesTest, ConditionsAndPlainText) {
    const char* even = "$(BEGINSHOT)<$(INDEX)$(IF,\"$(INDEX) % 2 = 0\") even$(ENDIF)>$(ENDSHOT)";
    const std::string evens =
        std::string(even) + even + "$(IF,\"$(PAGE) < $(PAGECOUNT)\") more$(ENDIF)";
    const std::pair<std::string, const char*> rows[] = {
        {"$(BEGINSHOT)a$(IF,\"0\")hidden $(INDEX)$(ENDIF)b$(ENDSHOT)", "ab"},
        {"$(BEGINSHOT)a$(IF,\"3 > 2\")shown$(ENDIF)b$(ENDSHOT)", "ashownb"},
        {"$(BEGINSHOT)a$(IF,\"1 + 2)\")shown$(ENDIF)b$(ENDSHOT)", "ashownb"},
        {"$(BEGINSHOT)a$(IF,\"0\")hidden$(ENDSHOT) rest", "a"},
        {"$(BEGINSHOT)$(THIS_IS_FAR_TOO_LONG_A_NAME) $(INDEX)$(ENDSHOT)",
         "$(THIS_IS_FAR_TOO_LONG_A_NAME) 1"},
        {evens, "<1><2 even> more"}};
    for (const auto& [text, page] : rows) {
        ASSERT_TRUE(Run(text, 4)) << text;
        EXPECT_EQ(Page("t.html"), page) << text;
    }
    EXPECT_EQ(Page("t_0001.html"), "<3><4 even>");
}

TEST_F(TemplatePagesTest, Problems) {
    ASSERT_TRUE(Run("<p>\n$(BEGINSHOT)a$(IF,x)b$(IF,y)$(ENDSHOT)", 1));
    EXPECT_EQ(problems_, (std::vector<PublishProblem>{{PublishProblemKind::ConditionSyntax,
                                                       dir_ / "tpl/template.html", 2}}));
    problems_.clear();
    std::filesystem::remove(dir_ / "t.html");
    EXPECT_FALSE(Run("<html>no blocks</html>", 2));
    EXPECT_FALSE(exists(dir_ / "t.html"));
    problems_.clear();
    publisher_.Options().templateFile = dir_.Path();  // a folder is no template
    EXPECT_FALSE(GenerateTemplatePages(publisher_, problems_));
    EXPECT_EQ(problems_,
              (std::vector<PublishProblem>{{PublishProblemKind::TemplateUnreadable, dir_.Path()}}));
    problems_.clear();
    // A template that is not there has no message of its own; the run fails.
    publisher_.Options().templateFile = dir_ / "missing.html";
    EXPECT_FALSE(GenerateTemplatePages(publisher_, problems_));
    EXPECT_TRUE(problems_.empty());
}

TEST_F(TemplatePagesTest, ArchiveOfTemplatePages) {
    WriteFile(dir_ / "tpl/pics/logo.gif", "GIF89a");
    WriteFile(dir_ / "image0001.jpg", "jpg");
    ASSERT_TRUE(
        Run("<img src=\"pics/logo.gif\">$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)", 1,
            "a.mhtml"));
    const std::string archive = Page("a.mhtml");
    EXPECT_NE(archive.find("<img src=\"cid:pics/logo.gif\"><img src=\"cid:image0001.jpg\">"),
              std::string::npos);
    const size_t page = archive.find("Content-Id: <a.mhtml>");
    const size_t image = archive.find("Content-Id: <image0001.jpg>");
    const size_t logo = archive.find("Content-Id: <pics/logo.gif>");
    EXPECT_TRUE(page < image && image < logo && logo != std::string::npos);
}

}  // namespace
}  // namespace trevanto
