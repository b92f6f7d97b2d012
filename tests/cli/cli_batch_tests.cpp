// trevanto-cli batch on a folder of generated clips and broken files: the
// outputs those of `slice`, the failures recorded, resuming after a kill -9,
// shards and their merge, the index of the whole.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <regex>
#include <thread>

#include "cli/batch_child.h"
#include "cli/batch_index.h"
#include "cli/batch_manifest.h"
#include "cli_process.h"
#include "publish/index_page.h"

namespace trevanto {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;

struct Run {
    int status = -1;  // -1: killed
    std::string out;
};

Run RunIn(const std::string& folder, const std::vector<std::string>& arguments,
          const std::string& kill = {}) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!kill.empty())
        environment.insert("TREVANTO_BATCH_TEST_KILL", QString::fromStdString(kill));
    // As in a batch started by a batch's child: each child still tells this
    // batch its video's length, not the file the variable named before.
    environment.insert(cli::kVideoFactsVariable, "/nonexistent/facts");
    process.setProcessEnvironment(environment);
    process.start(TREVANTO_CLI_PATH, list);
    process.waitForFinished(120000);
    const bool exited = process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput().toStdString()};
}

// An archive: clips of several containers, one without an extension, one
// named with spaces and accents, and what fails: a damaged file, a text
// posing as MP4, and an entry that cannot be read even by root (a link to
// nothing; chmod 000 would not stop root).
struct Archive {
    test::TempFolder root;
    std::string input = root / "archive";
    Archive() {
        fs::create_directories(input + "/day 2");
        const std::pair<const char*, const char*> clips[] = {{"clip_mpeg1.mpg", "Été à Zürich.mpg"},
                                                             {"clip_h264.mov", "day 2/b.mov"},
                                                             {"clip_vp9.webm", "day 2/c"},
                                                             {"clip_mpeg2.ts", "d.ts"},
                                                             {"clip_mpeg4.avi", "e.avi"}};
        for (const auto& [clip, name] : clips)
            fs::copy_file(test::MediaPath(clip), input + "/" + name);
        std::string damaged = ReadWholeFile(test::MediaPath("clip_mpeg4.avi"));
        std::fill(damaged.begin() + 400, damaged.end(), '\0');
        std::ofstream(input + "/damaged.avi") << damaged;
        std::ofstream(input + "/notes.mp4") << "not a video\n";
        std::ofstream(input + "/readme.txt") << "left out\n";
        fs::create_symlink(root / "nowhere", input + "/gone.mkv");
    }
};

const std::vector<std::string> kOutputs = {"--save", "--csv", "--edl", "--stats", "--publish"};

std::vector<std::string> Batch(const std::string& input, const std::string& out,
                               std::vector<std::string> more = {}) {
    std::vector<std::string> arguments = {"batch", input, "--out", out, "--quiet"};
    arguments.insert(arguments.end(), kOutputs.begin(), kOutputs.end());
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// Every file under the folder but the manifest, and the manifest's records
// with their times left out.
std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string relative = fs::relative(entry.path(), folder).generic_string();
        if (entry.is_regular_file() && relative != cli::kManifestName)
            tree[relative] = ReadWholeFile(entry.path().string());
    }
    for (auto [input, record] : cli::ReadManifest(folder + "/" + cli::kManifestName)) {
        record.seconds = 0;
        record.finished.clear();
        tree["record " + input] = cli::FormatRecord(record);
    }
    return tree;
}

size_t ManifestLines(const std::string& folder) {
    const std::string text = ReadWholeFile(folder + "/" + cli::kManifestName);
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Batch, SlicesEveryVideoAsSliceWouldAndRecordsTheFailures) {
    Archive archive;
    const std::string out = archive.root / "out";
    EXPECT_EQ(RunIn(archive.root.Path(), Batch("archive", "out")).status, 1);
    const auto records = cli::ReadManifest(out + "/" + cli::kManifestName);
    std::map<std::string, std::string> statuses;
    for (const auto& [input, record] : records) {
        statuses[input] = record.status;
        EXPECT_EQ(record.status == "failed", !record.reason.empty()) << input;
    }
    EXPECT_EQ(statuses, (std::map<std::string, std::string>{{"archive/Été à Zürich.mpg", "done"},
                                                            {"archive/d.ts", "done"},
                                                            {"archive/day 2/b.mov", "done"},
                                                            {"archive/day 2/c", "done"},
                                                            {"archive/damaged.avi", "failed"},
                                                            {"archive/e.avi", "done"},
                                                            {"archive/gone.mkv", "failed"},
                                                            {"archive/notes.mp4", "failed"}}));
    // slice run in a folder of its own with the same outputs names them alike.
    const std::string reference = archive.root / "reference";
    for (const auto& [input, status] : statuses) {
        if (status != "done")
            continue;
        const std::string base = records.at(input).base;
        fs::create_directories(fs::path(reference + "/" + base).parent_path());
        const std::vector<std::string> slice = {
            "slice",     fs::absolute(archive.root / input).string(),
            "--save",    base + ".hpv",
            "--csv",     base + ".csv",
            "--edl",     base + ".edl",
            "--stats",   base + ".stats.csv",
            "--publish", base + "/",
            "--quiet"};
        ASSERT_EQ(RunIn(reference, slice).status, 0) << input;
        EXPECT_EQ(records.at(input).shots, 5) << input;
    }
    auto made = Tree(out);
    made.erase(made.lower_bound("record "), made.end());
    EXPECT_EQ(made, Tree(reference));
}

// Killed at each moment, the batch run again finishes the rest, slices
// nothing twice and leaves what one uninterrupted run leaves.
TEST(Batch, ResumesAfterAKillAtAnyMoment) {
    Archive archive;
    ASSERT_EQ(RunIn(archive.root.Path(), Batch("archive", "whole")).status, 1);
    const auto uninterrupted = Tree(archive.root / "whole");
    const char* const moments[] = {"start:3", "rename:7", "record:2"};
    for (const char* moment : moments) {
        const std::string out = std::string("out-") + moment;
        const auto arguments = Batch("archive", out, {"--jobs", "1"});
        EXPECT_EQ(RunIn(archive.root.Path(), arguments, moment).status, -1) << moment;
        ASSERT_EQ(RunIn(archive.root.Path(), arguments).status, 1) << moment;
        EXPECT_EQ(ManifestLines(archive.root / out), 8u) << moment;  // each input once
        EXPECT_EQ(Tree(archive.root / out), uninterrupted) << moment;
    }
    // A changed input, or changed options, is sliced again; nothing else.
    fs::last_write_time(archive.input + "/d.ts", fs::file_time_type::clock::now());
    EXPECT_EQ(RunIn(archive.root.Path(), Batch("archive", "whole")).status, 1);
    EXPECT_EQ(ManifestLines(archive.root / "whole"), 9u);
    // The number of workers changes no result: nothing is sliced again.
    EXPECT_EQ(RunIn(archive.root.Path(), Batch("archive", "whole", {"--video-jobs", "2"})).status,
              1);
    EXPECT_EQ(ManifestLines(archive.root / "whole"), 9u);
    EXPECT_EQ(RunIn(archive.root.Path(), Batch("archive", "whole", {"--threshold", "30"})).status,
              1);
    EXPECT_EQ(ManifestLines(archive.root / "whole"), 17u);
}

// The relative url of a path as the index writes it.
std::string Url(std::string path) {
    for (size_t at = path.find(' '); at != std::string::npos; at = path.find(' ', at))
        path.replace(at, 1, "%20");
    return path;
}

// The index names every video done with its length and shots, links each to
// its publication, and every file it links to or shows exists.
void ExpectIndexOfEveryVideo(const std::string& folder) {
    const std::string page = ReadWholeFile(folder + "/" + cli::kIndexName);
    for (const auto& [input, record] : cli::ReadManifest(folder + "/" + cli::kManifestName)) {
        const std::string facts =
            "\">" + input + "</a></h2>\n<p>" +
            VideoLengthText({input, "", record.shots, record.frames, record.duration, {}}) +
            " &middot; " + std::to_string(record.shots) + " shots</p>";
        EXPECT_EQ(page.find(facts) != std::string::npos, record.status == "done") << input;
        if (record.status == "done") {
            EXPECT_GT(record.duration, 0) << input;  // the slicing run told it
            EXPECT_NE(page.find(Url(record.base + "/output1.html\"")), std::string::npos);
        }
    }
    const std::regex reference(R"re((href|src)="([^"]*)")re");
    size_t images = 0;
    for (auto match = std::sregex_iterator(page.begin(), page.end(), reference);
         match != std::sregex_iterator(); ++match) {
        std::string path = (*match)[2];
        for (size_t at = path.find("%20"); at != std::string::npos; at = path.find("%20", at))
            path.replace(at, 3, " ");
        EXPECT_TRUE(fs::is_regular_file(folder + "/" + path)) << path;
        images += (*match)[1] == "src";
    }
    EXPECT_EQ(images, 25u);  // 5 videos of 5 shots
}

struct MimePart {
    std::string id;
    std::string type;
    std::string body;
};

// The parts of a web archive, in order.
std::vector<MimePart> MimeParts(const std::string& archive) {
    std::smatch boundary;
    if (!std::regex_search(archive, boundary, std::regex(R"re(boundary="([^"]+)")re")))
        return {};
    std::vector<MimePart> parts;
    const std::string delimiter = "--" + boundary[1].str() + "\r\n";
    for (size_t at = archive.find(delimiter); at != std::string::npos;) {
        const size_t begin = at + delimiter.size();
        at = archive.find(delimiter, begin);
        const size_t end = at != std::string::npos ? at : archive.rfind("--" + boundary[1].str());
        const std::string part = archive.substr(begin, end - begin);
        const size_t body = part.find("\r\n\r\n");
        const std::string head = part.substr(0, body);
        std::smatch id;
        std::smatch type;
        std::regex_search(head, id, std::regex("Content-Id: <([^>]*)>"));
        std::regex_search(head, type, std::regex("Content-Type: ([^;\r]*)"));
        parts.push_back({id[1], type[1], part.substr(body + 4)});
    }
    return parts;
}

// The index as one archive: the page first, then one part per image it
// shows, each image a "cid:" reference to its own part (two videos' own
// image0001.jpg never share one), a JPEG whole; its links lead to the
// publications from the archive's folder.
void ExpectArchiveOfEveryImage(const std::string& archivePath, size_t images) {
    const std::vector<MimePart> parts = MimeParts(ReadWholeFile(archivePath));
    ASSERT_EQ(parts.size(), images + 1);
    EXPECT_EQ(parts[0].type, "text/html");
    std::map<std::string, const MimePart*> byId;
    for (const MimePart& part : parts)
        EXPECT_TRUE(byId.emplace(part.id, &part).second) << "two parts named " << part.id;
    const std::string& page = parts[0].body;
    const std::regex reference(R"re((href|src)="([^"]*)")re");
    size_t shown = 0;
    for (auto match = std::sregex_iterator(page.begin(), page.end(), reference);
         match != std::sregex_iterator(); ++match) {
        const std::string url = (*match)[2];
        if ((*match)[1] == "href") {
            EXPECT_TRUE(fs::is_regular_file(fs::path(archivePath).parent_path() /
                                            std::regex_replace(url, std::regex("%20"), " ")))
                << url;
            continue;
        }
        ++shown;
        ASSERT_EQ(url.rfind("cid:", 0), 0u) << url;
        const auto part = byId.find(url.substr(4));
        ASSERT_NE(part, byId.end()) << url;
        EXPECT_EQ(part->second->type, "image/jpeg");
        const QByteArray jpeg =
            QByteArray::fromBase64(QByteArray::fromStdString(part->second->body));
        EXPECT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9")) << url;
    }
    EXPECT_EQ(shown, images);
}

TEST(Batch, ShardsShareTheInputsAndMergeIntoOneRunsFolder) {
    Archive archive;
    const std::string root = archive.root.Path();
    RunIn(root, Batch("archive", "whole", {"--index"}));
    ExpectIndexOfEveryVideo(root + "/whole");
    // The same index as one archive elsewhere, by a run with nothing left to do.
    RunIn(root, Batch("archive", "whole", {"--index", "away/all.MHTML"}));
    ExpectArchiveOfEveryImage(root + "/away/all.MHTML", 25);
    // A run with nothing left to do makes the same index.
    const std::string index = ReadWholeFile(root + "/whole/" + cli::kIndexName);
    fs::remove(root + "/whole/" + cli::kIndexName);
    RunIn(root, Batch("archive", "whole", {"--index"}));
    EXPECT_EQ(ReadWholeFile(root + "/whole/" + cli::kIndexName), index);
    size_t records = 0;
    for (const char* shard : {"0/3", "1/3", "2/3"}) {
        const std::string out = std::string("shard") + shard[0];
        RunIn(root, Batch("archive", out, {"--shard", shard, "--index"}));
        records += ManifestLines(root + "/" + out);
    }
    EXPECT_EQ(records, 8u);
    EXPECT_EQ(RunIn(root, {"batch", "--merge", "shard0", "shard1", "shard2", "--out", "merged",
                           "--index"})
                  .status,
              1);
    EXPECT_EQ(Tree(root + "/merged"), Tree(root + "/whole"));
}

// A record of an older batch, without the video's length, is still read and
// indexed with the frames; a record with it keeps it.
TEST(Batch, ReadsRecordsWithAndWithoutTheLength) {
    const std::string old =
        R"({"base":"v","finished":"2026-12-01T10:00:00Z","frames":250,"input":"v.mpg",)"
        R"("mtime_ns":"1","options":"0","seconds":1.5,"shots":3,"size":9,"status":"done"})";
    std::string now = old;
    now.replace(now.find("\"finished\""), 0, "\"duration\":10.04,");
    const struct {
        const std::string& line;
        double duration;
        const char* indexed;
    } rows[] = {{old, 0, "<p>250 frames &middot; 3 shots</p>"},
                {now, 10.04, "<p>0:10 &middot; 3 shots</p>"}};
    for (const auto& [line, duration, indexed] : rows) {
        cli::ManifestRecord record;
        ASSERT_TRUE(cli::ParseRecord(line, record)) << line;
        EXPECT_EQ(record.duration, duration);
        EXPECT_EQ(cli::FormatRecord(record), line);
        test::TempFolder folder;
        fs::create_directories(folder / "old");
        std::ofstream(folder / "old/trevanto-batch.jsonl") << line << '\n';
        test::RunCli({"batch", "--merge", folder / "old", "--out", folder / "new", "--index"});
        EXPECT_NE(ReadWholeFile(folder / "new/index.html").find(indexed), std::string::npos)
            << line;
    }
}

// A list names inputs relative to its own folder; one that is gone is recorded.
TEST(Batch, ListsNameInputsRelativeToTheirFolder) {
    test::TempFolder folder;
    fs::create_directories(folder / "lists");
    fs::copy_file(test::MediaPath("clip_mpeg1.mpg"), folder / "a.mpg");
    std::ofstream(folder / "lists/videos.txt") << "# the archive\n../a.mpg\r\n\n../gone.mp4\n";
    EXPECT_EQ(
        test::RunCli({"batch", "@" + folder / "lists/videos.txt", "--out", folder / "o"}).status,
        1);
    const auto records = cli::ReadManifest(folder / (std::string("o/") + cli::kManifestName));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.at("a.mpg").status, "done");
    EXPECT_EQ(records.at("gone.mp4").status, "failed");
}

// A video past --time-limit is stopped and recorded; the batch goes on.
TEST(Batch, StopsAVideoPastItsTimeLimit) {
    test::TempFolder folder;
    const auto run = test::RunCli({"batch", test::MediaPath("clip_mpeg1.mpg"), "--out",
                                   folder / "o", "--time-limit", "0.001", "--quiet"});
    EXPECT_EQ(run.status, 1);
    const auto records = cli::ReadManifest(folder / (std::string("o/") + cli::kManifestName));
    EXPECT_EQ(records.at("clip_mpeg1.mpg").reason, "stopped after the time limit of 0.001 s");
}

TEST(Batch, RefusesBadArguments) {
    const char* const rows[][3] = {{"--shard", "3/3", "K/N"},
                                   {"--jobs", "0", "--jobs"},
                                   {"--threshold", "-1", "--threshold"},
                                   {"--progress", "loud", "--progress"}};
    test::TempFolder folder;
    for (const auto& [option, value, named] : rows) {
        const auto run =
            test::RunCli({"batch", folder.Path(), "--out", folder / "o", option, value});
        EXPECT_EQ(run.status, 2) << option;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
    EXPECT_EQ(test::RunCli({"batch", folder / "missing", "--out", folder / "o"}).status, 2);
}

// A child runs the slice command in a fork of the batch, unless the batch
// has another thread, whose locks a fork could copy held: then it runs the
// program anew. Either way the variable names the child's facts file.
TEST(Batch, AChildIsAForkUnlessTheBatchHasThreads) {
    const test::TempFolder folder;
    const cli::ChildEntry entry = [](const std::vector<std::string>& arguments) {
        std::cout << "forked " << arguments.at(0) << ' ' << std::getenv(cli::kVideoFactsVariable);
        return 3;
    };
    const auto runChild = [&](const std::string& name) {
        cli::ChildProcess child =
            cli::StartChild(TREVANTO_CLI_PATH, {"--version"}, folder.Path(), folder / name,
                            folder / (name + ".err"), folder / "facts", entry);
        int status = -1;
        EXPECT_TRUE(child.Started());
        EXPECT_TRUE(cli::AwaitChildEnd({&child}, 60000));
        ::waitpid(child.Pid(), &status, 0);
        return std::pair(WEXITSTATUS(status), ReadWholeFile(folder / name));
    };
    EXPECT_EQ(runChild("alone"), std::pair(3, "forked --version " + (folder / "facts")));
    std::promise<void> done;
    std::thread other([ended = done.get_future()] { ended.wait(); });
    const auto threaded = runChild("threaded");
    done.set_value();
    other.join();
    EXPECT_EQ(threaded.first, 0);
    EXPECT_EQ(threaded.second.rfind("trevanto-cli ", 0), 0u) << threaded.second;
}

}  // namespace
}  // namespace trevanto

