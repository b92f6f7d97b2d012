#include "export/shots_file_rebuild.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace trevanto {
namespace {

// Records what the rebuilding asks of the document.
class FakeDocument : public ShotsFileRebuildHost {
  public:
    int32_t FrameCount() const override { return frameCount; }
    bool RequestRecordFrame(int32_t /*start*/, int32_t image, int32_t /*end*/) override {
        log.push_back("seek " + std::to_string(image));
        return canRequest;
    }
    bool CaptureRecordShot(int32_t start, int32_t end) override {
        log.push_back("capture " + std::to_string(start) + "-" + std::to_string(end));
        return canCapture;
    }
    void ShowMessage(const std::string& text) override {
        log.push_back("message " + text);
        if (onMessage)
            onMessage();
    }
    void BeginProgress(const std::string& caption) override { log.push_back("begin " + caption); }
    void SetProgress(int32_t position) override {
        log.push_back("progress " + std::to_string(position));
    }
    void EndProgress() override { log.push_back("end progress"); }
    void SetViewLocked(bool locked) override { log.push_back(locked ? "lock" : "unlock"); }

    int32_t frameCount = 100;
    bool canRequest = true;
    bool canCapture = true;
    std::vector<std::string> log;
    std::function<void()> onMessage;  // what happens while a message is up
};

void Queue(PendingShotList& pending, int32_t start, int32_t image, int32_t end) {
    auto shot = std::make_unique<Shot>();
    shot->startFrame = start;
    shot->SetEnd(end);
    shot->imageFrame = image;
    pending.Append(std::move(shot));
}

using Log = std::vector<std::string>;

TEST(ShotsFileRebuild, EachRecordIsSoughtThenCapturedAndReportedAfterTheLast) {
    PendingShotList pending;
    Queue(pending, 0, 0, 9);
    Queue(pending, 10, 12, 19);
    Queue(pending, 20, 20, 29);
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    EXPECT_EQ(document.log, (Log{"lock", "begin Extracting", "progress 0", "seek 0"}));
    document.log.clear();
    rebuild.OnFrameArrived(0);
    rebuild.OnFrameArrived(12);
    rebuild.OnFrameArrived(20);
    EXPECT_EQ(document.log,
              (Log{"capture 0-9", "progress 10922", "seek 12", "capture 10-19", "progress 21844",
                   "seek 20", "capture 20-29", "progress 32767", "end progress",
                   "message 3 shots extracted from the shots file.", "unlock"}));
    EXPECT_FALSE(rebuild.IsActive());
    EXPECT_TRUE(pending.IsEmpty());
}

TEST(ShotsFileRebuild, SingleRecordHasNoProgressBar) {
    PendingShotList pending;
    Queue(pending, 5, 5, 9);
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    rebuild.OnFrameArrived(5);
    EXPECT_EQ(document.log, (Log{"lock", "seek 5", "capture 5-9",
                                 "message 1 shots extracted from the shots file.", "unlock"}));
}

TEST(ShotsFileRebuild, OtherFrameIsSoughtAgainThreeTimesThenCapturedAsItCame) {
    PendingShotList pending;
    Queue(pending, 40, 40, 49);
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    for (int i = 0; i < 3; ++i) {
        rebuild.OnFrameArrived(38);
        EXPECT_EQ(rebuild.RetriesOfCurrentRecord(), i + 1);
    }
    rebuild.OnFrameArrived(39);
    EXPECT_EQ(document.log,
              (Log{"lock", "seek 40", "seek 40", "seek 40", "seek 40", "capture 40-49",
                   "message 1 shots extracted from the shots file.", "unlock"}));
}

TEST(ShotsFileRebuild, OutOfRangeImageFramesAreReportedAndTheNextRecordGoesOn) {
    PendingShotList pending;
    Queue(pending, 0, -1, 9);
    Queue(pending, 10, 100, 19);  // equal to the frame count: accepted and sought
    Queue(pending, 20, 101, 29);
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    rebuild.OnFrameArrived(100);
    const std::string wrong = "message Wrong shot description. The current shot can't be added.";
    EXPECT_EQ(document.log,
              (Log{"lock", "begin Extracting", "progress 0", wrong, "progress 10922", "seek 100",
                   "capture 10-19", "progress 21844", wrong, "progress 32767", "end progress",
                   "message 1 shots extracted from the shots file.", "unlock"}));
    EXPECT_EQ(rebuild.Rebuilt(), 1);
    EXPECT_EQ(rebuild.Total(), 3);
}

TEST(ShotsFileRebuild, RecordsOutsideTheVideoOrReversedAreRefused) {
    struct Row {
        int32_t start, image, end;
        bool sought;
    };
    // Frame count 100: the last frame is 99.
    const Row rows[] = {{0, 0, 99, true},  {30, 20, 10, false}, {-5, 0, 9, false},
                        {0, 0, -1, false}, {0, 0, 100, false},  {90, 100, 99, true}};
    for (const Row& row : rows) {
        PendingShotList pending;
        Queue(pending, row.start, row.image, row.end);
        FakeDocument document;
        ShotsFileRebuild rebuild(pending, document);
        rebuild.Start();
        EXPECT_EQ(document.log.at(1),
                  row.sought ? "seek " + std::to_string(row.image)
                             : "message Wrong shot description. The current shot can't be added.")
            << row.start << "," << row.image << "," << row.end;
    }
}

TEST(ShotsFileRebuild, FailedCaptureIsNotCounted) {
    PendingShotList pending;
    Queue(pending, 0, 0, 9);
    FakeDocument document;
    document.canCapture = false;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    rebuild.OnFrameArrived(0);
    EXPECT_EQ(document.log.at(document.log.size() - 2),
              "message 0 shots extracted from the shots file.");
}

TEST(ShotsFileRebuild, RequestThatCannotBeMadeEndsCleanly) {
    PendingShotList pending;
    Queue(pending, 0, 0, 9);
    Queue(pending, 10, 10, 19);
    FakeDocument document;
    document.canRequest = false;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    EXPECT_EQ(document.log,
              (Log{"lock", "begin Extracting", "progress 0", "seek 0", "end progress", "unlock"}));
    EXPECT_FALSE(rebuild.IsActive());
    EXPECT_TRUE(pending.IsEmpty());
}

TEST(ShotsFileRebuild, CancelEndsWithoutMessageAndLateFramesAreIgnored) {
    PendingShotList pending;
    Queue(pending, 0, 0, 9);
    Queue(pending, 10, 10, 19);
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    rebuild.Cancel();
    rebuild.OnFrameArrived(0);
    EXPECT_EQ(document.log,
              (Log{"lock", "begin Extracting", "progress 0", "seek 0", "end progress", "unlock"}));
    EXPECT_TRUE(pending.IsEmpty());

    // Cancelled while a record's message is up: no report, no second unlock.
    Queue(pending, 0, -1, 9);
    Queue(pending, 10, 10, 19);
    document.log.clear();
    document.onMessage = [&rebuild] { rebuild.Cancel(); };
    rebuild.Start();
    EXPECT_EQ(document.log, (Log{"lock", "begin Extracting", "progress 0",
                                 "message Wrong shot description. The current shot can't be added.",
                                 "end progress", "unlock"}));
    EXPECT_FALSE(rebuild.IsActive());
}

TEST(ShotsFileRebuild, NothingQueuedDoesNothing) {
    PendingShotList pending;
    FakeDocument document;
    ShotsFileRebuild rebuild(pending, document);
    rebuild.Start();
    EXPECT_TRUE(document.log.empty());
    EXPECT_FALSE(rebuild.IsActive());
}

}  // namespace
}  // namespace trevanto
