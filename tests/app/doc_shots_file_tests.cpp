// Saving and loading shots files through the document, on a generated clip.
#include <cstdlib>
#include <fstream>

#include "export/shots_file.h"
#include "export_session.h"

namespace trevanto {
namespace {

using test::ExportSession;
using Ranges = std::vector<std::pair<int32_t, int32_t>>;

const test::TestClip& Mpeg1Clip() {
    return *test::FindTestClip("clip_mpeg1.mpg");  // 320 x 240, 200 frames
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A shots file of the MPEG-1 clip with the given records, CR LF lines.
std::string Mpeg1ShotsFile(const std::string& records) {
    return "Trevanto (c) 2004 Qelvar\r\n\r\n" + test::MediaPath(Mpeg1Clip()) + "\r\n" + records;
}

// Largest difference of any colour channel of two pictures of the same size.
int MaxDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 256;
    int most = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return most;
}

TEST(ShotsFileThroughDocument, RoundTripRebuildsEveryShotWithItsPicture) {
    const test::TempFolder folder;
    const std::string file = folder.File("clip.hpv");
    ExportSession sliced;
    ASSERT_TRUE(sliced.OpenAndSlice(Mpeg1Clip()));
    const Ranges ranges = sliced.Ranges();
    ASSERT_EQ(ranges.size(), 5u);
    EXPECT_TRUE(sliced.doc.ShotsModified());
    sliced.dialogUser.answer = file;
    ASSERT_TRUE(sliced.doc.ShotsFile().SaveShots());
    EXPECT_FALSE(sliced.doc.ShotsModified());
    EXPECT_EQ(sliced.dialogUser.dialogs,
              std::vector<std::string>{"save Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*|| hpv"});
    EXPECT_EQ(sliced.progress.log, (std::vector<std::string>{"begin Saving", "end"}));
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.rfind("Trevanto (c) 2004 Qelvar\r\n\r\n" + test::MediaPath(Mpeg1Clip()) +
                             "\r\nshot 1=0,0,39\r\nshot 2=40,40,84\r\n",
                         0),
              0u)
        << text;

    ExportSession loaded;
    loaded.dialogUser.answer = file;
    loaded.doc.ShotsFile().LoadShots();  // opens the clip named in the file
    ASSERT_TRUE(loaded.doc.IsOpen());
    EXPECT_EQ(loaded.doc.GetPlayer().State(), PlayerState::Paused);
    EXPECT_TRUE(loaded.lockingView.locked);
    ASSERT_TRUE(loaded.RunUntilRebuilt());
    EXPECT_EQ(loaded.Ranges(), ranges);
    EXPECT_EQ(loaded.dialogUser.messages,
              std::vector<std::string>{"5 shots extracted from the shots file."});
    EXPECT_EQ(loaded.dialogUser.kinds, std::vector<MessageKind>{MessageKind::Information});
    EXPECT_FALSE(loaded.doc.ShotsModified());
    EXPECT_EQ(loaded.lockingView.lockLog, (std::vector<bool>{true, false}));
    EXPECT_EQ(loaded.progress.log,
              (std::vector<std::string>{"begin Loading", "end", "begin Extracting", "end"}));
    ASSERT_EQ(loaded.lockingView.items.size(), ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) {
        const Shot* shot = loaded.doc.Shots().FindShotByItem(static_cast<int32_t>(i));
        ASSERT_NE(shot, nullptr);
        EXPECT_EQ(shot->number, static_cast<int32_t>(i + 1));
        EXPECT_EQ(shot->imageFrame, shot->startFrame);
        EXPECT_EQ(loaded.lockingView.items[i].caption, sliced.lockingView.items[i].caption);
        // The same frame decoded again gives the same thumbnail.
        EXPECT_LE(
            MaxDifference(loaded.lockingView.items[i].picture, sliced.lockingView.items[i].picture),
            2)
            << "shot " << i + 1;
    }
    EXPECT_TRUE(loaded.doc.Pending().IsEmpty());
}

TEST(ShotsFileThroughDocument, RecordsOutsideTheVideoAreReportedAndTheRestRebuilt) {
    const test::TempFolder folder;
    const std::string file = folder.File("odd.hpv");
    // LF-only line ends, two records on one line, one ignored record, an
    // image frame past the end and one at the frame count itself.
    WriteFile(file, "Trevanto (c) 2004 Qelvar\n\n" + test::MediaPath(Mpeg1Clip()) +
                        "\nshot 4=10,12,20 shot 5=21,21,30\nshot 0=0,7,0\nshot 6=31,-1,40\n"
                        "shot 7=41,500,50\nshot 8=190,200,199\n");
    ExportSession session;
    session.dialogUser.answer = file;
    session.doc.ShotsFile().LoadShots();
    ASSERT_TRUE(session.RunUntilRebuilt());
    EXPECT_EQ(session.Ranges(), (Ranges{{10, 20}, {21, 30}, {190, 199}}));
    const std::string wrong = "Wrong shot description. The current shot can't be added.";
    EXPECT_EQ(session.dialogUser.messages,
              (std::vector<std::string>{wrong, wrong, "3 shots extracted from the shots file."}));
    EXPECT_FALSE(session.lockingView.locked);
    EXPECT_FALSE(session.doc.FrameChainRunning());
}

TEST(ShotsFileThroughDocument, MessagesOfSavingAndLoading) {
    const test::TempFolder folder;
    ExportSession session;
    session.dialogUser.answer = folder.File("empty.hpv");
    EXPECT_FALSE(session.doc.ShotsFile().SaveShots());
    EXPECT_TRUE(session.dialogUser.dialogs.empty());
    ASSERT_TRUE(session.Open(Mpeg1Clip()));
    // No shots: said first, and the header is still written.
    EXPECT_TRUE(session.doc.ShotsFile().SaveShots());
    EXPECT_EQ(ReadFile(folder.File("empty.hpv")),
              "Trevanto (c) 2004 Qelvar\r\n\r\n" + test::MediaPath(Mpeg1Clip()) + "\r\n");
    session.dialogUser.answer = folder.File("missing/x.hpv");
    EXPECT_FALSE(session.doc.ShotsFile().SaveShots());
    session.dialogUser.answer.reset();  // cancelled
    EXPECT_FALSE(session.doc.ShotsFile().SaveShots());
    session.doc.ShotsFile().LoadShots();

    WriteFile(folder.File("other.hpv"), "trevanto (c) 2004 Qelvar\r\n\r\nx\r\n");
    session.dialogUser.answer = folder.File("other.hpv");
    session.doc.ShotsFile().LoadShots();
    WriteFile(folder.File("short.hpv"), "Trevanto (c) 2004 Qelvar\r\n");
    session.dialogUser.answer = folder.File("short.hpv");
    session.doc.ShotsFile().LoadShots();
    session.dialogUser.answer = folder.File("absent.hpv");
    session.doc.ShotsFile().LoadShots();
    EXPECT_EQ(session.dialogUser.messages,
              (std::vector<std::string>{
                  "Please load a movie file first.", "No Shot to save.", "No Shot to save.",
                  "Please choose another filepath.", "No Shot to save.", "Not a Shot file. Sorry !",
                  "Wrong line #3 header in this Shot file. Sorry !", "Shot File error!"}));
    EXPECT_EQ(session.dialogUser.dialogs.size(), 7u);
    EXPECT_EQ(session.dialogUser.dialogs.back(),
              "open Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*|| hpv");
    EXPECT_TRUE(session.doc.Shots().IsEmpty());
}

TEST(ShotsFileThroughDocument, DeletingTheShotsEndsTheRebuilding) {
    const test::TempFolder folder;
    const std::string file = folder.File("clip.hpv");
    WriteFile(file, Mpeg1ShotsFile("shot 1=0,0,39\r\nshot 2=40,40,84\r\n"));
    ExportSession session;
    session.dialogUser.answer = file;
    session.doc.ShotsFile().LoadShots();
    ASSERT_TRUE(session.doc.ShotsFile().IsRebuilding());
    session.doc.ClearShots();  // empties the queue, as "Delete shots" does
    ASSERT_TRUE(session.RunUntil([&] { return !session.doc.FrameChainRunning(); }));
    EXPECT_FALSE(session.doc.ShotsFile().IsRebuilding());
    EXPECT_FALSE(session.lockingView.locked);
    EXPECT_EQ(session.progress.log.back(), "end");
}

}  // namespace
}  // namespace trevanto
