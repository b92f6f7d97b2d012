// The user guide's keyword reference lists the keyword table: one row per
// keyword, none that the table lacks, and the keywords that are never
// replaced said to be so.
#include <map>
#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "publish/keyword_table.h"
#include "support/whole_file.h"

namespace trevanto {
namespace {

std::string ReadGuidePage(const std::string& name) {
    return test::ReadWholeFile(std::string(TREVANTO_GUIDE_DIR) + "/" + name);
}

TEST(KeywordReference, HasOneRowPerKeywordOfTheTable) {
    const std::string page = ReadGuidePage("keywords.html");
    ASSERT_FALSE(page.empty());
    // Each row: <tr id="kw-NAME"> ... </tr>.
    const std::regex row(R"re(<tr id="kw-([A-Z0-9_]+)">([\s\S]*?)</tr>)re");
    std::set<std::string> listed;
    std::map<std::string, std::string> rows;
    for (auto match = std::sregex_iterator(page.begin(), page.end(), row);
         match != std::sregex_iterator(); ++match) {
        EXPECT_TRUE(listed.insert((*match)[1]).second) << "listed twice: " << (*match)[1];
        rows[(*match)[1]] = (*match)[2];
    }
    std::set<std::string> table;
    for (const KeywordRow& keyword : KeywordTable) {
        const std::string name(keyword.name);
        table.insert(name);
        ASSERT_TRUE(rows.count(name)) << "not in the guide: " << name;
        EXPECT_NE(rows[name].find("<code>$(" + name + ")</code>"), std::string::npos) << name;
        EXPECT_EQ(rows[name].find("never replaced") != std::string::npos, !keyword.expandable)
            << name;
    }
    EXPECT_EQ(listed, table);
}

}  // namespace
}  // namespace trevanto
