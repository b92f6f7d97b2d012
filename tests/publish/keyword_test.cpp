// The keyword language of pages, the conditions of template pages and number pictures.
#include <gtest/gtest.h>
#include <clocale>

#include "publish/condition_evaluator.h"
#include "publish/format_number.h"
#include "publish/publisher.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

class ExpandKeywordsTest : public ::testing::Test {
  protected:
    ExpandKeywordsTest() {
        publish_test::FillShots(shots_, 9);
        publisher_.Run().shots = &shots_;
        publisher_.Run().firstPagePath = "/pub/output1.html";
        publisher_.SetCountTexts(9);
        publisher_.PublishVideoFacts("/videos/clip.mpg", 100, 100.0);  // a frame a second
        publisher_.Options().asxScriptUrl = "http://s/asx.php";
        publisher_.Options().onlineVideoUrl = "m.wmv";
    }
    // Expands `text` at shot `shot` (0: none) of page `page` of `pages`.
    std::string Expand(const std::string& text, int shot = 3, int page = 0, int pages = 1,
                       bool pageLevel = false, bool exhausted = false,
                       KeywordOutput output = KeywordOutput::kText) {
        publisher_.SetIndexTexts(shot);
        publisher_.Run().currentShot = shot ? shots_.At(static_cast<size_t>(shot - 1)) : nullptr;
        publisher_.Run().pageIndex = page;
        publisher_.Run().pageCount = pages;
        return publisher_.ExpandKeywords(text, pageLevel, exhausted, output);
    }
    std::string ExpandHtml(const std::string& text, int page = 0, int pages = 1) {
        return Expand(text, 3, page, pages, false, false, KeywordOutput::kHtml);
    }

    ShotList shots_;
    Publisher publisher_;
};

TEST_F(ExpandKeywordsTest, Values) {
    const struct {
        const char* text;
        int shot, page, pages;
        const char* expanded;
    } rows[] = {
        {"image$(INDEX, \"0000\").jpg", 7, 0, 1, "image0007.jpg"},
        {"$(SHOTFILENAME) [$(SHOTCAPTION)]", 2, 0, 1, "image0002.jpg [2 / 9]"},
        {"$(PADDEDINDEX)/$(PADDEDCOUNT)", 2, 0, 1, "0002/0009"},
        {"$(MARKIN)-$(MARKOUT)", 3, 0, 1, "50-74"},
        {"$(TIMECODEIN) $(TIMECODEOUT)", 3, 0, 1, "00:00:50:0000 00:01:14:0000"},
        {"$(VIDEOLINK)", 3, 0, 1,
         "http://s/asx.php?startAt=00%3A00%3A50%2E0000&endAt=00%3A01%3A14%2E0000&media=m%2Ewmv"},
        {"$(VIDEOLINK_STARTAT)", 3, 0, 1,
         "http://s/asx.php?startAt=00%3A00%3A50%2E0000&media=m%2Ewmv"},
        {"$(VIDEOLINK_URL) $(VIDEONAME) $(VIDEOURL) $(VIDEOFRAMES)", 3, 0, 1,
         "m.wmv clip.mpg /videos/clip.mpg 100"},
        {"[$(MARKIN)][$(VIDEOLINK)]", 0, 0, 1, "[][]"},
        // Unknown text is left as it is.
        {"$(NOSUCH)$(DESCRIPTION)$(LINK)a $( b$( INDEX )$(index)$(INDEX,4)x", 1, 0, 1,
         "$(NOSUCH)$(DESCRIPTION)$(LINK)a $( b$( INDEX )$(index)$(INDEX,4)x"},
        {"$(INDEX", 1, 0, 1, "$(INDEX"},
        // Page links at the edges.
        {"[$(PREVIOUSPAGE)][$(NEXTPAGE)][$(FIRSTPAGE)][$(LASTPAGE)]", 1, 0, 3,
         "[][output1_0001.html][output1.html][output1_0002.html]"},
        {"[$(PREVIOUSPAGE)][$(NEXTPAGE)][$(PREVIOUS5PAGE)]", 1, 2, 3, "[output1_0001.html][][]"},
        {"[$(PREVIOUS5PAGE)][$(NEXT5PAGE)][$(PREVIOUS10PAGE)][$(NEXT10PAGE)]", 1, 5, 20,
         "[output1.html][output1_0010.html][][output1_0015.html]"},
        {"[$(NEXT10PAGE)]", 1, 9, 20, "[output1_0019.html]"},
        {"[$(NEXT10PAGE)]", 1, 10, 20, "[]"}};
    for (const auto& row : rows)
        EXPECT_EQ(Expand(row.text, row.shot, row.page, row.pages), row.expanded) << row.text;
    // Page-level texts and exhausted runs have no shot.
    EXPECT_EQ(Expand("[$(INDEX)][$(PADDEDINDEX)]", 3, 0, 1, true), "[][]");
    EXPECT_EQ(
        Expand("[$(MARKIN)][$(SHOTCAPTION)][$(SHOTFILENAME)][$(COUNT)]", 3, 0, 1, false, true),
        "[][][][9]");
    publisher_.SetCountTexts(1234);
    EXPECT_EQ(
        Expand("$(COUNT, \"Standard\")$(COUNT, \"   \")$(COUNT,\" 000000 \")$(COUNT, \"(0)\")x"),
        "12341234001234(1234)x");
    publisher_.Options().targetFile = publisher_.Run().firstPagePath = "/pub/output1.mhtml";
    EXPECT_EQ(Expand("$(NEXTPAGE) [$(PREVIOUSPAGE)] $(SHOTFILENAME)", 1, 0, 2),
              "cid:output1_0001.mhtml [] cid:image0001.jpg");
}

TEST_F(ExpandKeywordsTest, ValuesBringingInKeywordsAndTheirLimits) {
    publisher_.Options().title = "$(VIDEONAME) ($(COUNT))";
    EXPECT_EQ(Expand("<h1>$(TITLE)</h1>", 0, 0, 1, true), "<h1>clip.mpg (9)</h1>");
    // A value holding a keyword is expanded too; so is one that completes a keyword.
    publisher_.Texts().userName = "$(COUNT)";
    EXPECT_EQ(Expand("$(USERNAME)"), "9");
    publisher_.Texts().userName = "COUNT";
    publisher_.Texts().videoName = "";
    EXPECT_EQ(Expand("$($(USERNAME))$(COU$(VIDEONAME)NT)"), "99");
    EXPECT_FALSE(publisher_.ExpansionLimitHit());
    // Each grew without end or took minutes: texts that bring themselves back,
    // values holding keywords, and many "$(" without ")".
    std::string open;
    for (int i = 0; i < 16000; ++i)
        open += "$(TITLE";
    const std::string doubling = "$(TITLE)" + std::string(100, 'x') + "$(TITLE)";
    const struct {
        std::string title, caption, userName, text;
    } rows[] = {
        {"$(TITLE)", "", "", "[$(TITLE)]"},      {"a$(TITLE)$(TITLE)", "", "", "$(TITLE)"},
        {doubling, "", "", "$(TITLE)"},          {"", "<$(SHOTCAPTION)>", "", "$(SHOTCAPTION)"},
        {"", "", "x$(USERNAME)", "$(USERNAME)"}, {open, "", "", "$(TITLE) $(TITLE)"}};
    for (const auto& row : rows) {
        publisher_.Options().title = row.title;
        publisher_.Options().shotCaption = row.caption;
        publisher_.Texts().userName = row.userName;
        publisher_.ResetExpansionLimit();
        EXPECT_LE(Expand(row.text).size(), (size_t{1} << 20) + 40000) << row.text;
        EXPECT_EQ(publisher_.ExpansionLimitHit(), row.title != open) << row.title;
    }
}

TEST_F(ExpandKeywordsTest, ValuesFromOutsideGoIntoHtmlAsText) {
    PublishOptions& options = publisher_.Options();
    KeywordTexts& texts = publisher_.Texts();
    texts.videoName = "a<b>&\"c'$(COUNT)";
    texts.userName = "<u>";
    options.title = "<i>$(VIDEONAME)</i> $(USERNAME)";
    options.shotCaption = "<b>$(INDEX)</b>";
    EXPECT_EQ(ExpandHtml("$(VIDEONAME)"), "a&lt;b&gt;&amp;&quot;c&#39;&#36;(COUNT)");
    // In a text that is no page the value is as it was, keywords included.
    EXPECT_EQ(Expand("$(VIDEONAME)"), "a<b>&\"c'9");
    EXPECT_EQ(ExpandHtml("<h1>$(TITLE)</h1>$(SHOTCAPTION)"),
              "<h1><i>a&lt;b&gt;&amp;&quot;c&#39;&#36;(COUNT)</i> &lt;u&gt;</h1><b>3</b>");
    // A picture cannot bring markup into a value from outside either.
    texts.userName = "7";
    EXPECT_EQ(ExpandHtml("$(USERNAME, \"<0>\")"), "&lt;7&gt;");
    EXPECT_EQ(ExpandHtml("$(COUNT, \"<0>\")"), "<9>");

    // Urls: escaped, and left out when their scheme could run script.
    options.asxScriptUrl = "http://s/a.php?x=1&y='2'";
    options.onlineVideoUrl = "http://m/v.wmv?a=1&b=2";
    publisher_.PublishVideoFacts("/videos/<clip>.mpg", 100, 100.0);
    EXPECT_EQ(ExpandHtml("$(VIDEOLINK_URL)|$(VIDEOURL)|$(VIDEOLINK_STARTAT)"),
              "http://m/v.wmv?a=1&amp;b=2|/videos/&lt;clip&gt;.mpg|"
              "http://s/a.php?x=1&amp;y=&#39;2&#39;?startAt=00%3A00%3A50%2E0000&amp;"
              "media=http%3A%2F%2Fm%2Fv%2Ewmv%3Fa%3D1%26b%3D2");
    options.asxScriptUrl = " JavaScript:alert(1)//";
    options.onlineVideoUrl = "data:text/html,x";
    EXPECT_EQ(ExpandHtml("[$(VIDEOLINK)][$(VIDEOLINK_STARTAT)][$(VIDEOLINK_URL)]"), "[][][]");
    EXPECT_EQ(Expand("[$(VIDEOLINK_URL)]"), "[data:text/html,x]");

    // File names of the publication: escaped as a whole, never a scheme.
    publisher_.Run().firstPagePath = "/pub/it's:<1>.html";
    options.shotFileName = "a:$(VIDEONAME)$(INDEX).jpg";
    EXPECT_EQ(ExpandHtml("$(SHOTFILENAME) $(NEXTPAGE)", 0, 2),
              "./a:&lt;clip&gt;.mpg3.jpg it&#39;s:&lt;1&gt;_0001.html");
    EXPECT_EQ(Expand("$(SHOTFILENAME) $(NEXTPAGE)", 3, 0, 2),
              "a:<clip>.mpg3.jpg it's:<1>_0001.html");
    options.targetFile = publisher_.Run().firstPagePath = "/pub/a:b.mhtml";
    EXPECT_EQ(ExpandHtml("$(SHOTFILENAME) $(NEXTPAGE)", 0, 2),
              "cid:a:&lt;clip&gt;.mpg3.jpg cid:a:b_0001.mhtml");
}

TEST(ConditionEvaluatorTest, Results) {
    // Result "x": the parse fails. Holds: whether the text between IF and ENDIF shows.
    const struct {
        const char *expression, *result;
        bool holds;
    } rows[] = {{"3 > 2", "1", true},
                {"4 % 2 = 0", "1", true},
                {"1 + 2 * 3", "7", true},
                {"(1 + 2) * 3", "9", true},
                {"7 / 2", "3.500000", true},
                {"1 = 1 AND 2 = 3", "0", false},
                {"1 = 1 OR 2 = 3", "1", true},
                {"5 != 6", "1", true},
                {"== 3 = 3", "1", true},
                {"3.9 = 3", "1", true},
                {"7 % 0", "0", false},
                {"(0 - 9) % (0 - 1)", "0", false},
                {"(0 - 9) % 4", "-1", true},
                {"1 / 0", "100000000", true},
                {"\"a-b\"", "\"a-b\"", false},
                {"2 >", "", false},
                {"", "", false},
                {"(1 + 2", "3", true},
                {"0.5", "0.5", false},
                {"1 + 2)", "x", true},
                {"abc)", "x", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expression);
        ConditionEvaluator evaluator;
        const bool parsed = evaluator.Parse(row.expression);
        EXPECT_EQ(parsed, std::string(row.result) != "x");
        EXPECT_EQ(evaluator.Evaluate().value_or("x"), row.result);
        EXPECT_EQ(ConditionHolds(row.expression), row.holds);
    }
    const std::pair<const char*, int> integers[] = {
        {"  -42abc", -42}, {"+7", 7}, {"x7", 0}, {"", 0}, {"3.99", 3}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(IntegerValueOf(text), value) << text;
}

TEST(FormatNumberTest, Pictures) {
    const char* rows[][3] = {{"7", "0000", "0007"},
                             {"12345", "0000", "12345"},
                             {"-7", "0000", "-0007"},
                             {"", "0000", ""},
                             {"1234", "x Standard y", "1234"},
                             {"1234567890", "#,##0", "1,234,567,890"},
                             {"0", "#,##0", "0"},
                             {"3.999", "0.00", "3.99"},
                             {"7", "0.00", "7.00"},
                             {"2.5", "0.##", "2.5"},
                             {"2.5", "00..0", "02.5"},
                             {"42", "No 000", "No 042"},
                             {"12345", "0 pcs", "12345 pcs"},
                             {"abc", "0000", "abc0000"},
                             {"1234567", "#,##x0", "x1,234,567"}};
    for (const auto& row : rows)
        EXPECT_EQ(FormatNumber(row[0], row[1], {',', '.'}), row[2]) << row[0] << " with " << row[1];
    const std::string longValue(300, '9');  // results are cut at 255 characters
    EXPECT_EQ(FormatNumber(longValue, "0", {',', '.'}).size(), 255u);
    EXPECT_EQ(FormatNumber(longValue, "Standard").size(), 255u);
    // The C locale has no thousands separator: a blank takes its place.
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(LocaleNumberSeparators().decimal, '.');
    EXPECT_EQ(FormatNumber("1234567", "# ##0"), "1 234 567");
    EXPECT_EQ(FormatNumber("1234567", "#,##0"), ",1234567");
}

}  // namespace
}  // namespace trevanto
