// The built-in layout of thumbnail pages.
#include <gtest/gtest.h>

#include <string>

#include "publish/built_in_pages.h"
#include "publish/publisher.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using publish_test::Exists;
using publish_test::ReadFile;
using publish_test::TempDir;
using publish_test::WriteFile;

class BuiltInPagesTest : public ::testing::Test {
  protected:
    void Prepare(int shotCount, const std::string& target, size_t imageBytes) {
        publish_test::FillShots(shots_, shotCount);
        publisher_.Options().targetFile = dir_ / target;
        publisher_.Run().firstPagePath = dir_ / target;
        publisher_.Run().shots = &shots_;
        if (imageBytes > 0)
            WriteFile(dir_ / "image0001.jpg", std::string(imageBytes, 'j'));
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t count = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++count;
        }
        return count;
    }

    TempDir dir_;
    ShotList shots_;
    Publisher publisher_;
};

TEST_F(BuiltInPagesTest, ThreeShotsOnOnePage) {
    Prepare(3, "output1.html", 5 * 1024);
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    const std::string page = ReadFile(dir_ / "output1.html");
    const std::string cell = "   <td width=\"100\" height=\"80\">";
    const std::string expected =
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
        "&nbsp;</td>\r\n"
        "  </tr>\r\n </table>\r\n</center>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(page, expected);
    EXPECT_EQ(publisher_.Texts().thumbnailWidth, "4");
    EXPECT_EQ(publisher_.Texts().thumbnailHeight, "2");  // 6 per page, 4 per row
    EXPECT_FALSE(Exists(dir_ / "output1_0001.html"));
}

TEST_F(BuiltInPagesTest, SevenShotsTwoPerPageThreePerRow) {
    Prepare(7, "output1.html", 0);  // no image: 2 KB assumed
    publisher_.Options().pageKBytes = 4;
    publisher_.Options().shotsPerRow = 3;
    publisher_.Options().shotCaption = "$(INDEX) $(MARKIN) p$(PAGE)/$(PAGECOUNT)";
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    const char* names[] = {"output1.html", "output1_0001.html", "output1_0002.html",
                           "output1_0003.html"};
    for (int i = 0; i < 4; ++i) {
        const std::string page = ReadFile(dir_ / names[i]);
        ASSERT_FALSE(page.empty()) << names[i];
        EXPECT_EQ(Count(page, "  <tr>"), 1u);
        EXPECT_EQ(Count(page, "<img "), i < 3 ? 2u : 1u);
        EXPECT_EQ(Count(page, "&nbsp;"), i < 3 ? 1u : 2u);
        if (i < 3) {
            EXPECT_NE(page.find("<h4 align=\"center\">\r\n <a href=\"" + std::string(names[i + 1]) +
                                "\">Next</a>\r\n</h4>\r\n"),
                      std::string::npos);
        } else {
            EXPECT_EQ(page.find("Next"), std::string::npos);
        }
    }
    const std::string second = ReadFile(dir_ / "output1_0001.html");
    EXPECT_NE(second.find("<img src=\"image0003.jpg\"><br><center>3 50 p2/4</center>"),
              std::string::npos);
    EXPECT_NE(ReadFile(dir_ / "output1_0003.html").find("image0007.jpg"), std::string::npos);
    EXPECT_FALSE(Exists(dir_ / "output1_0004.html"));
}

TEST_F(BuiltInPagesTest, ImageSizeAttributes) {
    Prepare(1, "index.html", 100);
    publisher_.Options().shotWidth = 120;
    publisher_.Options().shotHeight = 96;
    publisher_.Options().displayCaption = false;
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    std::string page = ReadFile(dir_ / "index.html");
    EXPECT_NE(page.find("<td width=\"120\" height=\"96\"><img src=\"image0001.jpg\" width=\"120\" "
                        "height=\"96\"></td>"),
              std::string::npos);
    EXPECT_EQ(page.find("<br><center>"), std::string::npos);
    publisher_.Options().stretchToFit = true;
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    page = ReadFile(dir_ / "index.html");
    EXPECT_NE(page.find("<img src=\"image0001.jpg\"></td>"), std::string::npos);
}

TEST_F(BuiltInPagesTest, TitleExpandedInTheHeadingAsTypedInTheTitle) {
    Prepare(1, "index.html", 100);
    publisher_.PublishVideoFacts("/v/clip.mpg", 10, 1.0);
    publisher_.Options().title = "Shots of $(VIDEONAME)";
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    const std::string page = ReadFile(dir_ / "index.html");
    EXPECT_NE(page.find("<title>Shots of $(VIDEONAME) ("), std::string::npos);
    EXPECT_NE(page.find("<h1>Shots of clip.mpg</h1>"), std::string::npos);
}

TEST_F(BuiltInPagesTest, ABudgetBelowOneImageStillPlacesOneShotPerPage) {
    Prepare(3, "index.html", 50 * 1024);
    publisher_.Options().pageKBytes = 0;
    publisher_.Options().shotsPerRow = 0;
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    EXPECT_EQ(publisher_.Options().shotsPerRow, 1);
    EXPECT_TRUE(Exists(dir_ / "index_0001.html"));
    EXPECT_TRUE(Exists(dir_ / "index_0002.html"));
    EXPECT_FALSE(Exists(dir_ / "index_0003.html"));
}

TEST_F(BuiltInPagesTest, TheLargestRowAndBudgetMakeOneRowOfTheShots) {
    Prepare(5, "index.html", 100);  // 1 KB an image
    publisher_.Options().shotsPerRow = 2147483647;
    publisher_.Options().pageKBytes = 2147483647;
    ASSERT_TRUE(GenerateBuiltInPages(publisher_));
    const std::string page = ReadFile(dir_ / "index.html");
    EXPECT_EQ(Count(page, "  <tr>"), 1u);
    EXPECT_EQ(Count(page, "<td "), 5u);
    EXPECT_EQ(Count(page, "&nbsp;"), 0u);
    EXPECT_EQ(publisher_.Texts().thumbnailWidth, "5");
    EXPECT_EQ(publisher_.Texts().thumbnailHeight, "429496730");  // rows of a page's budget
}

TEST_F(BuiltInPagesTest, ATargetWithoutAPageExtensionFails) {
    Prepare(7, "pages.txt", 0);
    publisher_.Options().pageKBytes = 4;
    EXPECT_FALSE(GenerateBuiltInPages(publisher_));
    // Every page went to the one path; the last one stays.
    EXPECT_NE(ReadFile(dir_ / "pages.txt").find("image0007.jpg"), std::string::npos);
}

TEST_F(BuiltInPagesTest, ArchiveOfTwoPages) {
    Prepare(3, "album.mhtml", 0);
    publisher_.Options().pageKBytes = 4;
    // The images are missing: the archive is written but not complete.
    EXPECT_FALSE(GenerateBuiltInPages(publisher_));
    const std::string archive = ReadFile(dir_ / "album.mhtml");
    EXPECT_FALSE(Exists(dir_ / "album_0001.mhtml"));
    EXPECT_NE(archive.find("<img src=\"cid:image0001.jpg\">"), std::string::npos);
    EXPECT_NE(archive.find(" <a href=\"cid:album_0001.mhtml\">Next</a>"), std::string::npos);
    EXPECT_NE(archive.find("Content-Id: <album_0001.mhtml>\r\n"), std::string::npos);
    EXPECT_NE(archive.find("Content-Id: <image0003.jpg>\r\n"), std::string::npos);
    // The images are missing, so their parts say so.
    EXPECT_EQ(Count(archive, "BASE64 encoder failed.\r\n"), 3u);
    EXPECT_EQ(archive.substr(archive.size() - 44),
              "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}--\r\n");
}

}  // namespace
}  // namespace trevanto
