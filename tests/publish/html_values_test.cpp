// Urls and file names written into pages: which schemes pass.
#include <gtest/gtest.h>

#include "publish/html_values.h"

namespace trevanto {
namespace {

TEST(HtmlValuesTest, UrlsKeepOnlySchemesThatRunNoScript) {
    const struct {
        const char* url;
        const char* scheme;
        bool kept;
    } rows[] = {
        {"http://example.com/v.wmv", "http", true},
        {"HTTPS://example.com/", "https", true},
        {"mms://media/clip.wmv", "mms", true},
        {"cid:image0001.jpg", "cid", true},
        {"file:///videos/clip.mpg", "file", true},
        {"/videos/clip.mpg", "", true},
        {"//example.com/v.wmv", "", true},
        {"clip.mpg?a=b:c", "", true},
        {"my video: part 1.mpg", "", true},
        {"C:\\videos\\clip.mpg", "c", true},
        {"javascript&#58;alert(1)", "", true},  // written escaped: a name, not a scheme
        {"2005:clip.mpg", "", true},
        {"javascript:alert(1)", "javascript", false},
        {"  JaVaScRiPt:alert(1)", "javascript", false},
        {"\x01\x1f javascript:alert(1)", "javascript", false},
        {"java\tscr\r\nipt:alert(1)", "javascript", false},
        {"vbscript:msgbox(1)", "vbscript", false},
        {"data:text/html,<script>", "data", false},
        {"x-custom+v1.2:thing", "x-custom+v1.2", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(UrlScheme(row.url), row.scheme) << row.url;
        EXPECT_EQ(UrlWithSafeScheme(row.url), row.kept ? row.url : "") << row.url;
    }
}

TEST(HtmlValuesTest, FileNamesNeverReadAsAScheme) {
    const std::pair<const char*, const char*> rows[] = {
        {"image0001.jpg", "image0001.jpg"},
        {"pics/shot 1.jpg", "pics/shot 1.jpg"},
        {"a:b.jpg", "./a:b.jpg"},
        {"javascript:alert(1).jpg", "./javascript:alert(1).jpg"},
        {"shot 1:2.jpg", "shot 1:2.jpg"},
    };
    for (const auto& [name, reference] : rows)
        EXPECT_EQ(FileReference(name), reference) << name;
    EXPECT_EQ(EscapeHtml("<a href=\"x\">Tom & Jerry's $(INDEX)</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s &#36;(INDEX)&lt;/a&gt;");
}

}  // namespace
}  // namespace trevanto
