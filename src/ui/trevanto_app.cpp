#include "ui/trevanto_app.h"

#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <chrono>

#include "app/commands/command_ids.h"
#include "app/commands/command_rules.h"
#include "app/document/player_doc.h"
#include "app/jobs/jpeg_export_commands.h"
#include "app/jobs/shots_file_commands.h"
#include "app/messages/settings_messages.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "export/shots_file.h"
#include "shots/change_scores.h"
#include "trevanto_version.h"
#include "ui/about_text.h"
#include "ui/background_open.h"
#include "ui/batch_dialog.h"
#include "ui/controls/menu_shadows.h"
#include "ui/desktop_commands.h"
#include "ui/desktop_online_video.h"
#include "ui/help_window.h"
#include "ui/main_frame.h"
#include "ui/message_box_user.h"
#include "ui/score_graph.h"
#include "ui/shortcuts_dialog.h"
#include "ui/stream_url_dialog.h"
#include "ui/thumb_view.h"
#include "video/open_media_graph.h"
#include "video/qt_audio_output.h"

namespace trevanto {
namespace {

// How long graph events are handled before the event loop gets its turn.
constexpr std::chrono::milliseconds kGraphEventSlice{8};

// The "Change scores" graph is repainted at most this often.
constexpr std::chrono::milliseconds kScoreGraphRepaint{50};

// The shipped shot bitmap templates.
constexpr const char* kTemplateFolder = "bitmaps";
// How often a frame job's wait for its frame is looked at.
constexpr std::chrono::seconds kFrameWaitCheck{1};
// How long the status bar shows the volume after a change.
constexpr int kVolumeMessageMilliseconds = 2000;

// What a key of the navigation slider asks of the document: a frame, a
// second, the first or the last frame.
DocumentPlayback::FrameStep FrameStepOf(CMySliderCtrl::Step step) {
    using Step = CMySliderCtrl::Step;
    using FrameStep = DocumentPlayback::FrameStep;
    switch (step) {
        case Step::LineBack:
            return FrameStep::Previous;
        case Step::LineForward:
            return FrameStep::Next;
        case Step::PageBack:
            return FrameStep::SecondBack;
        case Step::PageForward:
            return FrameStep::SecondForward;
        case Step::First:
            return FrameStep::First;
        case Step::Last:
            return FrameStep::Last;
    }
    return FrameStep::Next;
}

}  // namespace

CTrevantoApp::CTrevantoApp(AppOptions options)
    : settings_(options.settingsPath.empty()
                    ? std::make_unique<SettingsStore>()
                    : std::make_unique<SettingsStore>(options.settingsPath)) {
    if (options.user != nullptr) {
        user_ = options.user;
    } else {
        ownUser_ = std::make_unique<MessageBoxUser>();
        user_ = ownUser_.get();
    }
    frame_ = std::make_unique<CMainFrame>(*settings_);
    if (auto* boxes = dynamic_cast<MessageBoxUser*>(user_))
        boxes->SetOwner(frame_.get());
    view_ = new CThumbView(frame_.get());
    frame_->setCentralWidget(view_);

    QSize screen(1920, 1080);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->size();
    MediaGraphFactory factory =
        OpenInBackground(options.graphFactory ? std::move(options.graphFactory)
                                              : MediaGraphFactory(OpenMediaGraphWithSound),
                         frame_.get());
    document_ = std::make_unique<CPlayerDoc>(
        std::move(factory), DocumentPorts{view_, frame_.get(), frame_.get(), user_}, screen.width(),
        screen.height());
    document_->Slicing().SetPacedPlayback(options.pacedPlayback);
    document_->Slicing().SetRealTimeSlicing(settings_->SliceInRealTime());
    SlicingSettings slicing = document_->Slicing().Settings();
    slicing.detector = settings_->Detector();
    slicing.sensitivity = settings_->Sensitivity();
    document_->Slicing().ApplySlicingSettings(slicing);
    document_->Slicing().SetJobs(settings_->SlicingJobs());
    document_->JpegExport().SetJobs(document_->Slicing().Jobs());
    document_->Playback().SetSoundWanted(true);
    ApplySound();
    // The streaming thread only queues a call; the events are handled here,
    // on the UI thread, one drain per wake-up.
    document_->SetGraphNotify([this] {
        if (!drainQueued_.exchange(true)) {
            QMetaObject::invokeMethod(this, &CTrevantoApp::OnGraphNotify, Qt::QueuedConnection);
        }
    });
    view_->Attach(document_.get(), user_, frame_.get());
    CreateScoreGraph();
    // Every bar has its contents: the layout of the last run, when there is one.
    frame_->RestoreLayout();
    // A frame a job waits for in vain ends that item; the job goes on.
    auto* frameWait = new QTimer(this);
    connect(frameWait, &QTimer::timeout, this, [this] { document_->CheckFrameWait(); });
    frameWait->start(kFrameWaitCheck);

    LoadStartupTemplate();
    document_->SetShotTemplate(&template_);
    urlHistory_ = settings_->LoadUrlHistory();

    connect(frame_.get(), &CMainFrame::CommandInvoked, this, &CTrevantoApp::OnCommand);
    connect(view_, &CThumbView::CommandInvoked, this, &CTrevantoApp::OnCommand);
    connect(frame_.get(), &CMainFrame::VolumeChosen, this, &CTrevantoApp::SetVolume);
    connect(frame_.get(), &CMainFrame::RecentFileChosen, this, [this](const QString& path) {
        // Work the user keeps going is no reason to forget the file.
        if (!document_->MayOpen(path.toStdString()))
            return;
        if (!OpenVideo(path.toStdString())) {
            settings_->RemoveRecentFile(path.toStdString());
            RefreshRecentFiles();
        }
    });
    connect(frame_.get(), &CMainFrame::FileDropped, this,
            [this](const QString& path) { OpenVideo(path.toStdString()); });
    connect(frame_.get(), &CMainFrame::SliderMoved, this, [this](int position, bool force) {
        document_->Playback().SeekFromSlider(position, force);
    });
    connect(frame_.get(), &CMainFrame::ViewMenuAboutToShow, this,
            [this] { frame_->SetTimecodeCheck(document_->TimecodeMode()); });
    // Menus and toolbar show each command as it can be chosen now: when a
    // menu opens, and after whatever may change that (a command, the
    // selection, events of the graph, the document's reports to the frame).
    connect(frame_.get(), &CMainFrame::CommandStateWanted, this,
            [this] { frame_->EnableCommands(view_->CommandSnapshot()); });
    connect(view_, &QListWidget::itemSelectionChanged, frame_.get(),
            &CMainFrame::ScheduleCommandRefresh);
    connect(this, &CTrevantoApp::GraphEventsHandled, frame_.get(),
            &CMainFrame::ScheduleCommandRefresh);
    connect(frame_.get(), &CMainFrame::SliderStepRequested, this, [this](CMySliderCtrl::Step step) {
        document_->Playback().StepFrame(FrameStepOf(step));
    });
    connect(frame_.get(), &CMainFrame::StopRunRequested, this, [this] {
        if (document_->Slicing().IsRunning())
            document_->Slicing().StopSlicing();
    });
    frame_->SetCloseGuard([this] { return QueryCloseShots(); });
    frame_->UpdateShotCount(0);
    document_->RepaintPreview();
}

CTrevantoApp::~CTrevantoApp() {
    Exit();
    // The document (and with it the graph's thread) goes before the view and
    // the frame it reports to.
    if (view_ != nullptr)
        view_->Attach(nullptr, nullptr, nullptr);
    document_.reset();
}

bool CTrevantoApp::Start(const std::string& commandLineVideo) {
    if (!shadows_) {
        shadows_ = std::make_unique<MenuShadows>();
        shadows_->Install();
    }
    frame_->show();
    if (commandLineVideo.empty())
        return true;
    return OpenDocument(commandLineVideo);
}

void CTrevantoApp::Exit() {
    if (exited_)
        return;
    exited_ = true;
    shadows_.reset();
    settings_->SaveUrlHistory(urlHistory_);
    settings_->Sync();
}

bool CTrevantoApp::OpenVideo(const std::string& path) {
    if (!IsScriptUrl(path))
        return OpenPlayable(path, path);
    // A script named at start, dropped or picked from the recent files offers
    // its streams as "Open online video" does; the recent list keeps the script.
    DesktopOnlineVideo online(frame_.get(), *user_);
    const std::optional<std::string> chosen = ResolveOnlineVideo(path, online, *user_);
    return chosen && OpenPlayable(*chosen, path);
}

bool CTrevantoApp::OpenPlayable(const std::string& video, const std::string& recentName) {
    if (video.empty() || !document_->OpenVideo(video))
        return false;
    settings_->AddRecentFile(recentName);
    RefreshRecentFiles();
    return true;
}

bool CTrevantoApp::OpenDocument(const std::string& path) {
    if (HasExtension(path, kShotsFileExtension) || HasShotsFileHeader(path)) {
        if (!document_->ShotsFile().LoadShotsFile(path))
            return false;
        settings_->AddRecentFile(document_->GetPlayer().OpenedPath());
        RefreshRecentFiles();
        return true;
    }
    return OpenVideo(path);
}

void CTrevantoApp::ShowWindow() {
    frame_->setWindowState(frame_->windowState() & ~Qt::WindowMinimized);
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
}

void CTrevantoApp::RefreshRecentFiles() {
    frame_->SetRecentFiles(settings_->RecentFiles());
}

void CTrevantoApp::OnGraphNotify() {
    drainQueued_.store(false);
    if (document_ == nullptr)
        return;
    // An unpaced graph refills the queue as fast as it is taken: events are
    // handled one by one for a short while, then input and painting get
    // their turn and the rest waits for the next call.
    const auto until = std::chrono::steady_clock::now() + kGraphEventSlice;
    bool handled = false;
    while (document_->HandleNextGraphEvent()) {
        handled = true;
        if (std::chrono::steady_clock::now() >= until) {
            if (!drainQueued_.exchange(true))
                QMetaObject::invokeMethod(this, &CTrevantoApp::OnGraphNotify, Qt::QueuedConnection);
            break;
        }
    }
    if (handled)
        emit GraphEventsHandled();
}

void CTrevantoApp::OnCommand(int32_t commandId) {
    const DesktopCommand* entry = FindDesktopCommand(commandId);
    if (entry == nullptr || entry->run == nullptr ||
        !CommandEnabled(commandId, view_->CommandSnapshot())) {
        return;
    }
    entry->run(*this, commandId);
    // A check item toggles itself; the rule says what it shows.
    frame_->CheckCommands(view_->CommandSnapshot());
    frame_->ScheduleCommandRefresh();
}

void CTrevantoApp::ToggleRealTimeSlicing() {
    const bool realTime = !document_->Slicing().RealTimeSlicing();
    document_->Slicing().SetRealTimeSlicing(realTime);
    settings_->SetSliceInRealTime(realTime);
}

void CTrevantoApp::EditSlicingSettings() {
    if (!document_->Slicing().EditSlicingSettings())
        return;
    settings_->SetDetector(document_->Slicing().Settings().detector);
    settings_->SetSensitivity(document_->Slicing().Settings().sensitivity);
    settings_->SetSlicingJobs(document_->Slicing().Jobs());
    // The exports decode on as many workers as the runs.
    document_->JpegExport().SetJobs(document_->Slicing().Jobs());
}

void CTrevantoApp::OpenChosenVideo() {
    if (const auto path = user_->ChooseVideoFile())
        OpenVideo(*path);
}

void CTrevantoApp::LoadStartupTemplate() {
    if (const auto chosen = settings_->TemplateFile()) {
        if (template_.LoadTemplateFile(chosen->path, chosen->transparentColour | 0xFF000000) ==
            TemplateLoadStatus::Loaded) {
            return;
        }
    }
    // A program without the built-in template still slices, undecorated.
    template_.LoadBuiltIn();
}

void CTrevantoApp::OpenShotTemplate() {
    // Templates are looked for first among those shipped with the program.
    std::string startFolder = FindShippedFile(kTemplateFolder);
    if (!IsFolder(startFolder))
        startFolder.clear();
    const auto choice = user_->ChooseShotTemplate(startFolder);
    if (!choice)
        return;
    const uint32_t colour = choice->transparentColour.value_or(kMagenta & 0xFFFFFF);
    // A template that does not load leaves none, in this run only: the next
    // start goes back to the built-in one.
    const TemplateLoadStatus status = template_.LoadTemplateFile(choice->path, colour | 0xFF000000);
    if (status != TemplateLoadStatus::Loaded) {
        settings_->SetTemplateFile(std::nullopt);
        user_->ShowMessage(message::TemplateLoadMessage(status, choice->path));
        return;
    }
    settings_->SetTemplateFile(ShotTemplateFile{choice->path, colour});
}

void CTrevantoApp::SliceFolder() {
    if (!batchDialog_) {
        batchDialog_ = new BatchDialog(BatchDialog::FindCli(), frame_.get());
        connect(batchDialog_, &BatchDialog::OpenRequested, this, [this](const QString& path) {
            if (document_->MayOpen(path.toStdString()))
                OpenVideo(path.toStdString());
        });
    }
    batchDialog_->show();
    batchDialog_->raise();
    batchDialog_->activateWindow();
}

void CTrevantoApp::OpenOnlineVideo() {
    DesktopOnlineVideo online(frame_.get(), *user_);
    StreamUrlDialog dialog(
        urlHistory_,
        [&](const std::string& url) { return ResolveOnlineVideo(url, online, *user_); },
        frame_.get());
    if (dialog.exec() == QDialog::Accepted)
        OpenPlayable(urlHistory_.current, urlHistory_.current);
}

void CTrevantoApp::ToggleTimecode() {
    document_->RecaptionAll();
    frame_->SetTimecodeCheck(document_->TimecodeMode());
}

void CTrevantoApp::ToggleMute() {
    settings_->SetSoundMuted(!settings_->SoundMuted());
    ApplySound();
}

void CTrevantoApp::ChangeVolume(int percent) {
    SetVolume(settings_->SoundVolume() + percent);
    frame_->statusBar()->showMessage(QString("Volume %1%").arg(settings_->SoundVolume()),
                                     kVolumeMessageMilliseconds);
}

void CTrevantoApp::SetVolume(int percent) {
    settings_->SetSoundVolume(percent);
    settings_->SetSoundMuted(false);  // a volume chosen is meant to be heard
    ApplySound();
}

void CTrevantoApp::ApplySound() {
    const bool muted = settings_->SoundMuted();
    document_->Playback().SetSoundVolume(muted ? 0.0 : settings_->SoundVolume() / 100.0);
    frame_->Action(command::kMute)->setChecked(muted);
    frame_->ShowVolume(settings_->SoundVolume(), muted);
}

void CTrevantoApp::GoToChosenFrame() {
    const Player& player = document_->GetPlayer();
    const int32_t last = player.FrameCount() - 1;
    if (last < 0)
        return;
    if (const auto frame = user_->ChooseFrameNumber(std::max(0, player.CurrentFrame()), last))
        document_->Playback().GoToFrame(*frame);
}

void CTrevantoApp::ExtractSelectedAsJpeg() {
    std::vector<int32_t> items = view_->SelectedItems();
    if (items.empty())
        return;
    // Until the publish wizard sets a target, the user names the folder;
    // without one the images would land in the working folder.
    const auto folder = user_->ChooseFolder(settings_->JpegFolder());
    if (!folder)
        return;
    settings_->SetJpegFolder(*folder);
    document_->JpegExport().ExtractAsJpeg(std::move(items), *folder);
}

void CTrevantoApp::CreateScoreGraph() {
    QDockWidget* bar = frame_->ScoresBar();
    scoreGraph_ = new CScoreGraph(bar);
    scoreGraph_->Attach(document_.get());
    bar->setWidget(scoreGraph_);
    // Every presented frame moves the position; a run adds scores. A run
    // goes faster than anyone can watch: the graph is repainted at most
    // every kScoreGraphRepaint, which also spares the run the painting.
    auto* repaint = new QTimer(this);
    repaint->setSingleShot(true);
    repaint->setInterval(kScoreGraphRepaint);
    connect(repaint, &QTimer::timeout, scoreGraph_, qOverload<>(&QWidget::update));
    const auto scheduleRepaint = [repaint] {
        if (!repaint->isActive())
            repaint->start();
    };
    connect(frame_.get(), &CMainFrame::FramePanesUpdated, repaint, scheduleRepaint);
    connect(this, &CTrevantoApp::GraphEventsHandled, repaint, scheduleRepaint);
    connect(scoreGraph_, &CScoreGraph::SeekRequested, this, [this](int frame) {
        if (document_->GetPlayer().State() == PlayerState::Stopped)
            document_->Playback().Pause();
        document_->Playback().SeekToFrame(frame);
    });
    connect(scoreGraph_, &CScoreGraph::ThresholdChosen, this, &CTrevantoApp::OnThresholdChosen);
}

void CTrevantoApp::OnThresholdChosen(float threshold) {
    CPlayerDoc& doc = *document_;
    if (doc.Slicing().IsRunning() || doc.FrameChainRunning() || doc.Slicing().Scores().IsEmpty())
        return;
    const long shots = static_cast<long>(doc.Slicing().Scores().ShotCountAt(threshold));
    const auto answer = user_->AskRecut(FormatText(
        "Cut the video again at threshold %.1f? It gives %ld shots.\n\nShots made by hand or "
        "edited can be kept or replaced as well.",
        static_cast<double>(threshold), shots));
    if (answer == DesktopUserPort::RecutAnswer::Cancel)
        return;
    doc.Editing().RecutShots(threshold, answer == DesktopUserPort::RecutAnswer::KeepOwnShots);
    scoreGraph_->update();
}

bool CTrevantoApp::QueryCloseShots() {
    if (!document_->Editing().ShotsModified() || document_->ShotCount() == 0)
        return true;
    switch (user_->AskSaveDiscardCancel("Save the shots before closing?")) {
        case DesktopUserPort::SaveAnswer::Save:
            // A save that is cancelled or fails keeps the program open.
            return document_->ShotsFile().SaveShots();
        case DesktopUserPort::SaveAnswer::Discard:
            return true;
        case DesktopUserPort::SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void CTrevantoApp::ShowHelp(const std::string& page) {
    // The guide is shipped with the program's other files (share/trevanto).
    const std::string index = helpIndex_.empty() ? FindShippedFile(kHelpFileName) : helpIndex_;
    if (index.empty() || !FileExists(index)) {
        user_->ShowMessage("Help file not installed.");
        return;
    }
    // A window of the frame's, so it closes with the program.
    if (help_ == nullptr)
        help_ = new HelpWindow(frame_.get());
    help_->ShowGuide(QString::fromStdString(index), QString::fromStdString(page));
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void CTrevantoApp::ShowAbout() {
    user_->ShowInformation("About Trevanto", AboutText());
}

void CTrevantoApp::ShowShortcuts() {
    ShortcutsDialog dialog(frame_.get());
    dialog.exec();
}

void CTrevantoApp::CloseVideo() {
    // A run ends with its shots; then nothing of the video stays on show.
    if (document_->Slicing().IsRunning())
        document_->Slicing().StopSlicing();
    document_->CloseVideo();
    frame_->SetVideoTitle({});
    frame_->SetSliderPosition(0);
    frame_->SetSliderStartMark(-1);
    frame_->SetSliderEndMark(-1);
    frame_->UpdateFramePanes(0, 0, document_->TimecodeMode(), 0.0, {});
    document_->RepaintPreview();
}

}  // namespace trevanto
