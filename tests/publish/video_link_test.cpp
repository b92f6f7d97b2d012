#include <gtest/gtest.h>

#include "publish/video_link.h"

namespace trevanto {
namespace {

TEST(UrlEscapeTest, Bytes) {
    EXPECT_EQ(UrlEscape("Az09"), "Az09");
    EXPECT_EQ(UrlEscape("a b\tc\r\n\v\f"), "a+b+c++++");
    EXPECT_EQ(UrlEscape(":./&?=%"), "%3A%2E%2F%26%3F%3D%25");
    EXPECT_EQ(UrlEscape("\xE9\x80\xFF"), "%E9%80%FF");
    EXPECT_EQ(UrlEscape(std::string_view("\0-", 2)), "%00%2D");
    EXPECT_EQ(UrlEscape(""), "");
}

TEST(BuildVideoLinkTest, Parameters) {
    const struct {
        const char* start;
        const char* end;
        const char* media;
        const char* expected;
    } cases[] = {
        {"00:01:05.0400", "", "m.wmv", "U?startAt=00%3A01%3A05%2E0400&media=m%2Ewmv"},
        {"00:01:05.0400", "00:01:09.0920", "clip.wmv",
         "U?startAt=00%3A01%3A05%2E0400&endAt=00%3A01%3A09%2E0920&media=clip%2Ewmv"},
        {"00:01:05.0000", "00:01:10.0000", "",
         "U?startAt=00%3A01%3A05%2E0000&endAt=00%3A01%3A10%2E0000"},
        {"", "", "m.wmv", "U?media=m%2Ewmv"},
        {"", "00:00:01.0000", "a b&c", "U?endAt=00%3A00%3A01%2E0000&media=a+b%26c"},
        {"", "", "", "U?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildVideoLink("U", c.start, c.end, c.media), c.expected);
    }
}

}  // namespace
}  // namespace trevanto
