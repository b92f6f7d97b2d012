// Names and urls from outside the template in published pages and archives,
// read back by Python's HTML parser (html_outline.py): they add no element
// or attribute to what the same publication has with plain values, they show
// as they are, and a url that could run script is left out. What the user
// typed stays HTML.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using namespace publish_test;

using Outline = std::vector<std::string>;

// The outline of each file, in order, as html_outline.py prints it.
std::vector<Outline> ReadOutlines(const std::vector<std::string>& files) {
    std::string command = "python3 '" TREVANTO_HTML_OUTLINE "'";
    for (const std::string& file : files)
        command += " '" + file + "'";
    command += " 2>&1";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        output.append(buffer, got);
    const int status = pclose(pipe.release());
    EXPECT_EQ(status, 0) << output;
    std::vector<Outline> outlines;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("file ", 0) == 0)
            outlines.emplace_back();
        else if (!outlines.empty())
            outlines.back().push_back(line);
    }
    EXPECT_EQ(outlines.size(), files.size()) << output;
    return outlines;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// Each run of characters that starts with `prefix` removed up to the next blank.
void RemoveWords(std::string& text, const std::string& prefix) {
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at))
        text.erase(at, text.find(' ', at) == std::string::npos ? std::string::npos
                                                               : text.find(' ', at) - at);
}

// "" when equal, else the first line that differs.
std::string FirstDifference(const Outline& got, const Outline& expected) {
    for (size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
        const std::string a = i < got.size() ? got[i] : "(end)";
        const std::string b = i < expected.size() ? expected[i] : "(end)";
        if (a != b)
            return "line " + std::to_string(i) + ": got [" + a + "] expected [" + b + "]";
    }
    return {};
}

bool HasTextHolding(const Outline& outline, const std::string& text) {
    for (const std::string& line : outline) {
        if (line.rfind("text ", 0) == 0 && line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

// An element `inner` inside an element `outer`.
bool HasElementInside(const Outline& outline, const std::string& outer, const std::string& inner) {
    bool inside = false;
    for (const std::string& line : outline) {
        if (line == "start " + outer)
            inside = true;
        else if (line == "end " + outer)
            inside = false;
        else if (inside && line == "start " + inner)
            return true;
    }
    return false;
}

constexpr const char* kPlainName = "plainname.mpg";
constexpr const char* kPlainScript = "http://example.com/asx.php";
constexpr const char* kPlainVideo = "http://example.com/v.wmv";

// Every value from outside, in text and in quoted attributes.
constexpr const char* kOwnTemplate =
    "<html><head><title>$(TITLE)</title></head><body>\r\n"
    "<h1>$(TITLE)</h1>\r\n"
    "<p title=\"$(VIDEONAME)\">$(VIDEONAME) $(VIDEOURL) $(USERNAME) $(VIDEOLINK_URL) </p>\r\n"
    "<a href=\"$(VIDEOURL)\">video</a> <a href='$(VIDEOLINK_URL)'>online</a>\r\n"
    "$(BEGINSHOT)<a href=\"$(VIDEOLINK)\"><img src=\"$(SHOTFILENAME)\" alt=\"$(VIDEONAME)\"></a>"
    "<a href=\"$(VIDEOLINK_STARTAT)\">from here</a>$(ENDSHOT)\r\n"
    "<a href=\"$(NEXTPAGE)\">next</a></body></html>\r\n";

struct Values {
    std::string name = kPlainName;  // of the video and of the user
    std::string scriptUrl = kPlainScript;
    std::string videoUrl = kPlainVideo;
};

// Publishes three shots into `folder`; returns the first page's path.
std::string Publish(const std::string& folder, const std::string& target,
                    const std::string& templateFile, const Values& values) {
    ShotList shots;
    FillShots(shots, 3);
    // An archive takes in the shot images, which the export has written.
    for (int i = 1; i <= 3; ++i)
        WriteFile(folder + "/image000" + std::to_string(i) + ".jpg", "not decoded");
    Publisher publisher;
    publisher.PublishVideoFacts("/videos/" + values.name, 75, 3.0);
    PublishOptions& options = publisher.Options();
    options.targetFile = folder + "/" + target;
    publisher.SetUseTemplate(!templateFile.empty());
    options.templateFile = templateFile;
    options.title = "My <i>holiday</i>: $(VIDEONAME)";
    options.shotCaption = "<b>$(INDEX)</b> $(VIDEONAME)";
    options.asxScriptUrl = values.scriptUrl;
    options.onlineVideoUrl = values.videoUrl;
    PublishInput input;
    input.shots = &shots;
    input.userName = values.name;
    const PublishOutcome outcome = PublishPages(publisher, input);
    EXPECT_TRUE(outcome.complete && outcome.problems.empty()) << folder;
    return outcome.firstPagePath;
}

TEST(PageEscapingTest, ValuesFromOutsideAddNoMarkup) {
    // A name row sets the video's file name and the user name, a url row the
    // online video and script urls.
    const struct {
        const char* name;
        const char* url;
    } rows[] = {
        {"<img src=x onerror=alert(1)>.mpg", nullptr},
        {"Tom & Jerry <1999>.avi", nullptr},
        {"\"quoted\" name's.mpg", nullptr},
        {"x\" onmouseover=\"alert(1)\" y='.mpg", nullptr},
        {"<svg onload=alert(1)>&lt;b&gt;&#60;.mpg", nullptr},
        {"$(TITLE) $(VIDEOURL) 100$.mpg", nullptr},
        {"javascript:alert(1)", nullptr},
        // Every scheme that could run script: html_values_test.
        {nullptr, " JavaScript:alert(1)//http://example.com"},
        {nullptr, "data:text/html,<script>alert(1)</script>"},
    };
    TempDir dir;
    WriteFile(dir / "tpl/page.html", kOwnTemplate);
    const std::string templates[] = {
        "", dir / "tpl/page.html", TREVANTO_TEMPLATES_DIR "/responsive_grid.html",
        TREVANTO_TEMPLATES_DIR "/filmstrip.html", TREVANTO_TEMPLATES_DIR "/contact_sheet.html"};
    int run = 0;
    for (const std::string& pageTemplate : templates) {
        for (const char* target : {"index.html", "album.mhtml"}) {
            SCOPED_TRACE(std::string(target) + " from " +
                         (pageTemplate.empty() ? "the built-in layout" : pageTemplate));
            // The plain publication first, then one for each row.
            std::vector<std::string> folders, pages;
            for (size_t row = 0; row <= std::size(rows); ++row) {
                Values values;
                if (row > 0 && rows[row - 1].name)
                    values.name = rows[row - 1].name;
                if (row > 0 && rows[row - 1].url)
                    values.scriptUrl = values.videoUrl = rows[row - 1].url;
                folders.push_back(dir / ("run" + std::to_string(run++)));
                pages.push_back(Publish(folders.back(), target, pageTemplate, values));
            }
            std::vector<Outline> outlines = ReadOutlines(pages);
            ASSERT_EQ(outlines.size(), pages.size());
            for (size_t i = 0; i < outlines.size(); ++i) {
                for (std::string& line : outlines[i])
                    ReplaceAll(line, folders[i], "FOLDER");
            }
            const Outline& plain = outlines[0];
            // The parser did read pages, and the title's own markup stays.
            ASSERT_TRUE(HasElementInside(plain, "h1", "i"));
            ASSERT_TRUE(HasTextHolding(plain, kPlainName));
            for (size_t row = 0; row < std::size(rows); ++row) {
                Outline got = outlines[row + 1];
                Outline expected = plain;
                if (rows[row].name) {
                    SCOPED_TRACE(rows[row].name);
                    EXPECT_TRUE(HasTextHolding(got, rows[row].name));
                    for (std::string& line : got)
                        ReplaceAll(line, rows[row].name, kPlainName);
                    EXPECT_EQ(FirstDifference(got, expected), "");
                } else {
                    SCOPED_TRACE(rows[row].url);
                    // The links that the plain urls made are left out.
                    for (std::string& line : expected)
                        RemoveWords(line, "http://example.com");
                    EXPECT_EQ(FirstDifference(got, expected), "");
                }
            }
        }
    }
}

TEST(PageEscapingTest, PageNamesInTheBuiltInPage) {
    // A page budget of one image of 2 KB: one shot per page, "Next" links.
    TempDir dir;
    ShotList shots;
    FillShots(shots, 2);
    Publisher publisher;
    publisher.PublishVideoFacts("/videos/clip.mpg", 50, 2.0);
    const std::string first = dir / "de:f \"g\" <h> & i.html";
    publisher.Options().targetFile = first;
    publisher.Options().pageKBytes = 2;
    PublishInput input;
    input.shots = &shots;
    ASSERT_TRUE(PublishPages(publisher, input).complete);
    const std::vector<Outline> outlines = ReadOutlines({first});
    ASSERT_EQ(outlines.size(), 1u);
    const Outline& page = outlines[0];
    EXPECT_TRUE(HasTextHolding(page, "(" + first + ")"));
    // Without "./" the name would read as a url of the scheme "de".
    EXPECT_NE(std::find(page.begin(), page.end(), "attr href=./de:f \"g\" <h> & i_0001.html"),
              page.end());
}

}  // namespace
}  // namespace trevanto
