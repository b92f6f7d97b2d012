#include <gtest/gtest.h>

#include "publish/archive_embedding.h"
#include "publish/link_collector.h"
#include "publish/part_encoders.h"
#include "publish/publisher.h"
#include "publish/web_archive_writer.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using namespace publish_test;

const std::string kDelimiter = "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}\r\n";

TEST(PartEncodersTest, Base64LinesOf48BytesAndPlainTextUpToTheFirstNul) {
    std::string e48;
    for (int i = 0; i < 16; ++i)
        e48 += "eHh4";
    const std::pair<std::string, std::string> rows[] = {
        {"", ""},
        {"ab", "YWI=\r\n\r\n"},
        {"a", "YQ==\r\n\r\n"},
        {std::string("\0\xff\xfe", 3), "AP/+\r\n\r\n"},
        {std::string(49, 'x'), e48 + "\r\neA==\r\n\r\n"}};
    for (const auto& [bytes, encoded] : rows)
        EXPECT_EQ(EncodeBase64(bytes), encoded) << bytes;
    EXPECT_EQ(EncodePlain(std::string("body{}\0rest", 11)), "body{}");
}

TEST(WebArchiveWriterTest, OnePageAndOneImage) {
    TempDir dir;
    WriteFile(dir / "image0001.jpg", "abc");
    WebArchiveWriter writer;
    EXPECT_FALSE(writer.AddPagePart("p.mhtml", "x"));  // not open
    ASSERT_TRUE(writer.Open(dir / "album.mhtml"));
    EXPECT_TRUE(writer.AddPagePart(dir / "album.mhtml", "<html></html>"));
    EXPECT_TRUE(writer.AddBase64Part(dir / "image0001.jpg", "image/jpeg"));
    writer.Close();
    writer.Close();
    EXPECT_FALSE(writer.AddTextPart(dir / "image0001.jpg", "text/css"));
    EXPECT_EQ(
        ReadFile(dir / "album.mhtml"),
        "Content-Transfer-Encoding: binary\r\n"
        "Content-Type: multipart/related; boundary=\"{177D111C-F4CE-40fe-870C-3594DB0EBE62}\"\r\n"
        "MIME-Version: 1.0\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n" +
            kDelimiter +
            "Content-Disposition: inline\r\nContent-Id: <album.mhtml>\r\n"
            "Content-Transfer-Encoding: binary\r\nContent-Type: text/html\r\n\r\n"
            "<html></html>\r\n" +
            kDelimiter +
            "Content-Disposition: inline; filename=\"image0001.jpg\"\r\n"
            "Content-Id: <image0001.jpg>\r\nContent-Transfer-Encoding: base64\r\n"
            "Content-Type: image/jpeg; name=\"image0001.jpg\"\r\n\r\nYWJj\r\n\r\n"
            "--{177D111C-F4CE-40fe-870C-3594DB0EBE62}--\r\n");
    EXPECT_FALSE(writer.Open(dir / "no/such/folder/x.mhtml"));
}

TEST(CollectLinksTest, Cases) {
    const struct {
        const char *text, *rewritten;
        std::vector<std::string> links;
    } rows[] = {
        {"<IMG SRC=\"pics/logo.gif\"><link rel=\"stylesheet\" href='site.css'>",
         "<IMG SRC=\"cid:pics/logo.gif\"><link rel=\"stylesheet\" href='cid:site.css'>",
         {"site.css", "pics/logo.gif"}},
        {"<img src=a.gif border=0><img src=\"Logo.GIF\"><img src=\"logo.gif\">",
         "<img src=cid:a.gif border=0><img src=\"cid:Logo.GIF\"><img src=\"cid:logo.gif\">",
         {"a.gif", "Logo.GIF"}},
        {"<script src = \"s.js\"></script>", "<script src = \"cid:s.js\"></script>", {"s.js"}},
        // Left alone: absolute, keyword, remote, empty, outside and unclosed links.
        {"<img src=/abs.gif><img src=\"$(SHOTFILENAME)\"><img src=\"http://h/x.gif\"><img src=\"\">"
         "<img alt=x><img src><img src=\"../s.gif\"><img src=\"C:/x.gif\"><img src=\"a/../../b\">",
         nullptr,
         {}},
        {"<img src=\"x.gif\"", nullptr, {}},
        {"<img src=\"unclosed>", nullptr, {}},
        // Whole attribute names only.
        {"<img srcset=\"a.gif 2x\" data-src=c.gif src=\"b.gif\">",
         "<img srcset=\"a.gif 2x\" data-src=c.gif src=\"cid:b.gif\">",
         {"b.gif"}},
        {"<img class=\"src\" alt=\"jsrc=d.gif\"><link hreflang=en href=s.css>",
         "<img class=\"src\" alt=\"jsrc=d.gif\"><link hreflang=en href=cid:s.css>",
         {"s.css"}}};
    for (const auto& row : rows) {
        std::vector<std::string> links;
        EXPECT_EQ(CollectLinks(row.text, links), row.rewritten ? row.rewritten : row.text)
            << row.text;
        EXPECT_EQ(links, row.links) << row.text;
    }
}

TEST(SafeNameTest, NamesAndContentTypes) {
    for (const char* name : {"a.gif", "pics\\a.gif", "a..b.gif", ".hidden"})
        EXPECT_TRUE(IsSafeRelativeName(name)) << name;
    for (const char* name : {"", "/etc/passwd", "\\x", "..", "a\\..\\b", "cid:a", "a/.."})
        EXPECT_FALSE(IsSafeRelativeName(name)) << name;
    for (const auto& [file, type] : {std::pair("a.CSS", "text/css"),
                                     {"a.js", "application/x-javascript"},
                                     {"a.JPEG", "image/jpeg"},
                                     {"a.png", "image/png"},
                                     {"a.bmp", "image/bmp"},
                                     {"a.txt", ""}}) {
        bool base64 = false;
        EXPECT_EQ(LinkedFileContentType(file, &base64), type) << file;
        EXPECT_EQ(base64, std::string(type).starts_with("image/")) << file;
    }
}

TEST(EmbedLinkedFilesTest, WebPagesCopyAndArchivesEmbedByContentType) {
    TempDir source, target, outside;
    WriteFile(source / "site.css", "body{}");
    WriteFile(source / "pics/logo.gif", "GIF89a");
    WriteFile(source / "notes.txt", "text");
    WriteFile(source / "empty.css", "");
    WriteFile(source / "secret.txt", "secret");
    WriteFile(outside / "outside.css", "outside{}");
    // Links pointing out of the template's folder are not followed.
    std::filesystem::create_symlink(outside / "outside.css", source / "link.css");
    Publisher publisher;
    publisher.Options().templateFile = source / "template.html";
    const std::vector<std::string> links = {"site.css",    "pics/logo.gif", "notes.txt",
                                            "missing.png", "../secret.txt", "link.css"};
    publisher.Options().targetFile = publisher.Run().firstPagePath = target / "index.html";
    EmbedLinkedFiles(publisher, links);
    EXPECT_EQ(ReadFile(target / "site.css"), "body{}");
    EXPECT_EQ(ReadFile(target / "pics/logo.gif"), "GIF89a");
    EXPECT_TRUE(exists(target / "notes.txt"));
    EXPECT_FALSE(exists(target / "missing.png") || exists(target / "link.css") ||
                 exists(target.Path() + "/../secret.txt"));

    publisher.Options().targetFile = publisher.Run().firstPagePath = target / "a.mhtml";
    ASSERT_TRUE(publisher.Archive().Open(target / "a.mhtml"));
    EmbedLinkedFiles(publisher, links);
    publisher.Archive().AddTextPart(source / "empty.css", "text/css");
    publisher.Archive().AddBase64Part(source / "missing.gif", "image/gif", "pics/missing.gif");
    publisher.Archive().Close();
    const std::string archive = ReadFile(target / "a.mhtml");
    for (const std::string& part : std::vector<std::string>{
             "Content-Id: <site.css>\r\nContent-Transfer-Encoding: binary\r\n"
             "Content-Type: text/css; name=\"site.css\"\r\n\r\nbody{}--",
             "Content-Disposition: inline; filename=\"logo.gif\"\r\nContent-Id: <pics/logo.gif>\r\n"
             "Content-Transfer-Encoding: base64\r\nContent-Type: image/gif; "
             "name=\"logo.gif\"\r\n\r\n"
             "R0lGODlh\r\n\r\n",
             "Content-Type: text/css; name=\"empty.css\"\r\n\r\n\r\n" + kDelimiter,
             "filename=\"missing.gif\"\r\nContent-Id: <pics/missing.gif>\r\n",
             "\r\n\r\nBASE64 encoder failed.\r\n--{177D"})
        EXPECT_NE(archive.find(part), std::string::npos) << part;
    for (const char* absent : {"notes.txt", "secret", "missing.png", "outside"})
        EXPECT_EQ(archive.find(absent), std::string::npos) << absent;
}

}  // namespace
}  // namespace trevanto
