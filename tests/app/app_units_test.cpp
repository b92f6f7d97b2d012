// The document's small rules: when commands can be chosen, the slider's
// scale, the texts of JPEG failures, statistics files
// that cannot be read back, and the settings kept across restarts.
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/commands/command_ids.h"
#include "app/commands/command_rules.h"
#include "app/commands/shot_edit_stack.h"
#include "app/commands/slider_scale.h"
#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
#include "app/document/slicing_progress.h"
#include "app/messages/jpeg_messages.h"
#include "app/messages/publishing_messages.h"
#include "app/messages/score_stats_messages.h"
#include "app/messages/shots_file_messages.h"
#include "app/settings/settings_store.h"

namespace trevanto {
namespace {

TEST(CommandRules, FollowVideoRunChainShotsAndSelection) {
    using namespace command;
    // videoOpen, slicing, chainRunning, shotCount, selectedCount
    const CommandState states[] = {{},
                                   {true, false, false, 0, 0},
                                   {true, false, false, 4, 1},
                                   {true, false, false, 4, 2},
                                   {true, true, false, 4, 1},
                                   {true, false, true, 4, 1}};
    const std::pair<int32_t, std::vector<bool>> rows[] = {
        {kShotsStartEngine, {false, true, true, true, true, true}},
        {kShotsAddManually, {false, true, true, true, false, false}},
        {kLoadShots, {true, true, true, true, false, false}},
        {kPublish, {true, true, true, true, false, false}},  // its messages tell what is missing
        {kSaveShots, {false, false, true, true, false, true}},
        {kDeleteShots, {false, false, true, true, false, false}},
        {kExportShotList, {false, false, true, true, false, true}},
        {kGoToBegin, {false, true, true, true, false, true}},
        {kRefresh, {false, false, true, false, false, false}},
        {kRefineImage, {false, false, true, false, false, false}},
        {kExtractJpeg, {false, true, true, true, false, false}},
        {kMerge, {false, true, false, true, false, false}},
        {kVideoLink, {false, false, true, true, true, true}},
        {kSettings, {true, true, true, true, true, true}},
        {kOpenBitmapTemplate, {true, true, true, true, true, false}},
        {kEngine, {true, true, true, true, true, true}},
        {kSliceInRealTime, {true, true, true, true, false, true}},
    };
    for (const auto& [id, enabled] : rows) {
        for (size_t i = 0; i < std::size(states); ++i)
            EXPECT_EQ(CommandEnabled(id, states[i]), enabled[i]) << id << " in state " << i;
    }
}

// Every shot edit is an undo step: greyed while a run or a chain of frame
// jobs (rebuilding a shots file) still adds shots that undoing would drop.
// Insert shot is the exception during a run: it joins the run's step.
TEST(CommandRules, ShotEditsWaitForRunsAndChains) {
    using namespace command;
    CommandState idle{true, false, false, 4, 2};
    idle.undoName = idle.redoName = "Delete shot";
    CommandState slicing = idle;
    slicing.slicing = true;
    CommandState chain = idle;
    chain.chainRunning = true;
    const std::pair<int32_t, const char*> edits[] = {{kShotsAddManually, "Add shot manually"},
                                                     {kDeleteShot, "Delete shot"},
                                                     {kDeleteShots, "Delete shots"},
                                                     {kMerge, "Merge"},
                                                     {kSplitShot, "Split shot here"},
                                                     {kUndo, "Undo"},
                                                     {kRedo, "Redo"}};
    for (const auto& [id, name] : edits) {
        EXPECT_TRUE(CommandEnabled(id, idle)) << name;
        EXPECT_FALSE(CommandEnabled(id, slicing)) << name << " during a run";
        EXPECT_FALSE(CommandEnabled(id, chain)) << name << " during a chain";
    }
    EXPECT_TRUE(CommandEnabled(kInsertShot, idle) && CommandEnabled(kInsertShot, slicing));
    EXPECT_FALSE(CommandEnabled(kInsertShot, chain));
    // Refresh and Refine image act on one selected shot.
    idle.selectedCount = slicing.selectedCount = chain.selectedCount = 1;
    for (const int32_t id : {kRefresh, kRefineImage}) {
        EXPECT_TRUE(CommandEnabled(id, idle)) << id;
        EXPECT_FALSE(CommandEnabled(id, slicing) || CommandEnabled(id, chain)) << id;
    }
}

// Undo and Redo name the edit they take back and wait while a run or a
// chain of frame jobs changes the shots.
TEST(CommandRules, UndoAndRedoNameTheirEditAndWaitForRunsAndChains) {
    using namespace command;
    CommandState state{true, false, false, 3, 0};
    EXPECT_FALSE(CommandEnabled(kUndo, state));
    EXPECT_EQ(CommandText(kUndo, state), "&Undo");
    state.undoName = "Merge 3 shots";
    EXPECT_TRUE(CommandEnabled(kUndo, state));
    EXPECT_FALSE(CommandEnabled(kRedo, state));
    EXPECT_EQ(CommandText(kUndo, state), "&Undo Merge 3 shots");
    state.redoName = "Delete shot";
    EXPECT_EQ(CommandText(kRedo, state), "&Redo Delete shot");
    for (const auto& [slicing, chain] : {std::pair{true, false}, std::pair{false, true}}) {
        state.slicing = slicing;
        state.chainRunning = chain;
        EXPECT_FALSE(CommandEnabled(kUndo, state) || CommandEnabled(kRedo, state)) << slicing;
    }
    EXPECT_EQ(CommandText(kPlay, state), std::nullopt);
}

// Past its bound the oldest steps go, and with them a saved place among them.
TEST(ShotEditStack, KeepsItsNewestStepsAndForgetsASavedPlaceItDropped) {
    ShotEditStack stack(2);
    for (const char* name : {"Insert shot", "Delete shot", "Split shot"})
        stack.Push(name, {});
    EXPECT_EQ(stack.StepCount(), 2u);
    stack.Undo({});
    stack.Undo({});
    EXPECT_FALSE(stack.CanUndo());
    EXPECT_EQ(stack.RedoName(), "Delete shot");
    EXPECT_FALSE(stack.AtSaved());
}

// A work surface that cannot be made (no screen size) is a refusal: the
// document then tells the user instead of drawing into nothing.
TEST(DocumentSurfaces, SetUpFailsWithoutAWorkSurface) {
    DocumentSurfaces surfaces;
    EXPECT_FALSE(surfaces.SetUp(0, 0));
    EXPECT_FALSE(surfaces.IsSetUp());
    EXPECT_TRUE(surfaces.SetUp(640, 480));
    EXPECT_TRUE(surfaces.IsSetUp());
}

TEST(CommandRules, TheRateAskedAndTheSlicingPaceAreChecked) {
    using namespace command;
    for (const RateCommand& asked : kRates) {
        const CommandState state{.rate = asked.rate, .realTimeSlicing = asked.id == kRateHalf};
        for (const RateCommand& item : kRates)
            EXPECT_EQ(CommandChecked(item.id, state), item.id == asked.id) << item.id;
        EXPECT_EQ(CommandChecked(kSliceInRealTime, state), asked.id == kRateHalf);
    }
    EXPECT_EQ(CommandChecked(kEngine, {}), std::nullopt);  // the document checks it
}

// A run's status texts: progress a few times a second, then what it found.
TEST(SlicingProgress, TellsHowFarHowFastAndWhatWasFound) {
    using namespace std::chrono_literals;
    const SlicingProgress::Clock::time_point t0;
    SlicingProgress progress;
    progress.Begin(1099, 3, t0);  // frames 100 to 1099
    EXPECT_EQ(progress.OnFrame(100, t0), "Slicing 0 %");
    EXPECT_EQ(progress.OnFrame(101, t0 + 100ms), std::nullopt);
    for (int32_t frame = 102; frame < 599; ++frame)
        progress.OnFrame(frame, t0 + 200ms);
    EXPECT_EQ(progress.OnFrame(599, t0 + 500ms), "Slicing 50 %, 1000 fps, 1 s left");
    for (int32_t frame = 600; frame < 1099; ++frame)
        progress.OnFrame(frame, t0 + 500ms);
    EXPECT_EQ(progress.OnFrame(100, t0 + 1000ms),
              "Slicing 0 %, 1000 fps, 1 s left");  // sought back
    EXPECT_EQ(progress.End(15, t0 + 1234ms), "12 shots found in 1.2 s");
    EXPECT_FALSE(progress.IsRunning());
    progress.Begin(200000, 0, t0);
    progress.OnFrame(0, t0);
    // The frames a sampler leaves out count as gone through.
    EXPECT_EQ(progress.OnFrame(1000, t0 + 1s), "Slicing 0 %, 1001 fps, 3:19 left");
    EXPECT_EQ(progress.End(1, t0 + 2s), "1 shot found in 2.0 s");
}

TEST(FrameOfSliderPosition, BothEndsReachTheFirstAndTheLastFrame) {
    for (const int32_t frames : {1, 2, 1253, 100000}) {
        EXPECT_EQ(FrameOfSliderPosition(0, kSliderMax, frames), 0);
        EXPECT_EQ(FrameOfSliderPosition(kSliderMax, kSliderMax, frames), frames - 1);
    }
}

TEST(DocumentPorts, AMissingFrontEndRefusesAndCancelsEverything) {
    const DocumentPorts ports = DocumentPorts{}.WithDefaults();
    ports.view->SetItemCaption(0, "a");
    ports.view->DeleteItemAndImage(0);
    ports.view->DeleteAllItems();
    ports.frame->UpdateFramePanes(0, 0, false, 0.0, nullptr);
    EXPECT_FALSE(ports.view->ReplaceThumbnail(0, QImage()) || ports.user->AskYesNo("Delete?") ||
                 ports.user->ChooseFile(FileDialogKind::Open, "", "") ||
                 ports.user->ChooseFolder("/") || ports.user->OpenWithDefaultHandler("/a.html"));
}

// One row per kind: nothing said, a warning, an error with its title.
TEST(JpegMessages, EachKindOfFailureHasItsTextKindAndTitle) {
    const std::tuple<JpegError, std::string, MessageKind, std::string> rows[] = {
        {JpegError::Refused, "", MessageKind::Warning, ""},
        {JpegError::NoMemory, "No memory for screenshot!", MessageKind::Warning, ""},
        {JpegError::Library, "Maximum supported image dimension", MessageKind::Error,
         "JPEG Fatal Error"},
    };
    for (const auto& [error, text, kind, title] : rows) {
        const JpegMessage message =
            JpegWriteMessage({error, "/a.jpg", "Maximum supported image dimension"});
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.kind, kind) << text;
        EXPECT_EQ(message.title, title) << text;
    }
}

// One row per kind of text: fixed, naming the file, and the fallback. The
// texts that the command line and the document show are checked there.
TEST(PublishingMessages, FixedTextsTextsNamingTheFileAndTheFallback) {
    using Kind = PublishProblemKind;
    const std::pair<Kind, std::string> rows[] = {
        {Kind::NoTarget, "You need to specify a target file."},
        {Kind::TargetNotWritable,
         "You may not write to the folder /t. Please change the target file."},
        {Kind::Partial,
         "Error while publishing to the web : Only a fraction of the content has "
         "been published."},
    };
    for (const auto& [kind, text] : rows)
        EXPECT_EQ(PublishingMessage({kind, "/t"}), text);
    EXPECT_NE(PublishingMessage({Kind::ExpansionLimit}).find("beyond 1 MB"), std::string::npos);
}

// Text that is no statistics file, refused with the line at fault.
TEST(ScoreStatsMessages, RefusesWhatIsNoStatisticsFile) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "line 1: the file is empty"},
        {"frame;timecode;score;cut\n", "line 1: the header is not 'frame,timecode,score,cut'"},
        {"frame,timecode,score,cut\r\n", "no frames after the header"},
        {"frame,timecode,score,cut\n0,t,1,0\n\n1,t,1,0\n", "line 3: empty line"},
        {"frame,timecode,score,cut\n0,t,1\n", "line 2: expected 4 fields"},
        {"frame,timecode,score,cut\n0,t,1,0,\n", "line 2: expected 4 fields"},
        {"frame,timecode,score,cut\r\n0,t,1,0\r\n-1,t,1,0\r\n", "line 3: the frame '-1'"},
        {"frame,timecode,score,cut\n+1,t,1,0\n", "line 2: the frame '+1'"},
        {"frame,timecode,score,cut\n99999999999,t,1,0\n", "line 2: the frame"},
        {"frame,timecode,score,cut\n1,t,nan,0\n", "line 2: the score 'nan'"},
        {"frame,timecode,score,cut\n1,t,-2,0\n", "line 2: the score '-2'"},
        {"frame,timecode,score,cut\n1,t,2x,0\n", "line 2: the score '2x'"},
        {"frame,timecode,score,cut\n1,t,2,yes\n", "line 2: the cut 'yes' is not 0 or 1"},
    };
    for (const auto& [text, reason] : rows) {
        ScoreStatsError error;
        EXPECT_FALSE(ParseScoreStats(text, error)) << text;
        const std::string message = ScoreStatsMessage(error);
        EXPECT_EQ(message.rfind(reason, 0), 0u) << message;
    }
}

TEST(SettingsStore, RecentFilesAndUrlsSurviveARestart) {
    const QTemporaryDir folder;
    const std::string path = (folder.path() + "/trevanto.conf").toStdString();
    {
        SettingsStore store(path);
        for (const char* file : {"/v/a", "/v/b", "/v/c", "/v/d", "/v/e", "/v/c"})
            store.AddRecentFile(file);  // four kept, the most recent first, no duplicate
        store.SaveUrlHistory({{"a", "b", "c"}, "c"});
        store.SaveUrlHistory({{"first", "second"}, "now"});  // shorter: no older entry stays
        store.SetJpegFolder("/jpeg");
        store.SetSliceInRealTime(true);
        EXPECT_GE(store.SlicingJobs(), 1);  // the cores until chosen
        store.SetSlicingJobs(1000);         // never more than the bound
        store.SetDetector(ShotDetector::Content);
        store.SetSensitivity(72.5f);
    }
    SettingsStore again(path);
    EXPECT_EQ(std::pair(again.Detector(), again.Sensitivity()),
              std::pair(ShotDetector::Content, 72.5f));
    again.RemoveRecentFile("/v/e");
    EXPECT_EQ(again.RecentFiles(), (std::vector<std::string>{"/v/c", "/v/d", "/v/b"}));
    EXPECT_EQ(again.LoadUrlHistory().entries, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(again.JpegFolder() + again.FilePath(), "/jpeg" + path);
    EXPECT_TRUE(again.SliceInRealTime());
    EXPECT_EQ(again.SlicingJobs(), SlicingSettings::kMaxJobs);
    {
        QSettings raw(QString::fromStdString(path), QSettings::NativeFormat);
        raw.beginGroup("SOFTWARE/Qelvar/Trevanto/options/urls");
        for (int i = 11; i >= 0; --i)
            raw.setValue(QString("urls%1").arg(i), QString("u%1").arg(i));
        raw.setValue("urlsB", "b");  // other names after the numbered ones, by name
        raw.setValue("urls-1", "m");
    }
    const auto entries = SettingsStore(path).LoadUrlHistory().entries;  // in numeric order
    ASSERT_EQ(entries.size(), 14u);
    EXPECT_EQ(entries[2] + entries[10] + entries[12] + entries[13], "u2u10mb");
}

TEST(UrlHistory, KeepsTheLastTwentyUsedLastAndSurvivesARestart) {
    const QTemporaryDir folder;
    const std::string path = (folder.path() + "/trevanto.conf").toStdString();
    std::vector<std::string> all;
    for (int i = 0; i <= 20; ++i)
        all.push_back("u" + std::to_string(i));
    std::vector<std::string> moved(all.begin() + 1, all.end());  // u1..u20, then u5 last
    std::rotate(moved.begin() + 4, moved.begin() + 5, moved.end());
    std::vector<std::string> cased(moved.begin() + 1, moved.end());  // u1 goes for U5
    cased.push_back("U5");
    UrlHistory history;
    const std::tuple<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {all, {all.begin() + 1, all.end()}}, {{"u5"}, moved}, {{"U5"}, cased}};
    for (const auto& [added, expected] : rows) {
        for (const std::string& url : added)
            history.AddUrl(url);
        SettingsStore(path).SaveUrlHistory(history);
        const UrlHistory loaded = SettingsStore(path).LoadUrlHistory();
        EXPECT_EQ(loaded.entries, expected);
        EXPECT_EQ(loaded.current, added.back());
    }
}

}  // namespace
}  // namespace trevanto
