#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "publish/video_link.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using namespace publish_test;
using Kind = PublishProblemKind;

TEST(PublishCommandTest, ReadinessTargetsAndFirstPages) {
    EXPECT_EQ(CheckReadyToPublish(false, 3), PublishProblem{Kind::NoMovie});
    EXPECT_EQ(CheckReadyToPublish(true, 0), PublishProblem{Kind::NoShot});
    EXPECT_FALSE(CheckReadyToPublish(true, 1));
    const std::pair<const char*, const char*> folders[] = {
        {"/pub/index.html", "/pub"}, {"/pub/Album.MHTML", "/pub"},   {"/pub/default.asp", "/pub"},
        {"/pub/", "/pub"},           {"/pub/photos", "/pub/photos"}, {"index.html", ""}};
    for (const auto& [target, folder] : folders)
        EXPECT_EQ(TargetFolder(target), folder) << target;
    TempDir dir;
    EXPECT_EQ(FirstPagePath(dir.Path() + "/"), dir / "output1.html");
    EXPECT_EQ(FirstPagePath(dir.Path()), dir / "output1.html");
    EXPECT_EQ(FirstPagePath(dir / "album.mhtml"), dir / "album.mhtml");
    EXPECT_EQ(FirstPagePath(""), "");
    EXPECT_EQ(PrepareTarget("").problem, PublishProblem{Kind::NoTarget});
    EXPECT_EQ(PrepareTarget(dir / "pub/index.html").imageFolder, dir / "pub");
    EXPECT_TRUE(PrepareTarget(dir / "folder/").ok && std::filesystem::is_directory(dir / "folder"));
    // A page that is a folder, or a folder that is a file, is refused before any image.
    std::filesystem::create_directory(dir / "page.html");
    WriteFile(dir / "notes", "");
    EXPECT_EQ(PrepareTarget(dir / "page.html").problem,
              PublishProblem(Kind::TargetIsFolder, dir / "page.html"));
    EXPECT_EQ(PrepareTarget(dir / "new.html/").problem,
              PublishProblem(Kind::TargetIsFolder, dir / "new.html"));
    EXPECT_EQ(PrepareTarget(dir / "notes").problem,
              PublishProblem(Kind::TargetIsFile, dir / "notes"));
}

// Mounts a read-only file system in a mount namespace of a child process, so
// that nothing outside the test sees it. 0: passed, 1: failed, 77: no namespace.
int CheckReadOnlyTargetInChild(const std::string& folder) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, nullptr) != 0)
        return 77;
    if (!IsOnReadOnlyFileSystem(folder + "/no/such/folder"))
        return 1;
    const TargetCheck check = PrepareTarget(folder + "/pub/index.html");
    return check.ok || check.problem.kind != Kind::ReadOnlyTarget ? 1 : 0;
}

TEST(PublishCommandTest, ReadOnlyFileSystems) {
    TempDir dir;
    EXPECT_FALSE(IsOnReadOnlyFileSystem(dir / "not/yet/there"));
    std::filesystem::create_directories(dir / "media");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(CheckReadOnlyTargetInChild(dir / "media"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace for a read-only mount";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A folder the user may not write to, seen by a user who is not root (root
// writes anywhere). 0: passed, 1: failed, 77: no such user.
int CheckFolderWithoutWritePermission(const std::string& folder) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 77;
    const TargetCheck check = PrepareTarget(folder + "/index.html");
    return check.problem == PublishProblem(Kind::TargetNotWritable, folder) ? 0 : 1;
}

TEST(PublishCommandTest, AFolderWithoutWritePermissionIsNoReadOnlyMedium) {
    TempDir dir;
    const std::string locked = dir / "locked";
    std::filesystem::create_directories(locked);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all,
                                 std::filesystem::perm_options::add);
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(CheckFolderWithoutWritePermission(locked));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no user without root's rights";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(PublishCommandTest, AdditionalFilesNeverReplaceTheFilesOfThePublication) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(PublicationPageNames("/p/index.html", 3),
              (Names{"index.html", "index_0001.html", "index_0002.html"}));
    // Built-in pages are numbered before ".htm", template pages before the last dot.
    EXPECT_EQ(PublicationPageNames("/p/x.htm.php", 2),
              (Names{"x.htm.php", "x_0001.htm.php", "x.htm_0001.php"}));
    EXPECT_EQ(PublicationPageNames("/p/album.mhtml", 1), Names{"album.mhtml"});
    TempDir dir;
    const Names own = {"index.html", "index_0001.html", "image0001.jpg", "image0002.jpg"};
    for (const char* name : {"logo.png", "image0001.jpg", "IMAGE0002.JPG", "index_0001.html",
                             "style.css", "other/logo.png"}) {
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        WriteFile(dir / name, "x");
    }
    const struct {
        Names files;
        std::optional<std::string> clash;
    } cases[] = {
        {{dir / "logo.png", dir / "style.css", dir / "missing.jpg"}, std::nullopt},
        {{dir / "logo.png", dir / "image0001.jpg"}, dir / "image0001.jpg"},
        {{dir / "IMAGE0002.JPG"}, dir / "IMAGE0002.JPG"},  // the same file on a stick
        {{dir / "index_0001.html"}, dir / "index_0001.html"},
        {{dir / "logo.png", dir / "other/logo.png"}, dir / "other/logo.png"},
        {{dir / "image0003.jpg"}, std::nullopt},  // not there: never copied
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdditionalFileClash(c.files, own), c.clash) << c.files.back();
}

class PublishPagesTest : public ::testing::Test {
  protected:
    PublishPagesTest() {
        FillShots(shots_, 3);
        input_.shots = &shots_;
        ::strptime("2005/11/16 10:19", "%Y/%m/%d %H:%M", &input_.localTime);
        input_.userName = "alice";
        publisher_.PublishVideoFacts("/v/clip.mpg", 3125, 125.0);
    }
    PublishOutcome Publish(const std::string& target) {
        publisher_.Options().targetFile = target;
        return PublishPages(publisher_, input_);
    }

    TempDir dir_;
    ShotList shots_;
    PublishInput input_;
    Publisher publisher_;
};

TEST_F(PublishPagesTest, PagesIntoAFolderAndAnArchiveWithImagesKeptElsewhere) {
    EXPECT_FALSE(Publish("").ran);
    publisher_.Options().title = "$(VIDEODURATION) $(CREATIONDATE) $(USERNAME)";
    PublishOutcome outcome = Publish(dir_.Path() + "/");
    EXPECT_TRUE(outcome.ran && outcome.complete && outcome.problems.empty());
    EXPECT_EQ(outcome.pageToShow, dir_ / "output1.html");
    EXPECT_NE(ReadFile(dir_ / "output1.html").find("<h1>02:05 2005/11/16 10:19 alice</h1>"),
              std::string::npos);
    for (int i = 1; i <= 3; ++i) {
        input_.imageFiles.push_back(dir_ / ("export/shot" + std::to_string(i) + ".jpg"));
        WriteFile(input_.imageFiles.back(), std::string(static_cast<size_t>(i), 'a'));
    }
    publisher_.Options().showResult = false;
    outcome = Publish(dir_ / "album.mhtml");
    EXPECT_TRUE(outcome.complete && outcome.pageToShow.empty());
    EXPECT_NE(ReadFile(dir_ / "album.mhtml")
                  .find("Content-Id: <image0003.jpg>\r\nContent-Transfer-Encoding: base64\r\n"
                        "Content-Type: image/jpeg; name=\"shot3.jpg\"\r\n\r\nYWFh\r\n"),
              std::string::npos);
    EXPECT_FALSE(exists(dir_ / "album_0001.mhtml"));
}

TEST_F(PublishPagesTest, WhatCouldNotBeWrittenIsNoSuccess) {
    // A path under a regular file cannot be written, even by root; a folder
    // named like a shot image used to abort the archive half written.
    WriteFile(dir_ / "file", "x");
    WriteFile(dir_ / "t.html", "<html></html>");
    std::filesystem::create_directories(dir_ / "image0002.jpg");
    const PublishProblem partial{Kind::Partial};
    const struct {
        const char *target, *title, *templateFile;
        std::vector<PublishProblem> problems;
    } rows[] = {
        {"file/index.html", "", "", {partial}},
        {"file/album.mhtml", "", "", {partial}},
        {"album.mhtml", "", "", {partial}},
        {"index.html", "$(TITLE)", "", {{Kind::ExpansionLimit}, partial}},
        {"index.html", "", "t.html", {{Kind::TemplateWithoutShotBlock, dir_ / "t.html"}, partial}}};
    for (const auto& row : rows) {
        publisher_.Options().title = row.title;
        publisher_.SetUseTemplate(*row.templateFile != 0);
        publisher_.Options().templateFile = *row.templateFile ? dir_ / row.templateFile : "";
        const PublishOutcome outcome = Publish(dir_ / row.target);
        EXPECT_FALSE(outcome.complete) << row.target;
        EXPECT_EQ(outcome.problems, row.problems) << row.target;
    }
}

TEST(PublishOptionsTest, ResetAssignAndTargetType) {
    Publisher document, copy;
    document.PublishVideoFacts("/videos/clip.mpg", 2500, 100.0);
    copy.Assign(document);
    PublishOptions& o = copy.Options();
    o.title = "Changed";
    o.shotFileName = "other.jpg";
    copy.SetUseTemplate(true);
    o.templateFile = "t.html";
    copy.SetUseTemplate(false);
    copy.SetUseTemplate(true);
    EXPECT_TRUE(o.templateFile.empty());  // turned off and on: chosen again
    o.templateFile = "t.html";
    o.additionalFiles = {"a", "b"};
    copy.PublishVideoFacts("/elsewhere/other.mpg", 10, 1.0);
    // What the wizard edits is copied, but not the file name or the video's facts.
    document.Assign(copy);
    EXPECT_EQ(document.Options().title, "Changed");
    EXPECT_EQ(document.Options().templateFile, "t.html");
    EXPECT_EQ(document.Options().shotFileName, "image$(INDEX, \"0000\").jpg");
    EXPECT_EQ(document.Texts().videoName, "clip.mpg");
    EXPECT_EQ(document.Texts().videoUrl, "/elsewhere/other.mpg");
    EXPECT_EQ(document.FrameCount(), 2500);
    // A reset keeps the additional files.
    copy.ResetToDefaults();
    EXPECT_EQ(o.title, "Trevanto Thumbnail");
    EXPECT_FALSE(o.useTemplate || !o.templateFile.empty());
    EXPECT_EQ(o.additionalFiles, (std::vector<std::string>{"a", "b"}));
    for (const auto& [target, archive] :
         {std::pair("/pub/ALBUM.MHTML", true), {"mhtml", false}, {"/pub.mhtml/x.htm", false}}) {
        o.targetFile = target;
        EXPECT_EQ(copy.IsArchive(), archive) << target;
        EXPECT_EQ(copy.TargetTypeText(),
                  archive ? "Target type : web archive" : "Target type : web page");
    }
}

TEST(PublishOptionsTest, TextsOfTheVideoAndItsLinks) {
    for (const auto& [seconds, text] :
         {std::pair(3605.0, "01:00:05"), {42.0, "42"}, {1e300, "596523:14:07"}})
        EXPECT_EQ(VideoDurationText(seconds), text) << seconds;
    EXPECT_FALSE(CurrentUserName().empty());
    EXPECT_EQ(UrlEscape(std::string_view("Az09 \t\r\n\v\f:./&?=%\xE9\0", 19)),
              "Az09++++++%3A%2E%2F%26%3F%3D%25%E9%00");
    // Links with all three parts: the keyword tests.
    const char* links[][4] = {
        {"00:01:05.0000", "", "", "U?startAt=00%3A01%3A05%2E0000"},
        {"", "00:00:01.0000", "a b&c", "U?endAt=00%3A00%3A01%2E0000&media=a+b%26c"},
        {"", "", "", "U?"}};
    for (const auto& link : links)
        EXPECT_EQ(BuildVideoLink("U", link[0], link[1], link[2]), link[3]) << link[3];
}

TEST(VideoLinkFieldsTest, TimesReadAsFourNumbersAndChecksGoInOrder) {
    const std::pair<const char*, std::optional<double>> times[] = {
        {"00:01:05.0400", 65.4},  // the milliseconds are written with four digits
        {" 1: -2:+3.5xyz", 3600 - 120 + 3 + 0.005},  // blanks before numbers, signs, a tail
        {"00:01:05:400", std::nullopt},              // a colon before the milliseconds
        {"00 :01:05.0", std::nullopt},
        {"", 0.0}};
    for (const auto& [text, seconds] : times) {
        const auto read = LinkTimeSeconds(text);
        ASSERT_EQ(read.has_value(), seconds.has_value()) << text;
        if (seconds) {
            EXPECT_NEAR(*read, *seconds, 1e-9) << text;
        }
    }
    using enum VideoLinkCheck;
    const std::pair<VideoLinkFields, VideoLinkCheck> rows[] = {
        {{"1:0:0.0", "x", "", ""}, BadEnd},  // times before urls
        {{"x", "x", "v", "s"}, BadStart},
        {{"", "", "", "s"}, EmptyVideoUrl},
        {{"", "", "v", ""}, EmptyScriptUrl}};
    for (auto [fields, check] : rows)
        EXPECT_EQ(CheckVideoLinkFields(fields), check) << fields.start;
    // The later time goes to the end; an empty end counts as 0.
    for (VideoLinkFields fields : {VideoLinkFields{"00:02:00.0000", "00:01:00.0000", "v", "s"},
                                   VideoLinkFields{"00:01:00.0000", "", "v", "s"}}) {
        const std::string start = fields.start;
        EXPECT_EQ(CheckVideoLinkFields(fields), Accepted);
        EXPECT_EQ(fields.end, start);
    }
}

}  // namespace
}  // namespace trevanto
