#include "ui/desktop_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/player_doc.h"
#include "app/shots_file_commands.h"
#include "ui/main_frame.h"
#include "ui/thumb_view.h"
#include "ui/trevanto_app.h"

namespace trevanto {
namespace {

using namespace command;

// The document routes its own commands; Shift clears a mark.
void ToDocument(CTrevantoApp& app, int32_t id) {
    const bool shift = QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    app.Document().OnCommand(id, shift);
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
            document.RefreshShotImage(*item);
            return;
        case kRefineImage:
            app.View().SetCurrentImage(document.Shots().ImageIndexOfItem(*item));
            document.RefineShotStart(*item);
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

// Speeds and marks and the slicers go to the document.
constexpr DesktopCommand kCommands[] = {
    {kFileOpen, "&Open video file", "Open a video file\nOpen", "", "Ctrl+O", false,
     [](CTrevantoApp& app, int32_t) { app.OpenChosenVideo(); }},
    {kOpenOnlineVideo, "Open online video", "Open an url to a video stream\nOpen url", "", "",
     false, [](CTrevantoApp& app, int32_t) { app.OpenOnlineVideo(); }},
    {kOpenBitmapTemplate, "Open shot bitmap template",
     "Choose the bitmap drawn over every shot thumbnail\nShot bitmap template", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.OpenShotTemplate(); }},
    {kExportShotList, "Export shot list...",
     "Write the shots as a CSV table or a CMX 3600 EDL for video editors\nExport shot list", "", "",
     false, [](CTrevantoApp& app, int32_t) { app.Document().ExportShotList(); }},
    {kExit, "E&xit", "Quit the application\nExit", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.Frame().close(); }},

    {kPlay, "&Play", "Play the video\nPlay", ":/icons/play.svg", "", true, ToDocument},
    {kPause, "&Pause", "Pause the video\nPause", ":/icons/pause.svg", "", true, ToDocument},
    {kStop, "&Stop", "Stop the video\nStop", ":/icons/stop.svg", "", true, ToDocument},
    {kTogglePlayPause, "Play/Pause", "Play or pause the video", "", "Space", false, ToDocument},
    {kPreviousFrame, "Previous frame", "Show the frame before the one on show\nPrevious frame", "",
     ",", false, ToDocument},
    {kNextFrame, "Next frame", "Show the frame after the one on show\nNext frame", "", ".", false,
     ToDocument},
    {kGoToFrame, "Go to frame...", "Show the frame of the number you enter\nGo to frame", "",
     "Ctrl+G", false, [](CTrevantoApp& app, int32_t) { app.GoToChosenFrame(); }},
    {kRateTenth, "Play 1/10th speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateThird, "Play 1/3th speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateHalf, "Play 1/2 speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateSlow, "Play 0.8x speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateNormal, "Play normal speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateFast, "Play x1.5 speed", "Change the playing speed", "", "", true, ToDocument},
    {kRateDouble, "Play x2 speed", "Change the playing speed", "", "", true, ToDocument},
    {kSetStartMark, "Set start frame",
     "Set the start frame of the play range (Shift clears it)\nSet start frame",
     ":/icons/start_mark.svg", "", false, ToDocument},
    {kSetEndMark, "Set end frame",
     "Set the end frame of the play range (Shift clears it)\nSet end frame", ":/icons/end_mark.svg",
     "", false, ToDocument},
    {kMute, "Mute", "Silence the sound (the volume is kept)\nMute", ":/icons/mute.svg", "M", true,
     [](CTrevantoApp& app, int32_t) { app.ToggleMute(); }},
    {kVolumeUp, "Volume up", "Play the sound louder\nVolume up", "", "Ctrl+Up", false,
     [](CTrevantoApp& app, int32_t) { app.ChangeVolume(+kVolumeStep); }},
    {kVolumeDown, "Volume down", "Play the sound softer\nVolume down", "", "Ctrl+Down", false,
     [](CTrevantoApp& app, int32_t) { app.ChangeVolume(-kVolumeStep); }},

    {kInsertShot, "Insert shot", "Insert the current frame as a shot\nInsert shot",
     ":/icons/insert_shot.svg", "", false, ToDocument},
    {kSampler, "Start/Stop shot sampler",
     "Start/Stop the linear shot sampler\nStart/Stop shot sampler", ":/icons/sampler.svg", "", true,
     ToDocument},
    {kEngine, "Start/Stop shot engine",
     "Start/Stop the intelligent shot engine\nStart/Stop shot engine", ":/icons/engine.svg",
     "Ctrl+E", true, ToDocument},
    {kSliceInRealTime, "Slice in real time",
     "Slice while the video plays at the chosen speed, not as fast as it decodes\nSlice in real "
     "time",
     "", "", true, [](CTrevantoApp& app, int32_t) { app.ToggleRealTimeSlicing(); }},
    {kSettings, "Settings...",
     "Choose the shot sampler rate and the shot engine threshold\nSettings", ":/icons/settings.svg",
     "", false, [](CTrevantoApp& app, int32_t) { app.Document().EditSlicingSettings(); }},
    {kPublish, "Publish to the Web", "Publish the shots as web pages\nPublish to the Web",
     ":/icons/publish.svg", "", false,
     [](CTrevantoApp& app, int32_t) { app.Document().Publishing().PublishThroughWizard(); }},
    {kLoadShots, "&Load shots...", "Load the shots of a shots file\nLoad shots", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.Document().ShotsFile().LoadShots(); }},
    {kSaveShots, "Sa&ve shots...", "Save the shots to a shots file\nSave shots", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.Document().ShotsFile().SaveShots(); }},
    {kDeleteShots, "&Delete shots", "Delete every shot\nDelete shots", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.View().DeleteAll(); }},
    {kShotsStartEngine, "&Start shot engine", "", "", "", false, ToDocument},
    {kShotsAddManually, "&Add shot manually", "", "", "", false, ToDocument},

    {kGoToBegin, "Go-to &begin", "", "", "", false, OnHitShot},
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
    {kDeleteShot, "Delete shot", "", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.View().DeleteSelected(); }},

    {kViewToolbar, "Toolbar", "Show or hide the toolbar\nToggle ToolBar", "", "", true,
     [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().ToolBar()); }},
    {kViewPreview, "Video preview", "Show or hide the video preview\nVideo preview", "", "", true,
     [](CTrevantoApp& app, int32_t) { ToggleBar(app.Frame().PreviewBar()); }},
    {kViewTimecode, "Timecode", "Show frame positions as timecodes\nTimecode", "", "", true,
     [](CTrevantoApp& app, int32_t) { app.ToggleTimecode(); }},
    {kHelpTopics, "Help Topics", "List Help topics\nHelp Topics", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.ShowHelp(); }},
    {kAbout, "&About Trevanto...",
     "Display program information, version number and copyright\nAbout", "", "", false,
     [](CTrevantoApp& app, int32_t) { app.ShowAbout(); }},
};

}  // namespace

std::span<const DesktopCommand> DesktopCommands() {
    return kCommands;
}

const DesktopCommand* FindDesktopCommand(int32_t id) {
    for (const DesktopCommand& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

}  // namespace trevanto
