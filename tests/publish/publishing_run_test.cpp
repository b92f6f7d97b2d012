#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using publish_test::Exists;
using publish_test::ReadFile;
using publish_test::TempDir;
using publish_test::WriteFile;

using Kind = PublishProblemKind;

TEST(PublishCommandTest, NotReady) {
    EXPECT_EQ(CheckReadyToPublish(false, 3), PublishProblem{Kind::NoMovie});
    EXPECT_EQ(CheckReadyToPublish(true, 0), PublishProblem{Kind::NoShot});
    EXPECT_FALSE(CheckReadyToPublish(true, 1));
}

TEST(PublishCommandTest, TargetFoldersAndFirstPages) {
    TempDir dir;
    EXPECT_EQ(TargetFolder("/pub/index.html"), "/pub");
    EXPECT_EQ(TargetFolder("/pub/Album.MHTML"), "/pub");
    EXPECT_EQ(TargetFolder("/pub/default.asp"), "/pub");
    EXPECT_EQ(TargetFolder("/pub/"), "/pub");
    EXPECT_EQ(TargetFolder("/pub/photos"), "/pub/photos");
    EXPECT_EQ(TargetFolder("index.html"), "");
    EXPECT_EQ(FirstPagePath(dir.Path() + "/"), dir / "output1.html");
    EXPECT_EQ(FirstPagePath(dir.Path()), dir / "output1.html");
    EXPECT_EQ(FirstPagePath(dir / "album.mhtml"), dir / "album.mhtml");
    EXPECT_EQ(FirstPagePath(""), "");
}

TEST(PublishCommandTest, PrepareTarget) {
    TempDir dir;
    TargetCheck check = PrepareTarget("");
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.problem, PublishProblem{Kind::NoTarget});

    check = PrepareTarget(dir / "pub/index.html");
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.imageFolder, dir / "pub");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "pub"));

    check = PrepareTarget(dir / "folder/");
    EXPECT_TRUE(check.ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));

    // One level is created, not more.
    check = PrepareTarget(dir / "a/b/index.html");
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.problem, (PublishProblem{Kind::CannotCreateFolder, dir / "a/b"}));
}

// Mounts a read-only file system in a mount namespace of a child process, so
// that nothing outside the test sees it. 0: passed, 1: failed, 77: no namespace.
int CheckReadOnlyTargetInChild(const std::string& folder) {
    if (::unshare(CLONE_NEWNS) != 0)
        return 77;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return 77;
    if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, nullptr) != 0)
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

class PublishPagesTest : public ::testing::Test {
  protected:
    PublishPagesTest() {
        publish_test::FillShots(shots_, 3);
        input_.shots = &shots_;
        input_.localTime.tm_year = 2005 - 1900;
        input_.localTime.tm_mon = 10;
        input_.localTime.tm_mday = 16;
        input_.localTime.tm_hour = 10;
        input_.localTime.tm_min = 19;
        input_.userName = "alice";
        publisher_.PublishVideoFacts("/v/clip.mpg", 3125, 125.0);
    }

    TempDir dir_;
    ShotList shots_;
    PublishInput input_;
    Publisher publisher_;
};

TEST_F(PublishPagesTest, NothingToPublish) {
    ShotList empty;
    input_.shots = &empty;
    EXPECT_FALSE(PublishPages(publisher_, input_).ran);
    input_.shots = nullptr;
    EXPECT_FALSE(PublishPages(publisher_, input_).ran);
    input_.shots = &shots_;
    publisher_.Options().targetFile.clear();
    EXPECT_FALSE(PublishPages(publisher_, input_).ran);
}

TEST_F(PublishPagesTest, BuiltInPagesIntoAFolderWithAdditionalFiles) {
    WriteFile(dir_ / "extra/readme.txt", "hello");
    publisher_.Options().targetFile = dir_.Path() + "/";
    publisher_.Options().additionalFiles = {dir_ / "extra/readme.txt", dir_ / "missing.txt"};
    publisher_.Options().title = "$(VIDEODURATION) $(CREATIONDATE) $(USERNAME)";
    const PublishOutcome outcome = PublishPages(publisher_, input_);
    EXPECT_TRUE(outcome.ran);
    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(outcome.problems.empty());
    EXPECT_EQ(outcome.firstPagePath, dir_ / "output1.html");
    EXPECT_EQ(outcome.pageToShow, dir_ / "output1.html");
    EXPECT_EQ(ReadFile(dir_ / "readme.txt"), "hello");
    EXPECT_NE(ReadFile(dir_ / "output1.html").find("<h1>02:05 2005/11/16 10:19 alice</h1>"),
              std::string::npos);
}

TEST_F(PublishPagesTest, NoResultShownWhenNotWanted) {
    publisher_.Options().targetFile = dir_ / "index.html";
    publisher_.Options().showResult = false;
    const PublishOutcome outcome = PublishPages(publisher_, input_);
    EXPECT_TRUE(Exists(dir_ / "index.html"));
    EXPECT_TRUE(outcome.pageToShow.empty());
}

TEST_F(PublishPagesTest, WhatCouldNotBeWrittenIsNoSuccess) {
    struct Row {
        const char* target;
        const char* title;
        const char* templateFile;
        std::vector<PublishProblem> problems;
    };
    // A path under a regular file cannot be written, even by root; a folder
    // named like a shot image used to abort the archive half written.
    WriteFile(dir_ / "file", "x");
    WriteFile(dir_ / "t.html", "<html></html>");
    std::filesystem::create_directories(dir_ / "image0002.jpg");
    const PublishProblem partial{Kind::Partial};
    const Row rows[] = {
        {"file/index.html", "", "", {partial}},
        {"file/album.mhtml", "", "", {partial}},
        {"album.mhtml", "", "", {partial}},
        {"index.html", "$(TITLE)", "", {{Kind::ExpansionLimit}, partial}},
        {"index.html", "", "none.html", {partial}},  // a missing template says no more
        {"index.html", "", "t.html", {{Kind::TemplateWithoutShotBlock, dir_ / "t.html"}, partial}},
    };
    for (const Row& row : rows) {
        publisher_.Options().targetFile = dir_ / row.target;
        publisher_.Options().title = row.title;
        publisher_.SetUseTemplate(*row.templateFile != 0);
        publisher_.Options().templateFile = *row.templateFile ? dir_ / row.templateFile : "";
        const PublishOutcome outcome = PublishPages(publisher_, input_);
        EXPECT_FALSE(outcome.complete) << row.target;
        EXPECT_EQ(outcome.problems, row.problems) << row.target;
    }
}

TEST_F(PublishPagesTest, ArchiveWithImagesKeptElsewhere) {
    std::vector<std::string> images;
    for (int i = 1; i <= 3; ++i) {
        images.push_back(dir_ / ("export/shot" + std::to_string(i) + ".jpg"));
        WriteFile(images.back(), std::string(static_cast<size_t>(i), 'a'));
    }
    input_.imageFiles = images;
    publisher_.Options().targetFile = dir_ / "album.mhtml";
    const PublishOutcome outcome = PublishPages(publisher_, input_);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.pageToShow, dir_ / "album.mhtml");
    const std::string archive = ReadFile(dir_ / "album.mhtml");
    EXPECT_NE(archive.find("Content-Id: <image0003.jpg>\r\nContent-Transfer-Encoding: base64\r\n"
                           "Content-Type: image/jpeg; name=\"shot3.jpg\"\r\n\r\nYWFh\r\n"),
              std::string::npos);
    EXPECT_FALSE(Exists(dir_ / "album_0001.mhtml"));
    EXPECT_FALSE(Exists(dir_ / "output1.html"));
}

}  // namespace
}  // namespace trevanto
