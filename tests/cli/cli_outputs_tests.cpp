// trevanto-cli's outputs as a program: shots files saved and loaded, JPEG
// images, and publications whose references all resolve.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_process.h"
#include "export/jpeg_decode.h"
#include "publication_check.h"

namespace trevanto {
namespace {

using test::RunCli;

std::string Mpeg1() {
    return test::MediaPath("clip_mpeg1.mpg");  // 320 x 240, 200 frames, 5 shots
}

const char* const kMpeg1Shots =
    "1\t0\t39\tshot 0001 ( 0 - 39 )\n"
    "2\t40\t84\tshot 0002 ( 40 - 84 )\n"
    "3\t85\t124\tshot 0003 ( 85 - 124 )\n"
    "4\t125\t164\tshot 0004 ( 125 - 164 )\n"
    "5\t165\t199\tshot 0005 ( 165 - 199 )\n";

TEST(CliOutputs, SavedShotsLoadBackTheSame) {
    const test::TempFolder folder;
    const auto sliced = RunCli({"slice", Mpeg1(), "--save", folder.File("a.hpv"), "--quiet"});
    ASSERT_EQ(sliced.status, 0) << sliced.err;
    EXPECT_EQ(sliced.out, kMpeg1Shots);
    const std::string saved = test::ReadWholeFile(folder.File("a.hpv"));
    EXPECT_EQ(
        saved.rfind("Trevanto (c) 2004 Qelvar\r\n\r\n" + Mpeg1() + "\r\nshot 1=0,0,39\r\n", 0), 0u)
        << saved;

    const auto loaded =
        RunCli({"load", folder.File("a.hpv"), "--save", folder.File("b.hpv"), "--quiet"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.out, kMpeg1Shots);
    EXPECT_EQ(loaded.err, "trevanto-cli: 5 shots extracted from the shots file.\n");
    EXPECT_EQ(test::ReadWholeFile(folder.File("b.hpv")), saved);
}

TEST(CliOutputs, LoadReportsFilesItCannotUse) {
    const test::TempFolder folder;
    { std::ofstream(folder.File("x.hpv")) << "not a shots file\n"; }
    const auto other = RunCli({"load", folder.File("x.hpv")});
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.err, "trevanto-cli: Not a Shot file. Sorry !\n");
    const auto missing = RunCli({"load", folder.File("none.hpv")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "trevanto-cli: Shot File error!\n");
    {
        std::ofstream(folder.File("gone.hpv")) << "Trevanto (c) 2004 Qelvar\r\n\r\n"
                                               << folder.File("gone.mpg") << "\r\nshot 1=0,0,9\r\n";
    }
    const auto noVideo = RunCli({"load", folder.File("gone.hpv")});
    EXPECT_EQ(noVideo.status, 1);
    EXPECT_EQ(noVideo.out, "");
}

TEST(CliOutputs, JpegImagesAtTheShotSizeWhenStretched) {
    const test::TempFolder folder;
    const auto plain = RunCli({"slice", Mpeg1(), "--jpeg", "--target", folder.Path()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err, "trevanto-cli: 5 JPEG images have been saved to disk.\n");
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(testing::DecodeJpeg(folder.File("image000" + std::to_string(i) + ".jpg")).size(),
                  QSize(100, 80));
    }
    // A folder of its own for the load, which numbers from 1 again.
    std::filesystem::create_directory(folder.File("big"));
    const auto saved = RunCli({"slice", Mpeg1(), "--save", folder.File("a.hpv")});
    ASSERT_EQ(saved.status, 0);
    const auto stretched =
        RunCli({"load", folder.File("a.hpv"), "--jpeg", "--target", folder.File("big/page.html"),
                "--shot-size", "150x90", "--stretch"});
    ASSERT_EQ(stretched.status, 0) << stretched.err;
    EXPECT_EQ(stretched.out, kMpeg1Shots);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(
            testing::DecodeJpeg(folder.File("big/image000" + std::to_string(i) + ".jpg")).size(),
            QSize(150, 90));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("big/image0006.jpg")));
}

TEST(CliOutputs, PublishedPagesReferOnlyToWrittenFiles) {
    const test::TempFolder folder;
    const std::string page = folder.File("site/index.html");
    const auto result = RunCli({"slice", Mpeg1(), "--engine", "--publish", page, "--per-row", "2",
                                "--page-kb", "1", "--title", "Clip $(VIDEONAME)"});
    ASSERT_EQ(result.status, 0) << result.err;
    // The first page's path comes last, after the shots.
    EXPECT_EQ(result.out, std::string(kMpeg1Shots) + page + "\n");
    const auto pages = test::PagesIn(folder.File("site"));
    ASSERT_GT(pages.size(), 1u);  // a 1 KB budget spreads the shots over pages
    std::set<std::string> shown;
    for (const std::string& file : pages) {
        for (const std::string& source : test::ImageSources(test::ReadWholeFile(file))) {
            EXPECT_TRUE(std::filesystem::exists(folder.File("site/" + source)))
                << source << " in " << file;
            shown.insert(source);
        }
    }
    EXPECT_EQ(shown, (std::set<std::string>{"image0001.jpg", "image0002.jpg", "image0003.jpg",
                                            "image0004.jpg", "image0005.jpg"}));
    for (const std::string& image : shown)
        EXPECT_EQ(testing::DecodeJpeg(folder.File("site/" + image)).size(), QSize(100, 80));
    EXPECT_NE(test::ReadWholeFile(page).find("Clip clip_mpeg1.mpg"), std::string::npos);
}

TEST(CliOutputs, PublishedArchiveHoldsEveryReferencedPart) {
    const test::TempFolder folder;
    const std::string archivePath = folder.File("album.mhtml");
    { std::ofstream(folder.File("notes.txt")) << "notes"; }
    const auto result = RunCli({"slice", Mpeg1(), "--publish", archivePath, "--add-file",
                                folder.File("notes.txt"), "--add-file", folder.File("none.txt"),
                                "--shot-size", "160x120", "--stretch", "--quiet"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, std::string(kMpeg1Shots) + archivePath + "\n");
    // The archive holds every image.
    const std::string archive = test::ReadWholeFile(archivePath);
    for (const char* part : {"image0001.jpg", "image0005.jpg"})
        EXPECT_NE(archive.find(part), std::string::npos) << part;
    EXPECT_TRUE(std::filesystem::exists(folder.File("image0005.jpg")));
    EXPECT_EQ(test::ReadWholeFile(folder.File("notes.txt")), "notes");
}

TEST(CliOutputs, PublishingFailuresAndBadOptions) {
    const test::TempFolder folder;
    const auto deep = RunCli({"slice", Mpeg1(), "--publish", folder.File("a/b/index.html")});
    EXPECT_EQ(deep.status, 1);
    EXPECT_EQ(deep.out, kMpeg1Shots);
    EXPECT_EQ(deep.err, "trevanto-cli: Sorry, can't create directory: " + folder.File("a/b") +
                            ". Access denied.\n");
    const auto noTemplate = RunCli({"slice", Mpeg1(), "--publish", folder.File("t/index.html"),
                                    "--page-template", folder.File("none.html")});
    EXPECT_EQ(noTemplate.status, 1);
    EXPECT_NE(noTemplate.err.find("Error while publishing to the web : Only a fraction of the "
                                  "content has been published."),
              std::string::npos)
        << noTemplate.err;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"slice", Mpeg1(), "--shot-size", "0x80"},
          {"slice", Mpeg1(), "--shot-size", "150"},
          {"slice", Mpeg1(), "--per-row", "0"},
          {"slice", Mpeg1(), "--edge", "-1"},
          {"slice", Mpeg1(), "--title", "a", "--title", "b"},
          {"load"},
          {"load", "a.hpv", "b.hpv"},
          {"load", "a.hpv", "--sampler", "frames", "40"}}) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace trevanto
