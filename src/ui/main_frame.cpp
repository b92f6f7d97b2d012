#include "ui/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <span>

#include "app/commands/command_ids.h"
#include "app/commands/command_rules.h"
#include "app/settings/settings_store.h"
#include "common/text_format.h"
#include "common/timecode.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/sizing_control_bar.h"
#include "ui/desktop_commands.h"
#include "ui/desktop_resources.h"
#include "ui/preview_widget.h"
#include "ui/video_preview_panel.h"
#include "ui/window_placement.h"

namespace trevanto {
namespace {

constexpr int kPaneWidth = 100;
// The share of the window's width the video preview starts with, in percent.
constexpr int kPreviewShare = 40;

// The menus and the toolbar in order; 0 is a separator.
constexpr int32_t kMediaMenu[] = {command::kPlay,
                                  command::kPause,
                                  command::kStop,
                                  0,
                                  command::kPreviousFrame,
                                  command::kNextFrame,
                                  command::kGoToFrame,
                                  0,
                                  command::kRateTenth,
                                  command::kRateThird,
                                  command::kRateHalf,
                                  command::kRateSlow,
                                  command::kRateNormal,
                                  command::kRateFast,
                                  command::kRateDouble,
                                  0,
                                  command::kSetStartMark,
                                  command::kSetEndMark,
                                  0,
                                  command::kMute,
                                  command::kVolumeUp,
                                  command::kVolumeDown};
constexpr int32_t kShotsMenu[] = {command::kEngine,          command::kSampler,
                                  command::kSliceInRealTime, command::kInsertShot,
                                  command::kSplitShot,       0,
                                  command::kLoadShots,       command::kSaveShots,
                                  command::kDeleteShots,     0,
                                  command::kSettings,        command::kPublish};
constexpr int32_t kViewMenu[] = {command::kViewToolbar,
                                 command::kViewStatusBar,
                                 command::kViewPreview,
                                 command::kViewScores,
                                 0,
                                 command::kFullScreen,
                                 0,
                                 command::kViewTimecode};
constexpr int32_t kHelpMenu[] = {command::kHelpTopics, command::kShortcuts, 0, command::kAbout};
constexpr int32_t kToolBar[] = {command::kPlay,
                                command::kPause,
                                command::kStop,
                                0,
                                command::kSetStartMark,
                                command::kSetEndMark,
                                command::kInsertShot,
                                command::kSampler,
                                command::kEngine,
                                0,
                                command::kSettings,
                                command::kPublish,
                                0,
                                command::kMute};

// Fills a menu or the toolbar.
template <class Bar>
void AddCommands(Bar* bar, std::span<const int32_t> ids,
                 const std::map<int32_t, QAction*>& actions) {
    for (const int32_t id : ids) {
        if (id == 0) {
            bar->addSeparator();
        } else {
            bar->addAction(actions.at(id));
        }
    }
}

DockSizes ToDockSizes(const BarSizes& sizes) {
    return {sizes.horz.width(),  sizes.horz.height(),    sizes.vert.width(),
            sizes.vert.height(), sizes.floating.width(), sizes.floating.height()};
}

BarSizes ToBarSizes(const DockSizes& sizes) {
    return {{sizes.sizeHorzCX, sizes.sizeHorzCY},
            {sizes.sizeVertCX, sizes.sizeVertCY},
            {sizes.sizeFloatCX, sizes.sizeFloatCY}};
}

}  // namespace

CMainFrame::CMainFrame(SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings) {
    InitDesktopResources();
    setObjectName("mainFrame");
    setWindowTitle("Trevanto");
    setWindowIcon(QIcon(":/icons/trevanto.svg"));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);
    commandRefresh_.setSingleShot(true);
    commandRefresh_.setInterval(0);
    connect(&commandRefresh_, &QTimer::timeout, this, &CMainFrame::CommandStateWanted);
    CreateStatusBar();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePreviewBar();
    CreateScoresBar();
    SetRecentFiles(settings_.RecentFiles());
    PlaceWindow();
    // The video gets a useful share of the window at first; a saved layout
    // (RestoreLayout) gives it its own.
    BarSizes sizes = previewBar_->Sizes();
    sizes.vert.setWidth(std::max(sizes.vert.width(), width() * kPreviewShare / 100));
    previewBar_->SetSizes(sizes);
}

void CMainFrame::PlaceWindow() {
    std::optional<QRect> saved;
    bool maximized = false;
    if (const std::optional<WindowPlacement> placement = settings_.LoadWindowPlacement()) {
        saved = QRect(placement->x, placement->y, placement->width, placement->height);
        maximized = placement->maximized;
    }
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect primaryArea =
        primary != nullptr ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect geometry = MainWindowGeometry(saved, screens, primaryArea);
    setGeometry(geometry);
    if (maximized && geometry == saved)
        setWindowState(windowState() | Qt::WindowMaximized);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateActions() {
    for (const DesktopCommand& command : DesktopCommands()) {
        if (IsThumbViewCommand(command.id))
            continue;
        auto* action = new QAction(command.text, this);
        const QStringList parts = QString(command.prompt).split('\n');
        action->setStatusTip(parts.value(0));
        action->setToolTip(parts.size() > 1 ? parts.value(1) : QString(command.text).remove('&'));
        if (*command.icon != '\0')
            action->setIcon(QIcon(command.icon));
        action->setCheckable(command.checkable);
        action->setData(command.id);
        if (*command.shortcut != '\0') {
            action->setShortcut(QKeySequence(command.shortcut));
            // Space plays and pauses wherever the focus is in the window.
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        const int32_t id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { emit CommandInvoked(id); });
        actions_[id] = action;
    }
    stopRun_ = new QAction(this);
    stopRun_->setShortcut(QKeySequence(Qt::Key_Escape));
    stopRun_->setShortcutContext(Qt::WindowShortcut);
    addAction(stopRun_);
    connect(stopRun_, &QAction::triggered, this, &CMainFrame::StopRunRequested);
    EnableCommands(CommandState{});
}

void CMainFrame::EnableCommands(const CommandState& state) {
    stopRun_->setEnabled(state.slicing);
    for (const auto& [id, action] : actions_) {
        action->setEnabled(CommandEnabled(id, state));
        if (const std::optional<std::string> text = CommandText(id, state))
            action->setText(QString::fromStdString(*text));
    }
    CheckCommands(state);
}

void CMainFrame::ScheduleCommandRefresh() {
    if (!commandRefresh_.isActive())
        commandRefresh_.start();
}

void CMainFrame::CheckCommands(const CommandState& state) {
    for (const auto& [id, action] : actions_) {
        if (const std::optional<bool> checked = CommandChecked(id, state))
            action->setChecked(*checked);
    }
}

void CMainFrame::CreateMenus() {
    using namespace command;
    // Every menu shows its commands as the state is when it opens.
    const auto enableOnShow = [this](QMenu* menu) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::CommandStateWanted);
    };
    fileMenu_ = menuBar()->addMenu("&File");
    enableOnShow(fileMenu_);
    fileMenu_->addAction(actions_[kFileOpen]);
    fileMenu_->addAction(actions_[kOpenOnlineVideo]);
    fileMenu_->addAction(actions_[kOpenBitmapTemplate]);
    fileMenu_->addAction(actions_[kExportShotList]);
    fileMenu_->addAction(actions_[kSliceFolder]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[kSaveShots]);
    fileMenu_->addAction(actions_[kCloseVideo]);
    recentSeparator_ = fileMenu_->addSeparator();
    for (int i = 0; i < SettingsStore::kRecentFileCount; ++i) {
        auto* recent = new QAction(this);
        recent->setVisible(false);
        recent->setStatusTip("Open this document");
        connect(recent, &QAction::triggered, this,
                [this, recent] { emit RecentFileChosen(recent->data().toString()); });
        fileMenu_->addAction(recent);
        recentFileActions_.push_back(recent);
    }
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[kExit]);

    QMenu* editMenu = menuBar()->addMenu("&Edit");
    enableOnShow(editMenu);
    editMenu->addAction(actions_[kUndo]);
    editMenu->addAction(actions_[kRedo]);

    QMenu* mediaMenu = menuBar()->addMenu("&Media");
    enableOnShow(mediaMenu);
    AddCommands(mediaMenu, kMediaMenu, actions_);
    // The speeds show as one choice among them.
    auto* rates = new QActionGroup(this);
    for (const command::RateCommand& rate : command::kRates)
        rates->addAction(actions_[rate.id]);

    shotsMenu_ = menuBar()->addMenu("&Shots");
    enableOnShow(shotsMenu_);
    AddCommands(shotsMenu_, kShotsMenu, actions_);

    viewMenu_ = menuBar()->addMenu("&View");
    enableOnShow(viewMenu_);
    AddCommands(viewMenu_, kViewMenu, actions_);
    connect(viewMenu_, &QMenu::aboutToShow, this, [this] {
        actions_[command::kViewToolbar]->setChecked(!toolBar_->isHidden());
        actions_[command::kViewStatusBar]->setChecked(!statusBar()->isHidden());
        actions_[command::kViewPreview]->setChecked(!previewBar_->isHidden());
        actions_[command::kViewScores]->setChecked(!scoresBar_->isHidden());
        actions_[command::kFullScreen]->setChecked(PreviewFullScreen());
        emit ViewMenuAboutToShow();
    });

    QMenu* helpMenu = menuBar()->addMenu("&Help");
    enableOnShow(helpMenu);
    AddCommands(helpMenu, kHelpMenu, actions_);
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar("Toolbar", this);
    toolBar_->setObjectName(kToolBarName);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(24, 24));
    AddCommands(toolBar_, kToolBar, actions_);
    // The volume next to the Mute button; the keyboard steps it by 5 percent
    // once it has the focus (Tab), as the Volume commands do by 10.
    volumeSlider_ = new QSlider(Qt::Horizontal, toolBar_);
    volumeSlider_->setObjectName("VolumeSlider");
    volumeSlider_->setRange(0, 100);
    volumeSlider_->setSingleStep(5);
    volumeSlider_->setPageStep(10);
    volumeSlider_->setFixedWidth(90);
    volumeSlider_->setToolTip("Volume");
    volumeSlider_->setAccessibleName("Volume");
    toolBar_->addWidget(volumeSlider_);
    connect(volumeSlider_, &QSlider::valueChanged, this, &CMainFrame::VolumeChosen);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    FollowWithCheck(toolBar_, command::kViewToolbar);
}

void CMainFrame::FollowWithCheck(QWidget* bar, int32_t commandId) {
    // Shown or hidden by the menu, the bar's close button or a restored layout.
    class VisibilityWatch : public QObject {
      public:
        VisibilityWatch(QWidget* watched, QAction* check) : QObject(watched), check_(check) {
            watched->installEventFilter(this);
        }

      protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
                check_->setChecked(!static_cast<QWidget*>(watched)->isHidden());
            return false;
        }

      private:
        QAction* check_;
    };
    QAction* check = actions_[commandId];
    new VisibilityWatch(bar, check);
    check->setChecked(!bar->isHidden());
}

void CMainFrame::ShowVolume(int percent, bool muted) {
    const QSignalBlocker quiet(volumeSlider_);  // shown, not chosen
    volumeSlider_->setValue(percent);
    volumeSlider_->setToolTip(muted ? QString("Volume %1% (muted)").arg(percent)
                                    : QString("Volume %1%").arg(percent));
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    readyPane_ = new QLabel("Ready", bar);
    readyPane_->setObjectName("statusPane0");
    bar->addWidget(readyPane_, 1);
    for (int pane = 1; pane <= 3; ++pane) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString("statusPane%1").arg(pane));
        label->setProperty("statusPane", pane);
        // 100 pixels, wider only when a text would not fit (large frame counts).
        label->setMinimumWidth(kPaneWidth);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(label);
        panes_.push_back(label);
    }
}

void CMainFrame::CreatePreviewBar() {
    previewBar_ = new CSizingControlBarG("Video preview", this, kPreviewBarId);
    previewBar_->setObjectName(kPreviewBarName);
    previewBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    previewBar_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                             QDockWidget::DockWidgetFloatable);
    previewBar_->setToolTip("Video preview");
    previewPanel_ = new VideoPreviewPanel(previewBar_);
    previewBar_->setWidget(previewPanel_);
    addDockWidget(Qt::LeftDockWidgetArea, previewBar_);
    FollowWithCheck(previewBar_, command::kViewPreview);
    // A double click on the video shows it on the whole screen, and back.
    // On the whole screen the video is a window of its own: the keys of the
    // commands (Space, the frame steps, F11) go with it.
    connect(previewPanel_, &VideoPreviewPanel::FullScreenToggled, this, [this] {
        const bool on = PreviewFullScreen();
        actions_[command::kFullScreen]->setChecked(on);
        PreviewWidget* preview = previewPanel_->Preview();
        if (on) {
            preview->addActions(actions());
        } else {
            for (QAction* action : actions())
                preview->removeAction(action);
        }
    });

    // Every seek the slider asks for goes to the document.
    connect(previewPanel_->Slider(), &CMySliderCtrl::SeekFromSlider, this,
            [this](int position, int /*range*/, bool force) { emit SliderMoved(position, force); });
    connect(previewPanel_->Slider(), &CMySliderCtrl::StepRequested, this,
            &CMainFrame::SliderStepRequested);
}

void CMainFrame::CreateScoresBar() {
    scoresBar_ = new QDockWidget("Change scores", this);
    scoresBar_->setObjectName(kScoresBarName);
    scoresBar_->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, scoresBar_);
    FollowWithCheck(scoresBar_, command::kViewScores);
    FollowWithCheck(statusBar(), command::kViewStatusBar);
}

void CMainFrame::TogglePreviewFullScreen() {
    previewPanel_->SetPreviewFullScreen(!previewPanel_->PreviewFullScreen());
}

bool CMainFrame::PreviewFullScreen() const {
    return previewPanel_->PreviewFullScreen();
}

QAction* CMainFrame::Action(int32_t commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

CSizingControlBar* CMainFrame::PreviewBar() const {
    return previewBar_;
}
CMySliderCtrl* CMainFrame::NavigationSlider() const {
    return previewPanel_->Slider();
}
PreviewWidget* CMainFrame::Preview() const {
    return previewPanel_->Preview();
}
QLabel* CMainFrame::PositionLabel() const {
    return previewPanel_->PositionLabel();
}

QLabel* CMainFrame::StatusPane(int index) const {
    return index >= 1 && index <= 3 ? panes_[static_cast<size_t>(index - 1)] : nullptr;
}

void CMainFrame::CheckButton(int32_t commandId, bool checked) {
    ScheduleCommandRefresh();  // the player or a run changed its state
    if (QAction* action = Action(commandId); action != nullptr && action->isCheckable())
        action->setChecked(checked);
}

void CMainFrame::UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode,
                                  double durationSeconds, const PictureTimes& times) {
    panes_[0]->setText(QString::fromStdString(
        FormatText("Frame=%ld/%ld", static_cast<long>(current), static_cast<long>(count))));
    std::string position;
    if (timecodeMode) {
        position = FormatTimecode(current, count, durationSeconds, ':', times) + " / " +
                   FormatTimecode(count, count, durationSeconds, ':', times);
    } else {
        position = FormatText("%ld / %ld", static_cast<long>(current), static_cast<long>(count));
    }
    previewPanel_->PositionLabel()->setText(QString::fromStdString(position));
    previewPanel_->SetDuration(count > 0 ? durationSeconds : 0.0);
    emit FramePanesUpdated();
}

void CMainFrame::ShowNoSound(bool noSound) {
    readyPane_->setText(noSound ? "No sound" : "Ready");
}

void CMainFrame::UpdateShotCount(int32_t count) {
    ScheduleCommandRefresh();
    panes_[2]->setText(
        QString::fromStdString(FormatText("TotalShots=%ld", static_cast<long>(count))));
}

void CMainFrame::ShowSlicingStatus(const std::string& text) {
    panes_[1]->setText(QString::fromStdString(text));
}

void CMainFrame::SetSliderPosition(int32_t position) {
    previewPanel_->Slider()->SetPos(position);
}

void CMainFrame::SetSliderStartMark(int32_t position) {
    previewPanel_->Slider()->SetStartMark(position);
}

void CMainFrame::SetSliderEndMark(int32_t position) {
    previewPanel_->Slider()->SetEndMark(position);
}

void CMainFrame::SetVideoTitle(const std::string& fileName) {
    ScheduleCommandRefresh();  // a video opened or closed
    const QString name = QString::fromStdString(fileName);
    previewBar_->setWindowTitle(name.isEmpty() ? QString("Video preview") : name);
    setWindowTitle(name.isEmpty() ? QString("Trevanto") : name + " - Trevanto");
}

bool CMainFrame::PresentFrame(const std::shared_ptr<const Surface>& frame) {
    return previewPanel_->Preview()->Present(frame);
}

void CMainFrame::PostOpenFileCommand() {
    QMetaObject::invokeMethod(
        this, [this] { emit CommandInvoked(command::kFileOpen); }, Qt::QueuedConnection);
}

void CMainFrame::BeginProgress(const std::string& caption) {
    ScheduleCommandRefresh();  // a chain of frame jobs starts
    progress_.reset();
    progress_ = std::make_unique<CProgressBar>(statusBar(), QString::fromStdString(caption), 100,
                                               32767, false);
}

void CMainFrame::SetProgress(int32_t position) {
    if (progress_)
        progress_->SetPos(position);
}

void CMainFrame::EndProgress() {
    ScheduleCommandRefresh();
    progress_.reset();
}

void CMainFrame::SetRecentFiles(const std::vector<std::string>& files) {
    for (size_t i = 0; i < recentFileActions_.size(); ++i) {
        QAction* recent = recentFileActions_[i];
        if (i < files.size()) {
            const QString path = QString::fromStdString(files[i]);
            recent->setText(QString("&%1 %2").arg(i + 1).arg(path));
            recent->setData(path);
            recent->setVisible(true);
        } else {
            recent->setVisible(false);
        }
    }
    recentSeparator_->setVisible(!files.empty());
}

void CMainFrame::SetTimecodeCheck(bool on) {
    actions_[command::kViewTimecode]->setChecked(on);
}

bool CMainFrame::RestoreLayout() {
    statusBar()->setVisible(settings_.StatusBarShown());
    const std::optional<BarLayout> layout = settings_.LoadBarLayout();
    if (!layout)
        return false;
    // A layout saved with bars this window does not have is not used at all.
    for (const std::string& name : layout->barNames) {
        const QString barName = QString::fromStdString(name);
        if (findChild<QToolBar*>(barName) == nullptr &&
            findChild<QDockWidget*>(barName) == nullptr) {
            return false;
        }
    }
    // The bar's own sizes are read first, over the ones it has now; they
    // take effect once the layout has put the bar in its place.
    const DockSizes stored =
        settings_.LoadDockSizes(kPreviewBarId, ToDockSizes(previewBar_->Sizes()));
    if (!restoreState(layout->state))
        return false;
    previewBar_->SetSizes(ToBarSizes(stored));
    return true;
}

void CMainFrame::SaveLayout() {
    // The size it has when not maximised, to come back to.
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    settings_.SaveWindowPlacement(
        {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()});
    settings_.SaveDockSizes(kPreviewBarId, ToDockSizes(previewBar_->Sizes()));
    settings_.SaveBarLayout({saveState(), {kToolBarName, kPreviewBarName, kScoresBarName}});
    settings_.SetStatusBarShown(!statusBar()->isHidden());
    settings_.Sync();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    // The layout is saved with the video back in its bar.
    if (PreviewFullScreen())
        TogglePreviewFullScreen();
    SaveLayout();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    // The first dropped file is opened, as the open command would.
    const QUrl& url = urls.front();
    emit FileDropped(url.isLocalFile() ? url.toLocalFile() : url.toString());
    event->acceptProposedAction();
}

}  // namespace trevanto
