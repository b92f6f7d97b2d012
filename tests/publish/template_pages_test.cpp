#include <gtest/gtest.h>

#include "publish/publisher.h"
#include "publish/template_pages.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using namespace publish_test;

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
    const std::string block = "$(BEGINSHOT)[$(INDEX):$(SHOTFILENAME)]$(ENDSHOT)";
    ASSERT_TRUE(
        Run("head $(PAGE)/$(PAGECOUNT) " + block + "," + block + "," + block + " foot<$(NEXTPAGE)>",
            7));
    EXPECT_EQ(Page("t.html"),
              "head 1/3 [1:image0001.jpg],[2:image0002.jpg],[3:image0003.jpg] foot<t_0001.html>");
    EXPECT_EQ(Page("t_0001.html"),
              "head 2/3 [4:image0004.jpg],[5:image0005.jpg],[6:image0006.jpg] foot<t_0002.html>");
    // Blocks that find no shot are dropped with their contents.
    EXPECT_EQ(Page("t_0002.html"), "head 3/3 [7:image0007.jpg],, foot<>");
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
}

TEST_F(TemplatePagesTest, ReferencedFilesAreCopiedButNothingOutsideTheTarget) {
    WriteFile(dir_ / "tpl/style.css", "body{}");
    WriteFile(dir_ / "secret.txt", "secret");
    std::filesystem::create_directories(dir_ / "out");
    ASSERT_TRUE(
        Run("<link href=\"style.css\"><link href=\"../secret.txt\">"
            "$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)",
            1, "out/t.html"));
    EXPECT_EQ(ReadFile(dir_ / "out/style.css"), "body{}");
    EXPECT_FALSE(exists(dir_ / "out/secret.txt"));
    EXPECT_EQ(Page("out/t.html"),
              "<link href=\"style.css\"><link href=\"../secret.txt\"><img src=\"image0001.jpg\">");
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
    EXPECT_LT(page, image);
    EXPECT_LT(image, archive.find("Content-Id: <pics/logo.gif>"));
    EXPECT_NE(archive.find("Content-Id: <pics/logo.gif>"), std::string::npos);
}

}  // namespace
}  // namespace trevanto
