#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "publish/archive_embedding.h"
#include "publish/link_collector.h"
#include "publish/part_encoders.h"
#include "publish/publisher.h"
#include "publish/web_archive_writer.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using publish_test::Exists;
using publish_test::ReadFile;
using publish_test::TempDir;
using publish_test::WriteFile;

const std::string kDelimiter = "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}\r\n";

TEST(PartEncodersTest, Base64LinesOf48BytesAndPlainTextUpToTheFirstNul) {
    const std::string x48(48, 'x');
    std::string e48;
    for (int i = 0; i < 16; ++i)
        e48 += "eHh4";
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"abc", "YWJj\r\n\r\n"},
        {"ab", "YWI=\r\n\r\n"},
        {"a", "YQ==\r\n\r\n"},
        {std::string("\0\xff\xfe", 3), "AP/+\r\n\r\n"},
        {x48, e48 + "\r\n\r\n"},
        {x48 + "x", e48 + "\r\neA==\r\n\r\n"}};
    for (const auto& [bytes, encoded] : cases)
        EXPECT_EQ(EncodeBase64(bytes), encoded) << bytes;
    EXPECT_EQ(EncodePlain(std::string("body{}\0rest", 11)), "body{}");
}

TEST(WebArchiveWriterTest, OnePageAndOneImage) {
    TempDir dir;
    WriteFile(dir / "image0001.jpg", "abc");
    {
        WebArchiveWriter writer;
        ASSERT_TRUE(writer.Open(dir / "album.mhtml"));
        EXPECT_TRUE(writer.AddPagePart(dir / "album.mhtml", "<html></html>"));
        EXPECT_TRUE(writer.AddBase64Part(dir / "image0001.jpg", "image/jpeg"));
        writer.Close();
        writer.Close();
    }
    const std::string expected =
        "Content-Transfer-Encoding: binary\r\n"
        "Content-Type: multipart/related; boundary=\"{177D111C-F4CE-40fe-870C-3594DB0EBE62}\"\r\n"
        "MIME-Version: 1.0\r\n"
        "\r\n"
        "This is a multi-part message in MIME format.\r\n"
        "\r\n" +
        kDelimiter +
        "Content-Disposition: inline\r\n"
        "Content-Id: <album.mhtml>\r\n"
        "Content-Transfer-Encoding: binary\r\n"
        "Content-Type: text/html\r\n"
        "\r\n"
        "<html></html>\r\n" +
        kDelimiter +
        "Content-Disposition: inline; filename=\"image0001.jpg\"\r\n"
        "Content-Id: <image0001.jpg>\r\n"
        "Content-Transfer-Encoding: base64\r\n"
        "Content-Type: image/jpeg; name=\"image0001.jpg\"\r\n"
        "\r\n"
        "YWJj\r\n"
        "\r\n"
        "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}--\r\n";
    EXPECT_EQ(ReadFile(dir / "album.mhtml"), expected);
}

TEST(WebArchiveWriterTest, UnreadableFilesAndAClosedArchive) {
    TempDir dir;
    WriteFile(dir / "empty.css", "");
    WebArchiveWriter writer;
    EXPECT_FALSE(writer.AddPagePart("p.mhtml", "x"));
    ASSERT_TRUE(writer.Open(dir / "a.mhtml"));
    writer.AddTextPart(dir / "empty.css", "text/css");
    writer.AddBase64Part(dir / "missing.gif", "image/gif", "pics/missing.gif");
    writer.Close();
    EXPECT_FALSE(writer.AddTextPart(dir / "empty.css", "text/css"));
    const std::string archive = ReadFile(dir / "a.mhtml");
    EXPECT_NE(archive.find("Content-Type: text/css; name=\"empty.css\"\r\n\r\n\r\n" + kDelimiter),
              std::string::npos);
    EXPECT_NE(archive.find("filename=\"missing.gif\"\r\nContent-Id: <pics/missing.gif>\r\n"),
              std::string::npos);
    EXPECT_NE(archive.find("\r\n\r\nBASE64 encoder failed.\r\n--{177D"), std::string::npos);

    WebArchiveWriter unopened;
    EXPECT_FALSE(unopened.Open(dir / "no/such/folder/x.mhtml"));
    EXPECT_FALSE(unopened.AddPagePart("x.mhtml", "x"));
}

TEST(CollectLinksTest, Cases) {
    const struct {
        const char* text;
        const char* rewritten;
        std::vector<std::string> links;
    } cases[] = {
        {"<IMG SRC=\"pics/logo.gif\"><link rel=\"stylesheet\" href='site.css'>",
         "<IMG SRC=\"cid:pics/logo.gif\"><link rel=\"stylesheet\" href='cid:site.css'>",
         {"site.css", "pics/logo.gif"}},
        {"<img src=/abs.gif><img src=\"$(SHOTFILENAME)\"><img src=\"http://h/x.gif\">",
         "<img src=/abs.gif><img src=\"$(SHOTFILENAME)\"><img src=\"http://h/x.gif\">",
         {}},
        {"<img src=a.gif border=0>", "<img src=cid:a.gif border=0>", {"a.gif"}},
        {"<img src=\"Logo.GIF\"><img src=\"logo.gif\">",
         "<img src=\"cid:Logo.GIF\"><img src=\"cid:logo.gif\">",
         {"Logo.GIF"}},
        {"<script src = \"s.js\"></script>", "<script src = \"cid:s.js\"></script>", {"s.js"}},
        {"<img src=\"a\"><img src='b'>", "<img src=\"cid:a\"><img src='cid:b'>", {"a", "b"}},
        {"<img src=\"\"><img alt=x><img src>", "<img src=\"\"><img alt=x><img src>", {}},
        {"<img src=\"../secret.gif\"><img src=\"C:/x.gif\"><img src=\"a/../../b.gif\">",
         "<img src=\"../secret.gif\"><img src=\"C:/x.gif\"><img src=\"a/../../b.gif\">",
         {}},
        {"<img src=\"x.gif\"", "<img src=\"x.gif\"", {}},
        {"<img src=\"unclosed>", "<img src=\"unclosed>", {}},
        {"<p>no tags</p>", "<p>no tags</p>", {}},
        // Whole attribute names only.
        {"<img srcset=\"a.gif 2x\" data-src=c.gif src=\"b.gif\">",
         "<img srcset=\"a.gif 2x\" data-src=c.gif src=\"cid:b.gif\">",
         {"b.gif"}},
        {"<img class=\"src\" alt=\"jsrc=d.gif\"><link hreflang=en href=s.css>",
         "<img class=\"src\" alt=\"jsrc=d.gif\"><link hreflang=en href=cid:s.css>",
         {"s.css"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> links;
        EXPECT_EQ(CollectLinks(c.text, links), c.rewritten) << c.text;
        EXPECT_EQ(links, c.links) << c.text;
    }
}

TEST(SafeNameTest, Names) {
    for (const char* name : {"a.gif", "pics/a.gif", "pics\\a.gif", "a..b.gif", ".hidden"}) {
        EXPECT_TRUE(IsSafeRelativeName(name)) << name;
    }
    for (const char* name :
         {"", "/etc/passwd", "\\x", "..", "../a", "a/../b", "a\\..\\b", "C:x", "cid:a", "a/.."}) {
        EXPECT_FALSE(IsSafeRelativeName(name)) << name;
    }
}

class EmbedLinkedFilesTest : public ::testing::Test {
  protected:
    EmbedLinkedFilesTest() {
        WriteFile(source_ / "template.html", "<html></html>");
        WriteFile(source_ / "site.css", "body{}");
        WriteFile(source_ / "pics/logo.gif", "GIF89a");
        WriteFile(source_ / "notes.txt", "text");
        WriteFile(source_ / "secret.txt", "secret");
        WriteFile(outside_ / "outside.css", "outside{}");
        // Links pointing out of the template's folder are not followed.
        std::filesystem::create_symlink(outside_ / "outside.css", source_ / "link.css");
        publisher_.Options().templateFile = source_ / "template.html";
    }
    void Target(const std::string& name) {
        publisher_.Options().targetFile = target_ / name;
        publisher_.Run().firstPagePath = target_ / name;
    }

    TempDir source_;
    TempDir target_;
    TempDir outside_;
    Publisher publisher_;
    const std::vector<std::string> links_ = {"site.css",    "pics/logo.gif", "notes.txt",
                                             "missing.png", "../secret.txt", "link.css"};
};

TEST_F(EmbedLinkedFilesTest, WebPageCopiesWithFolders) {
    Target("index.html");
    EmbedLinkedFiles(publisher_, links_);
    EXPECT_EQ(ReadFile(target_ / "site.css"), "body{}");
    EXPECT_EQ(ReadFile(target_ / "pics/logo.gif"), "GIF89a");
    EXPECT_TRUE(Exists(target_ / "notes.txt"));
    EXPECT_FALSE(Exists(target_ / "missing.png"));
    // Nothing reaches outside the target's folder.
    EXPECT_FALSE(Exists(target_.Path() + "/../secret.txt"));
    EXPECT_FALSE(Exists(target_ / "link.css"));
}

TEST_F(EmbedLinkedFilesTest, ArchivePartsByContentType) {
    Target("a.mhtml");
    ASSERT_TRUE(publisher_.Archive().Open(target_ / "a.mhtml"));
    EmbedLinkedFiles(publisher_, links_);
    publisher_.Archive().Close();
    const std::string archive = ReadFile(target_ / "a.mhtml");
    EXPECT_NE(archive.find("Content-Id: <site.css>\r\nContent-Transfer-Encoding: binary\r\n"
                           "Content-Type: text/css; name=\"site.css\"\r\n\r\nbody{}--"),
              std::string::npos);
    EXPECT_NE(archive.find("Content-Disposition: inline; filename=\"logo.gif\"\r\n"
                           "Content-Id: <pics/logo.gif>\r\nContent-Transfer-Encoding: base64\r\n"
                           "Content-Type: image/gif; name=\"logo.gif\"\r\n\r\nR0lGODlh\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(archive.find("notes.txt"), std::string::npos);
    EXPECT_EQ(archive.find("secret"), std::string::npos);
    EXPECT_EQ(archive.find("missing"), std::string::npos);
    EXPECT_EQ(archive.find("outside"), std::string::npos);
}

TEST(ContentTypeTest, Extensions) {
    const std::pair<const char*, const char*> types[] = {
        {"a.CSS", "text/css"},    {"a.js", "application/x-javascript"},
        {"a.JPEG", "image/jpeg"}, {"a.jpg", "image/jpeg"},
        {"a.png", "image/png"},   {"a.bmp", "image/bmp"},
        {"a.gif", "image/gif"},   {"a.txt", ""},
        {"noextension", ""}};
    for (const auto& [file, type] : types) {
        bool base64 = false;
        EXPECT_EQ(LinkedFileContentType(file, &base64), type) << file;
        EXPECT_EQ(base64, std::string(type).rfind("image/", 0) == 0) << file;
    }
}

}  // namespace
}  // namespace trevanto
