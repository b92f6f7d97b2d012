// trevanto-cli run as a program on the generated clips: shot lists, shots
// files saved and loaded, JPEG images, publications, exit statuses.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <sys/stat.h>

#include <QImage>

#include "app/messages/document_messages.h"
#include "app/messages/settings_messages.h"
#include "app/messages/shots_file_messages.h"
#include "cli/cli_ports.h"
#include "cli_process.h"
#include "export/jpeg_decode.h"
#include "support/full_disk.h"

namespace trevanto {
namespace {

using test::ReadWholeFile;
using test::RunCli;

const std::string kMpeg1 = test::MediaPath("clip_mpeg1.mpg");  // 320 x 240, 200 frames
const std::string kMpeg2 = test::MediaPath("clip_mpeg2.mpg");  // 150 frames, cuts 30, 70, 110
const char* const kMpeg1Shots =
    "1\t0\t39\tshot 0001 ( 0 - 39 )\n"
    "2\t40\t84\tshot 0002 ( 40 - 84 )\n"
    "3\t85\t124\tshot 0003 ( 85 - 124 )\n"
    "4\t125\t164\tshot 0004 ( 125 - 164 )\n"
    "5\t165\t199\tshot 0005 ( 165 - 199 )\n";
std::string Image(int index) {
    return "image000" + std::to_string(index) + ".jpg";
}

// The progress line counts from the run's first frame, not from frame 0.
TEST(Cli, ProgressIsTheShareOfTheRunsFramesDone) {
    const int rows[][4] = {{0, 0, 99, 1},        {49, 0, 99, 50},  {149, 100, 199, 50},
                           {199, 100, 199, 100}, {5, 100, 199, 0}, {7, 7, 7, 100}};
    for (const auto& [frame, first, last, percent] : rows)
        EXPECT_EQ(cli::SlicedPercent(frame, first, last), percent) << frame << " of " << first;
}

TEST(Cli, SliceListsOneLinePerShot) {
    const auto engine = RunCli({"slice", kMpeg2});
    EXPECT_EQ(engine.status, 0);
    EXPECT_EQ(engine.err, "");  // not a terminal: no progress line
    EXPECT_EQ(engine.out,
              "1\t0\t29\tshot 0001 ( 0 - 29 )\n2\t30\t69\tshot 0002 ( 30 - 69 )\n"
              "3\t70\t109\tshot 0003 ( 70 - 109 )\n4\t110\t149\tshot 0004 ( 110 - 149 )\n");
    // The sampler from a start mark (from frame 0: tests/shots, tests/app): frames
    // between its cuts are left out, never the one past the end mark.
    EXPECT_EQ(RunCli({"slice", kMpeg2, "--sampler", "frames", "40", "--start", "10", "--end", "100",
                      "--quiet"})
                  .out,
              "1\t10\t49\tshot 0001 ( 10 - 49 )\n2\t50\t89\tshot 0002 ( 50 - 89 )\n"
              "3\t90\t100\tshot 0003 ( 90 - 100 )\n");
    const auto marked = RunCli({"slice", kMpeg2, "--engine", "--threshold", "15", "--start", "40",
                                "--end", "100", "--timecodes"});
    EXPECT_TRUE(std::regex_match(marked.out,
                                 std::regex("1\t40\t69\t00:00:01:0600 - 00:00:02:07\\d\\d\n"
                                            "2\t70\t100\t00:00:02:0\\d\\d\\d - 00:00:04:0000\n")))
        << marked.out;
    // The link "Create a videolink" makes for shots 2 to 3, after the shots.
    const auto link = RunCli({"slice", kMpeg2, "--video-link", "2-3", "--asx-url", "http://s/a.asp",
                              "--video-url", "http://v/a b&c.mpg"});
    EXPECT_EQ(link.out.substr(link.out.find("\nh") + 1),
              "http://s/a.asp?startAt=00%3A00%3A01%2E0199&endAt=00%3A00%3A04%2E0360"
              "&media=http%3A%2F%2Fv%2Fa+b%26c%2Empg\n");
    const auto local = RunCli({"slice", kMpeg2, "--video-link", "1", "--asx-url", "s"});
    EXPECT_EQ(std::pair(local.status, local.err),
              std::pair(1, std::string("trevanto-cli: Unexpected empty video url.\n")));
    EXPECT_EQ(RunCli({"--version"}).out, "trevanto-cli 2.1\n");  // the About box's version
    EXPECT_EQ(RunCli({"help", "slice"}).out, RunCli({"slice", "--help"}).out);
    EXPECT_EQ(RunCli({"help", "load"}).out.rfind("usage: trevanto-cli load FILE.hpv", 0), 0u);
}

// Statistics of a run cut again without the video give the shots of a run
// at that threshold.
TEST(Cli, StatisticsCutAgainLikeARun) {
    const test::TempFolder folder;
    const std::string stats = folder.File("s.csv");
    const auto sliced = RunCli({"slice", kMpeg2, "--stats", stats});
    ASSERT_EQ(sliced.status, 0) << sliced.err;
    EXPECT_EQ(ReadWholeFile(stats).substr(0, 41), "frame,timecode,score,cut\n0,00:00:00:0000,");
    EXPECT_EQ(RunCli({"slice", "--from-stats", stats}).out, sliced.out);
    const auto low = RunCli({"slice", kMpeg2, "--threshold", "0.3"});
    EXPECT_EQ(RunCli({"slice", "--from-stats", stats, "--threshold", "0.3"}).out, low.out);
    EXPECT_GT(low.out.size(), sliced.out.size());
    // The content detector's statistics name it and cut again by its rule,
    // at its sensitivity.
    const std::string hard = test::MediaPath("clip_hard_cases.mpg");
    const std::string content = folder.File("c.csv");
    const auto found = RunCli({"slice", hard, "--detector", "content", "--stats", content});
    EXPECT_EQ(ReadWholeFile(content).substr(0, 34), "frame,timecode,content score,cut\n0");
    EXPECT_EQ(RunCli({"slice", "--from-stats", content}).out, found.out);
    EXPECT_EQ(RunCli({"slice", "--from-stats", content, "--sensitivity", "95"}).out,
              RunCli({"slice", hard, "--detector", "content", "--sensitivity", "95"}).out);
}

// Any number of workers writes the same outputs, byte for byte.
TEST(Cli, EveryWorkerCountWritesTheSameFiles) {
    const test::TempFolder folder;
    std::vector<std::string> runs;
    for (const std::string jobs : {"1", "3"}) {
        const auto run = RunCli({"slice", kMpeg1, "--jobs", jobs, "--start", "20", "--save",
                                 folder / (jobs + ".hpv"), "--csv", folder / (jobs + ".csv"),
                                 "--stats", folder / (jobs + "s.csv")});
        ASSERT_EQ(run.status, 0) << run.err;
        runs.push_back(run.out + ReadWholeFile(folder / (jobs + ".hpv")) +
                       ReadWholeFile(folder / (jobs + ".csv")) +
                       ReadWholeFile(folder / (jobs + "s.csv")));
    }
    EXPECT_EQ(runs[0], runs[1]);
}

// --edl and --csv write the run's shot lists (their formats, drop-frame
// counting and quoting: tests/export shot_list_export_test): shots from 0,
// 40, 85, 125 and 165 of 200 frames at 25 per second.
TEST(Cli, ShotListsForEditors) {
    const test::TempFolder folder;
    const auto sliced =
        RunCli({"slice", kMpeg1, "--edl", folder.File("a.edl"), "--csv", folder.File("a.csv")});
    ASSERT_EQ(sliced.status, 0) << sliced.err;
    const std::string edl = ReadWholeFile(folder.File("a.edl"));
    EXPECT_EQ(edl.rfind("TITLE: clip_mpeg1\nFCM: NON-DROP FRAME\n\n001  AX       V     C        "
                        "00:00:00:00 00:00:01:15 01:00:00:00 01:00:01:15\n",
                        0),
              0u)
        << edl;
    const std::string csv = ReadWholeFile(folder.File("a.csv"));
    EXPECT_NE(csv.find("\r\n2,40,84,00:00:01:15,00:00:03:09,45,\"shot 0002 ( 40 - 84 )\"\r\n"),
              csv.npos);
}

TEST(Cli, BadArgumentsExitWithTwoAndFailuresWithOne) {
    const test::TempFolder folder;
    std::ofstream(folder.File("x.hpv")) << "not a shots file\n";
    std::ofstream(folder.File("holiday.MOV")) << "not a film\n";  // does not decode
    std::ofstream(folder.File("gone.hpv"))
        << "Trevanto (c) 2004 Qelvar\r\n\r\n" + folder.File("gone.mpg") + "\r\nshot 1=0,0,9\r\n";
    const std::tuple<int, std::vector<std::string>, std::string> rows[] = {
        {2, {}, ""},
        {2, {"slice"}, "no video given"},
        {2, {"slice", kMpeg2, kMpeg2}, "more than one video given"},
        {2, {"slice", kMpeg2, "--frobnicate"}, "unknown option --frobnicate"},
        {2, {"slice", kMpeg2, "--sampler", "often", "3"}, ""},
        {2, {"slice", kMpeg2, "--sampler", "frames"}, "option --sampler needs"},
        {2, {"slice", kMpeg2, "--sampler", "frames", "1e20"}, "the sampler needs a number"},
        {2, {"slice", kMpeg2, "--sampler", "frames", "9999999999"}, message::kValueTooLarge},
        {2, {"slice", kMpeg2, "--sampler", "shots", "0.5"}, message::kNegativeValue},
        {2, {"slice", kMpeg2, "--sampler", "frames", "40", "--threshold", "20"}, ""},
        {2, {"slice", kMpeg2, "--threshold", "nan"}, ""},
        {2, {"slice", kMpeg2, "--threshold", "0"}, "--threshold needs a number above 0"},
        {2, {"slice", kMpeg2, "--detector", "colour"}, "--detector is spread or content"},
        {2, {"slice", kMpeg2, "--detector", "content", "--sensitivity", "100"}, "above 0 and"},
        {2, {"slice", kMpeg2, "--sensitivity", "40"}, "--sensitivity needs --detector content"},
        {2, {"slice", kMpeg2, "--detector", "content", "--threshold", "9"}, "takes --sensitivity"},
        {2, {"slice", kMpeg2, "--video-link", "3-2"}, "--video-link needs a shot number"},
        {2, {"slice", kMpeg2, "--start", "12x"}, "--start needs a frame number"},
        {2, {"slice", kMpeg2, "--entry", "0"}, "--entry needs a stream number"},
        {2, {"slice", kMpeg2, "--timeout", "0"}, "--timeout needs seconds"},
        {2, {"slice", kMpeg2, "--start", "99999999999"}, ""},
        {2, {"slice", kMpeg2, "--start", "50", "--end", "10"}, "--end lies before --start"},
        {2, {"slice", kMpeg2, "--end", "150"}, ""},  // past the last frame
        {2, {"slice", kMpeg2, "--shot-size", "0x80"}, "--shot-size needs WIDTHxHEIGHT"},
        {2, {"slice", kMpeg2, "--edge", "-1"}, ""},
        {2, {"slice", kMpeg2, "--title", "a", "--title", "b"}, ""},
        {2, {"slice", kMpeg2, "--frames", "9-3"}, "--frames needs A-B"},
        {2, {"slice", "--from-stats", "a.csv", "--start", "3"}, "cannot go with --start"},
        {2, {"slice", kMpeg2, "--sampler", "frames", "40", "--stats", "a.csv"}, "needs the shot"},
        {2, {"slice", kMpeg2, "--jobs", "0"}, "--jobs needs a number of workers from 1"},
        {1, {"slice", "--from-stats", folder.File("x.hpv")}, "x.hpv: line 1: the header is not"},
        {2, {"load"}, ""},
        {2, {"load", "a.hpv", "--sampler", "frames", "40"}, ""},
        {2, {"load", "a.hpv", "--shot-size", "100"}, "--shot-size needs WIDTHxHEIGHT"},
        {1, {"slice", "--", folder.File("missing.mpg")}, "The video file cannot be found."},
        {1, {"slice", folder.File("holiday.MOV")}, "Apple Quicktime format is not supported."},
        {1, {"slice", kMpeg2, "--template", folder.File("none.bmp")}, "cannot load"},
        {1, {"load", folder.File("x.hpv")}, "trevanto-cli: Not a Shot file. Sorry !\n"},
        {1, {"load", folder.File("none.hpv")}, "trevanto-cli: Shot File error!\n"},
        {1, {"load", folder.File("gone.hpv")}, ""},  // the video named in it is gone
    };
    for (const auto& [status, arguments, error] : rows) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, status) << error;
        EXPECT_EQ(result.out, "") << error;
        EXPECT_FALSE(result.err.empty());
        EXPECT_NE(result.err.find(error), std::string::npos) << result.err;
    }
}

// Whatever names it, a protocol prefix or a pipe ends the run at once with
// the reason, a picture or a file without its end too; a FIFO waits behind
// each name, and a run still going after 20 s is a hang. (Every prefix the
// graph refuses: tests/video graph_guarded_input_test.)
TEST(Cli, VideosThatCannotBeSlicedAreRefusedAtOnceWithTheirReason) {
    const test::TempFolder folder;
    const std::string fifo = folder.File("stream.mpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32)
                    .save(QString::fromStdString(folder.File("picture.mpg")), "PNG"));
    const std::string asf = ReadWholeFile(test::MediaPath("clip_wmv2.asf"));
    std::ofstream(folder.File("cut.asf"), std::ios::binary) << asf.substr(0, asf.size() / 2);
    const std::string refused = OpenFailureMessage(OpenFailure::RefusedUrl);
    const std::pair<std::string, std::string> videos[] = {
        {"concat:" + fifo, refused},
        {"pipe:0", refused},
        {fifo, OpenFailureMessage(OpenFailure::NotAFile)},
        {folder.File("picture.mpg"), OpenFailureMessage(OpenFailure::Picture)},
        {folder.File("cut.asf"), message::kLengthUnknown},
    };
    for (const auto& [video, reason] : videos) {
        const auto sliced = RunCli({"slice", "--quiet", video}, 20000);
        EXPECT_EQ(sliced.status, 1) << video;
        EXPECT_EQ(sliced.err, "trevanto-cli: " + reason + "\n") << video;
        if (reason == message::kLengthUnknown)
            continue;  // a shots file of it loads: only slicing needs the length
        // A shots file names the video on its third line.
        const std::string shots = folder.File("s.hpv");
        std::ofstream(shots, std::ios::binary)
            << "Trevanto (c) 2004 Qelvar\r\n\r\n" + video + "\r\nshot 1=0,0,9\r\n";
        const auto loaded = RunCli({"load", "--quiet", shots}, 20000);
        EXPECT_EQ(loaded.status, 1) << video;
        EXPECT_EQ(loaded.err, "trevanto-cli: " + reason + "\n") << video;
    }
}

// A file of `size` bytes that takes no disk space.
std::string SparseFile(const std::string& path, int64_t size) {
    std::ofstream{path};
    std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
    return path;
}

TEST(Cli, FilesBeyondTheirBoundsAreRefusedNamingTheBound) {
    const test::TempFolder folder;
    constexpr int64_t kHuge = int64_t{64} << 30;  // each of these once took all memory
    std::string many = "Trevanto (c) 2004 Qelvar\r\n\r\n" + kMpeg1 + "\r\n";
    for (int i = 0; i <= 100'000; ++i)
        many += "shot 1=0,0,9\r\n";
    std::ofstream(folder.File("many.hpv")) << many;
    std::ofstream(folder.File("linking.html"))
        << "<img src=\"big.png\">$(BEGINSHOT)<img src=\"$(IMAGEFILE)\">$(ENDSHOT)";
    SparseFile(folder.File("big.png"), int64_t{33} << 20);
    // The line-based shots file cannot name this video.
    const std::string broken = folder.File("two\nlines.mpg");
    std::filesystem::create_symlink(kMpeg1, broken);
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"load", SparseFile(folder.File("huge.hpv"), kHuge)},
         "Shot File error! " + folder.File("huge.hpv") +
             " is larger than 16 MB, more than a shots file can be."},
        {{"load", folder.File("many.hpv")},
         "Shot File error! " + folder.File("many.hpv") +
             " holds more than 100000 shots, more than Trevanto loads from one shots file."},
        {{"slice", "--from-stats", SparseFile(folder.File("huge.csv"), int64_t{257} << 20)},
         folder.File("huge.csv") + " is larger than 256 MB, more than a statistics file can be"},
        {{"slice", SparseFile(folder.File("huge.asx"), kHuge)},
         "The asx stream script is larger than 1 MB. Cannot proceed."},
        {{"slice", kMpeg1, "--publish", folder.File("site/index.html"), "--page-template",
          SparseFile(folder.File("huge.html"), kHuge)},
         "The template file (" + folder.File("huge.html") + ") is larger than 4 MB"},
        {{"slice", kMpeg1, "--publish", folder.File("site.mhtml"), "--page-template",
          folder.File("linking.html")},
         "The file " + folder.File("big.png") +
             " is larger than 32 MB, more than a web archive takes in: it was left out of the "
             "archive."},
        {{"slice", broken, "--save", folder.File("broken.hpv")},
         "The path of this video has a line break, which a shots file cannot hold."},
    };
    for (const auto& [arguments, error] : rows) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, 1) << error;
        EXPECT_NE(result.err.find(error), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("broken.hpv")));
}

TEST(Cli, AFullDiskKeepsTheOldFilesAndSaysSo) {
    const test::FullDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Reason();
    const std::string old = "Trevanto (c) 2004 Qelvar\r\n\r\n/v.mpg\r\nshot 1=0,0,9\r\n";
    std::ofstream(disk / "shots.hpv") << old;
    std::ofstream(disk / "shots.csv") << "old list";
    disk.Fill();
    const auto saved =
        RunCli({"slice", kMpeg1, "--sampler", "frames", "1", "--save", disk / "shots.hpv"});
    EXPECT_EQ(saved.status, 1);
    EXPECT_EQ(saved.err, "trevanto-cli: Please choose another filepath.\n");
    EXPECT_EQ(ReadWholeFile(disk / "shots.hpv"), old);
    const auto listed =
        RunCli({"slice", kMpeg1, "--sampler", "frames", "1", "--csv", disk / "shots.csv"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(ReadWholeFile(disk / "shots.csv"), "old list");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk / ""), {}), 3);
}

TEST(Cli, SavedShotsLoadBackTheSameAndMakeJpegImages) {
    const test::TempFolder folder;
    const auto sliced = RunCli(
        {"slice", kMpeg1, "--save", folder.File("a.hpv"), "--jpeg", "--target", folder.Path()});
    ASSERT_EQ(sliced.status, 0) << sliced.err;
    EXPECT_EQ(sliced.out, kMpeg1Shots);
    EXPECT_EQ(sliced.err, "trevanto-cli: 5 JPEG images have been saved to disk.\n");
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(testing::DecodeJpeg(folder.File(Image(i))).size(), QSize(100, 80));
    const std::string saved = ReadWholeFile(folder.File("a.hpv"));
    EXPECT_EQ(saved.rfind("Trevanto (c) 2004 Qelvar\r\n\r\n" + kMpeg1 + "\r\nshot 1=0,0,39\r\n", 0),
              0u);

    // A folder of its own for the load, which numbers from 1 again.
    std::filesystem::create_directory(folder.File("big"));
    const auto loaded =
        RunCli({"load", folder.File("a.hpv"), "--save", folder.File("b.hpv"), "--jpeg", "--target",
                folder.File("big/page.html"), "--shot-size", "150x90", "--stretch", "--quiet"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.out, kMpeg1Shots);
    EXPECT_EQ(ReadWholeFile(folder.File("b.hpv")), saved);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(testing::DecodeJpeg(folder.File("big/" + Image(i))).size(), QSize(150, 90));
    EXPECT_FALSE(std::filesystem::exists(folder.File("big/" + Image(6))));
}

// Number pictures take the user's separators, as in the desktop program,
// while the numbers of the options are still read with a point.
TEST(Cli, NumberPicturesFollowTheUsersLocale) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the German locale is made by scripts/install-deps";
    std::setlocale(LC_NUMERIC, "C");
    const test::TempFolder folder;
    const std::string page = folder.File("site/index.html");
    const auto result = RunCli({"slice", kMpeg1, "--threshold", "15.5", "--publish", page,
                                "--title", "W $(SHOTWIDTH,\"0,00\")"},
                               -1, "de_DE.UTF-8");
    ASSERT_EQ(result.status, 0) << result.err;
    // In German the comma is the decimal separator and the point groups.
    EXPECT_NE(ReadWholeFile(page).find("<h1>W 100,00</h1>"), std::string::npos)
        << ReadWholeFile(page);
}

TEST(Cli, PublishedPagesReferOnlyToWrittenFiles) {
    const test::TempFolder folder;
    const std::string page = folder.File("site/index.html");
    const auto result = RunCli({"slice", kMpeg1, "--engine", "--publish", page, "--per-row", "2",
                                "--page-kb", "1", "--title", "Clip $(VIDEONAME)", "--add-file",
                                folder.File("none.txt")});  // a missing file is left out
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, std::string(kMpeg1Shots) + page + "\n");  // the first page, last
    int pages = 0;
    const auto sources = test::ImageSourcesIn(folder.File("site"), pages);
    EXPECT_GT(pages, 1);  // a 1 KB budget spreads the shots over pages
    for (const std::string& source : sources)
        EXPECT_EQ(testing::DecodeJpeg(folder.File("site/" + source)).size(), QSize(100, 80));
    EXPECT_EQ(std::set<std::string>(sources.begin(), sources.end()),
              (std::set<std::string>{Image(1), Image(2), Image(3), Image(4), Image(5)}));
    EXPECT_NE(ReadWholeFile(page).find("Clip clip_mpeg1.mpg"), std::string::npos);

    const auto deep = RunCli({"slice", kMpeg1, "--publish", folder.File("a/b/index.html")});
    EXPECT_EQ(deep.status, 1);
    EXPECT_EQ(deep.out, kMpeg1Shots);
    EXPECT_EQ(deep.err, "trevanto-cli: Sorry, can't create directory: " + folder.File("a/b") +
                            ". Access denied.\n");

    // An additional file named like a shot image is refused before anything is written.
    std::filesystem::create_directories(folder.File("mine"));
    std::ofstream(folder.File("mine/image0001.jpg")) << "my own picture";
    const auto clash = RunCli({"slice", kMpeg1, "--publish", folder.File("clash/index.html"),
                               "--add-file", folder.File("mine/image0001.jpg")});
    EXPECT_EQ(clash.status, 1);
    EXPECT_EQ(clash.err, "trevanto-cli: The additional file " + folder.File("mine/image0001.jpg") +
                             " would replace a file of the same name in the publication. Please "
                             "rename it or take it out of the additional files.\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("clash")));
}

}  // namespace
}  // namespace trevanto
