#include "ui/desktop_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <optional>

#include "app/commands/command_ids.h"
#include "app/document/player_doc.h"
#include "app/jobs/shots_file_commands.h"
#include "ui/main_frame.h"
#include "ui/thumb_view.h"
#include "ui/trevanto_app.h"

namespace trevanto {
namespace {

using namespace command;

// The speed of a rate command.
void SetRate(CTrevantoApp& app, int32_t id) {
    if (const std::optional<float> rate = RateOf(id))
        app.Document().Playback().SetRate(*rate);
}

// A mark at the frame on show; Shift clears it.
template <MarkSide side>
void SetMark(CTrevantoApp& app, int32_t) {
    const bool shift = QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    app.Document().Playback().SetMark(side, shift);
}

// "Insert shot" and "Add shot manually": the frame on show as a shot, one
// edit of the shots.
void InsertShot(CTrevantoApp& app, int32_t) {
    app.Document().Editing().InsertShot();
}

void ToggleBar(QWidget* bar) {
    bar->setVisible(bar->isHidden());
}

// The shot a "Shot menu" command was chosen on, when it is the one selected.
void OnHitShot(CTrevantoApp& app, int32_t id) {
    const std::optional<int32_t> item = app.View().HitShot();
    if (!item)
        return;
    CPlayerDoc& document = app.Document();
    switch (id) {
        case kGoToBegin:
        case kPlayShot:
            document.GoToShot(*item, id == kPlayShot);
            return;
        case kGoToMiddle:
            document.GoToMiddle(*item);
            return;
        case kGoToEnd:
            document.GoToEnd(*item);
            return;
        case kRefresh:
            app.View().SetCurrentImage(document.Shots().ImageIndexOfItem(*item));
            document.Editing().RefreshShotImage(*item);
            return;
        case kRefineImage:
            app.View().SetCurrentImage(document.Shots().ImageIndexOfItem(*item));
            document.Editing().RefineShotStart(*item);
            return;
        default:
            return;
    }
}

// "Create a videolink" from the first to the last selected shot; the link
// goes to the clipboard as plain text.
void CreateVideoLink(CTrevantoApp& app, int32_t) {
    const std::vector<int32_t> items = app.View().SelectedItems();
    if (items.empty())
        return;
    const std::string link = app.Document().CreateVideoLink(items.front(), items.back());
    if (!link.empty())
        QApplication::clipboard()->setText(QString::fromStdString(link));
}

// Volume up and down change the volume by this many percent.
constexpr int kVolumeStep = 10;

// Each row calls its command on the document or the application.
constexpr DesktopCommand kCommands[] = {
    {kFileOpen, "&Open video file", "Open a video file\nOpen", "", "Ctrl+O", false,
     [](CTrevantoApp& app, int32_t) { app.OpenChosenVideo(); }},
    {kOpenOnlineVideo, "Open online video", "Open an url to a video stream\nOpen url", "", "Ctrl+U",
     false, [](CTrevantoApp& app, int32_t) { app.OpenOnlineVideo(); }},
    {kOpenBitmapTemplate, "Open shot bitmap template",
     "Choose the bitmap drawn over every shot thumbnail\nShot bitmap template", "", "Ctrl+B", false,
     [](CTrevantoApp& app, int32_t) { app.OpenShotTemplate(); }},
    {kExportShotList, "Export shot list...",
     "Write the shots as a CSV table or a CMX 3600 EDL for video editors\nExport shot list", "",
     "Ctrl+Shift+E", false, [](CTrevantoApp& app, int32_t) { app.Document().ExportShotList(); }},
    {kSliceFolder, "Slice a &folder...",
     "Slice every video of a folder into an output folder, a few at a time\nSlice a folder", "", "",
     false, [](CTrevantoApp& app, int32_t) { app.SliceFolder(); }},
    {kCloseVideo, "&Close video", "Close the video; its shots stay\nClose video", "", "Ctrl+W",
     false, [](CTrevantoApp& app, int32_t) { app.CloseVideo(); }},
    {kExit, "E&xit", "Quit the application\nExit", "", "Ctrl+Q", false,
     [](CTrevantoApp& app, int32_t) { app.Frame().close(); }},

    {kUndo, "&Undo", "Undo the last edit of the shots\nUndo", "", "Ctrl+Z", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Editing().Undo(); }},
    {kRedo, "&Redo", "Redo the last edit of the shots undone\nRedo", "", "Ctrl+Shift+Z", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Editing().Redo(); }},

    {kPlay, "&Play", "Play the video\nPlay", ":/icons/play.svg", "", true,
     [](CTrevantoApp& app, int32_t) { app.Document().Playback().Play(); }},
    {kPause, "&Pause", "Pause the video\nPause", ":/icons/pause.svg", "", true,
     [](CTrevantoApp& app, int32_t) { app.Document().Playback().Pause(); }},
    {kStop, "&Stop", "Stop the video\nStop", ":/icons/stop.svg", "Shift+Space", true,
     [](CTrevantoApp& app, int32_t) { app.Document().Playback().Stop(); }},
    {kTogglePlayPause, "Play/Pause", "Play or pause the video", "", "Space", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Playback().TogglePlayPause(); }},
    {kPreviousFrame, "Previous frame", "Show the frame before the one on show\nPrevious frame", "",
     ",", false,
     [](CTrevantoApp& app, int32_t) {
         app.Document().Playback().StepFrame(DocumentPlayback::FrameStep::Previous);
     }},
    {kNextFrame, "Next frame", "Show the frame after the one on show\nNext frame", "", ".", false,
     [](CTrevantoApp& app, int32_t) {
         app.Document().Playback().StepFrame(DocumentPlayback::FrameStep::Next);
     }},
    {kGoToFrame, "Go to frame...", "Show the frame of the number you enter\nGo to frame", "",
     "Ctrl+G", false, [](CTrevantoApp& app, int32_t) { app.GoToChosenFrame(); }},
    {kRateTenth, "Play 1/10th speed", "Change the playing speed", "", "Ctrl+1", true, SetRate},
    {kRateThird, "Play 1/3th speed", "Change the playing speed", "", "Ctrl+2", true, SetRate},
    {kRateHalf, "Play 1/2 speed", "Change the playing speed", "", "Ctrl+3", true, SetRate},
    {kRateSlow, "Play 0.8x speed", "Change the playing speed", "", "Ctrl+4", true, SetRate},
    {kRateNormal, "Play normal speed", "Change the playing speed", "", "Ctrl+5", true, SetRate},
    {kRateFast, "Play x1.5 speed", "Change the playing speed", "", "Ctrl+6", true, SetRate},
    {kRateDouble, "Play x2 speed", "Change the playing speed", "", "Ctrl+7", true, SetRate},
    {kSetStartMark, "Set start frame",
     "Set the start frame of the play range (Shift clears it)\nSet start frame",
     ":/icons/start_mark.svg", "I", false, SetMark<MarkSide::Start>},
    {kSetEndMark, "Set end frame",
     "Set the end frame of the play range (Shift clears it)\nSet end frame", ":/icons/end_mark.svg",
     "O", false, SetMark<MarkSide::End>},
    {kMute, "Mute", "Silence the sound (the volume is kept)\nMute", ":/icons/mute.svg", "M", true,
     [](CTrevantoApp& app, int32_t) { app.ToggleMute(); }},
    {kVolumeUp, "Volume up", "Play the sound louder\nVolume up", "", "Ctrl+Up", false,
     [](CTrevantoApp& app, int32_t) { app.ChangeVolume(+kVolumeStep); }},
    {kVolumeDown, "Volume down", "Play the sound softer\nVolume down", "", "Ctrl+Down", false,
     [](CTrevantoApp& app, int32_t) { app.ChangeVolume(-kVolumeStep); }},

    {kInsertShot, "Insert shot", "Insert the current frame as a shot\nInsert shot",
     ":/icons/insert_shot.svg", "Ins", false, InsertShot},
    {kSampler, "Start/Stop shot sampler",
     "Start/Stop the linear shot sampler\nStart/Stop shot sampler", ":/icons/sampler.svg", "Ctrl+L",
     true, [](CTrevantoApp& app, int32_t) { app.Document().Slicing().OnSamplerCommand(); }},
    {kEngine, "Start/Stop shot engine",
     "Start/Stop the intelligent shot engine\nStart/Stop shot engine", ":/icons/engine.svg",
     "Ctrl+E", true,
     [](CTrevantoApp& app, int32_t) { app.Document().Slicing().OnEngineCommand(); }},
    {kSliceInRealTime, "Slice in real time",
     "Slice while the video plays at the chosen speed, not as fast as it decodes\nSlice in real "
     "time",
     "", "Ctrl+T", true, [](CTrevantoApp& app, int32_t) { app.ToggleRealTimeSlicing(); }},
    {kSplitShot, "Split shot here",
     "Split the shot that holds the frame on show: a new shot starts at this frame\nSplit shot "
     "here",
     "", "Ctrl+K", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Editing().SplitShotHere(); }},
    {kSettings, "Settings...",
     "Choose the shot sampler rate and the shot engine's detector\nSettings",
     ":/icons/settings.svg", "Ctrl+,", false,
     [](CTrevantoApp& app, int32_t) { app.EditSlicingSettings(); }},
    {kPublish, "Publish to the Web", "Publish the shots to a Web thumbnail\nPublish to the Web",
     ":/icons/publish.svg", "Ctrl+Shift+P", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Publishing().PublishThroughWizard(); }},
    {kLoadShots, "&Load shots...", "Load the shots of a shots file\nLoad shots", "", "Ctrl+Shift+O",
     false, [](CTrevantoApp& app, int32_t) { app.Document().ShotsFile().LoadShots(); }},
    {kSaveShots, "Sa&ve shots...", "Save the shots to a shots file\nSave shots", "", "Ctrl+S",
     false, [](CTrevantoApp& app, int32_t) { app.Document().ShotsFile().SaveShots(); }},
    {kDeleteShots, "&Delete shots", "Delete every shot\nDelete shots", "", "Ctrl+Shift+Del", false,
     [](CTrevantoApp& app, int32_t) { app.View().DeleteAll(); }},
    {kShotsStartEngine, "&Start shot engine", "", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Slicing().OnShotsMenuEngine(); }},
    {kShotsAddManually, "&Add shot manually", "", "", "", false, InsertShot},

    // Keys of the thumbnail view: Enter goes to the selected shot, Del deletes
    // it; the Menu key or Shift+F10 opens the Shot menu on the current shot.
    {kGoToBegin, "Go-to &begin", "", "", "Return", false, OnHitShot},
    {kGoToMiddle, "Go-to &middle", "", "", "", false, OnHitShot},
    {kGoToEnd, "Go-to &end", "", "", "", false, OnHitShot},
    {kPlayShot, "&Play", "", "", "", false, OnHitShot},
    {kVideoLink, "Create a videolink", "", "", "", false, CreateVideoLink},
    {kRefresh, "Refresh", "", "", "", false, OnHitShot},
    {kRefineImage, "Refine &image", "", "", "", false, OnHitShot},
    {kExtractJpeg, "Extract as jpeg", "", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.ExtractSelectedAsJpeg(); }},
    {kMerge, "Merge", "", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.View().MergeSelected(); }},
    {kDeleteShot, "Delete shot", "", "", "Del", false,
     [](CTrevantoApp& app, int32_t) { app.View().DeleteSelected(); }},

    {kViewToolbar, "Toolbar", "Show or hide the toolbar\nToggle ToolBar", "", "Ctrl+Alt+1", true,
     [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().ToolBar()); }},
    {kViewStatusBar, "Status bar", "Show or hide the status bar\nStatus bar", "", "Ctrl+Alt+2",
     true, [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().statusBar()); }},
    {kViewPreview, "Video preview", "Show or hide the video preview\nVideo preview", "",
     "Ctrl+Alt+3", true, [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().PreviewBar()); }},
    {kViewScores, "Change scores", "Show or hide the graph of the change scores\nChange scores", "",
     "Ctrl+Alt+4", true, [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().ScoresBar()); }},
    {kFullScreen, "Full screen preview",
     "Show the video on the whole screen (F11, Escape or a double click ends it)\nFull screen", "",
     "F11", true, [](CTrevantoApp& app, int32_t) { app.Frame().TogglePreviewFullScreen(); }},
    {kViewTimecode, "Timecode", "Show frame positions as timecodes\nTimecode", "", "Ctrl+Shift+T",
     true, [](CTrevantoApp& app, int32_t) { app.ToggleTimecode(); }},
    {kHelpTopics, "Help Topics", "List Help topics\nHelp Topics", "", "F1", false,
     [](CTrevantoApp& app, int32_t) { app.ShowHelp(); }},
    {kShortcuts, "&Keyboard shortcuts", "List the keys of every command\nKeyboard shortcuts", "",
     "Ctrl+F1", false, [](CTrevantoApp& app, int32_t) { app.ShowShortcuts(); }},
    {kAbout, "&About Trevanto...",
     "Display program information, version number and copyright\nAbout", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.ShowAbout(); }},
};

}  // namespace

std::span<const DesktopCommand> DesktopCommands() {
    return kCommands;
}

bool IsThumbViewCommand(int32_t id) {
    static constexpr int32_t kViewOnly[] = {
        kShotsStartEngine, kShotsAddManually, kGoToBegin,   kGoToMiddle,  kGoToEnd, kPlayShot,
        kVideoLink,        kRefresh,          kRefineImage, kExtractJpeg, kMerge,   kDeleteShot};
    return std::ranges::find(kViewOnly, id) != std::end(kViewOnly);
}

const DesktopCommand* FindDesktopCommand(int32_t id) {
    for (const DesktopCommand& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

}  // namespace trevanto
