#include "ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/command_ids.h"
#include "app/settings_store.h"
#include "common/text_format.h"
#include "common/timecode.h"
#include "ui/controls/progress_bar.h"
#include "ui/desktop_resources.h"
#include "ui/preview_widget.h"
#include "ui/video_preview_panel.h"

namespace trevanto {
namespace {

constexpr int kPaneWidth = 100;
constexpr int kDefaultPreviewWidth = 340;

struct RateCommand {
    int32_t id;
    const char* text;
};

constexpr RateCommand kRates[] = {
    {32777, "Play 1/10th speed"}, {32778, "Play 1/3th speed"},  {32779, "Play 1/2 speed"},
    {32780, "Play 0.8x speed"},   {32781, "Play normal speed"}, {32782, "Play x1.5 speed"},
    {32783, "Play x2 speed"},
};

}  // namespace

CMainFrame::CMainFrame(SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings) {
    InitDesktopResources();
    setObjectName("mainFrame");
    setWindowTitle("Trevanto");
    setWindowIcon(QIcon(":/icons/trevanto.svg"));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);
    CreateStatusBar();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePreviewBar();
    SetRecentFiles(settings_.RecentFiles());
    resize(1000, 640);
    // Wide enough by default that a frame keeps a reasonable shape when it is
    // stretched onto the preview.
    if (!RestoreLayout())
        resizeDocks({previewBar_}, {kDefaultPreviewWidth}, Qt::Horizontal);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::AddCommand(int32_t id, const QString& text, const QString& prompt,
                                const QString& icon, bool checkable) {
    auto* action = new QAction(text, this);
    // A prompt is "status bar text\ntooltip"; either part may be missing.
    const QStringList parts = prompt.split('\n');
    action->setStatusTip(parts.value(0));
    action->setToolTip(parts.size() > 1 ? parts.value(1) : QString(text).remove('&'));
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    action->setCheckable(checkable);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit CommandInvoked(id); });
    actions_[id] = action;
    return action;
}

void CMainFrame::CreateActions() {
    using namespace command;
    AddCommand(kFileOpen, "&Open video file", "Open a video file\nOpen")
        ->setShortcut(QKeySequence("Ctrl+O"));
    AddCommand(kOpenOnlineVideo, "Open online video", "Open an url to a video stream\nOpen url");
    AddCommand(kOpenBitmapTemplate, "Open shot bitmap template",
               "Choose the bitmap drawn over every shot thumbnail\nShot bitmap template");
    AddCommand(kExit, "E&xit", "Quit the application\nExit");

    AddCommand(kPlay, "&Play", "Play the video\nPlay", ":/icons/play.svg", true);
    AddCommand(kPause, "&Pause", "Pause the video\nPause", ":/icons/pause.svg", true);
    AddCommand(kStop, "&Stop", "Stop the video\nStop", ":/icons/stop.svg", true);
    QAction* toggle = AddCommand(kTogglePlayPause, "Play/Pause", "Play or pause the video");
    toggle->setShortcut(QKeySequence(Qt::Key_Space));
    toggle->setShortcutContext(Qt::WindowShortcut);
    addAction(toggle);
    for (const RateCommand& rate : kRates) {
        AddCommand(rate.id, rate.text, "Change the playing speed");
    }
    AddCommand(kSetStartMark, "Set start frame",
               "Set the start frame of the play range (Shift clears it)\nSet start frame",
               ":/icons/start_mark.svg");
    AddCommand(kSetEndMark, "Set end frame",
               "Set the end frame of the play range (Shift clears it)\nSet end frame",
               ":/icons/end_mark.svg");
    AddCommand(kInsertShot, "Insert shot", "Insert the current frame as a shot\nInsert shot",
               ":/icons/insert_shot.svg");
    AddCommand(kSampler, "Start/Stop shot sampler",
               "Start/Stop the linear shot sampler\nStart/Stop shot sampler", ":/icons/sampler.svg",
               true);
    AddCommand(kEngine, "Start/Stop shot engine",
               "Start/Stop the intelligent shot engine\nStart/Stop shot engine",
               ":/icons/engine.svg", true);
    AddCommand(kSettings, "Settings...",
               "Choose the shot sampler rate and the shot engine threshold\nSettings",
               ":/icons/settings.svg");
    AddCommand(kPublish, "Publish to the Web", "Publish the shots as web pages\nPublish to the Web",
               ":/icons/publish.svg");
    AddCommand(kLoadShots, "&Load shots...", "Load the shots of a shots file\nLoad shots");
    AddCommand(kSaveShots, "Sa&ve shots...", "Save the shots to a shots file\nSave shots");
    AddCommand(kDeleteShots, "&Delete shots", "Delete every shot\nDelete shots");

    AddCommand(kViewToolbar, "Toolbar", "Show or hide the toolbar\nToggle ToolBar", {}, true);
    AddCommand(kViewPreview, "Video preview", "Show or hide the video preview\nVideo preview", {},
               true);
    AddCommand(kViewTimecode, "Timecode", "Show frame positions as timecodes\nTimecode", {}, true);

    AddCommand(kHelpTopics, "Help Topics", "List Help topics\nHelp Topics");
    AddCommand(kAbout, "&About Trevanto...",
               "Display program information, version number and copyright\nAbout");

    // Features that come later stay visible but cannot be chosen yet.
    for (int32_t id : {kOpenOnlineVideo, kOpenBitmapTemplate, kPublish}) {
        actions_[id]->setEnabled(false);
    }
}

void CMainFrame::CreateMenus() {
    using namespace command;
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->addAction(actions_[kFileOpen]);
    fileMenu_->addAction(actions_[kOpenOnlineVideo]);
    fileMenu_->addAction(actions_[kOpenBitmapTemplate]);
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

    QMenu* play = menuBar()->addMenu("&Media");
    play->addAction(actions_[kPlay]);
    play->addAction(actions_[kPause]);
    play->addAction(actions_[kStop]);
    play->addSeparator();
    for (const RateCommand& rate : kRates)
        play->addAction(actions_[rate.id]);
    play->addSeparator();
    play->addAction(actions_[kSetStartMark]);
    play->addAction(actions_[kSetEndMark]);

    QMenu* shots = menuBar()->addMenu("&Shots");
    shotsMenu_ = shots;
    connect(shots, &QMenu::aboutToShow, this, [this] { emit ShotsMenuAboutToShow(); });
    shots->addAction(actions_[kEngine]);
    shots->addAction(actions_[kSampler]);
    shots->addAction(actions_[kInsertShot]);
    shots->addSeparator();
    shots->addAction(actions_[kLoadShots]);
    shots->addAction(actions_[kSaveShots]);
    shots->addAction(actions_[kDeleteShots]);
    shots->addSeparator();
    shots->addAction(actions_[kSettings]);
    shots->addAction(actions_[kPublish]);

    viewMenu_ = menuBar()->addMenu("&View");
    viewMenu_->addAction(actions_[kViewToolbar]);
    viewMenu_->addAction(actions_[kViewPreview]);
    viewMenu_->addAction(actions_[kViewTimecode]);
    connect(viewMenu_, &QMenu::aboutToShow, this, [this] {
        actions_[command::kViewToolbar]->setChecked(toolBar_->isVisible());
        actions_[command::kViewPreview]->setChecked(previewBar_->isVisible());
        emit ViewMenuAboutToShow();
    });

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(actions_[kHelpTopics]);
    help->addSeparator();
    help->addAction(actions_[kAbout]);
}

void CMainFrame::CreateToolBar() {
    using namespace command;
    toolBar_ = new QToolBar("Toolbar", this);
    toolBar_->setObjectName(kToolBarName);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(24, 24));
    // The twelve slots; 0 is a separator.
    for (int32_t id : {kPlay, kPause, kStop, 0, kSetStartMark, kSetEndMark, kInsertShot, kSampler,
                       kEngine, 0, kSettings, kPublish}) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_[id]);
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    connect(toolBar_, &QToolBar::visibilityChanged, actions_[kViewToolbar], &QAction::setChecked);
    actions_[kViewToolbar]->setChecked(true);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    auto* idle = new QLabel("Ready", bar);
    idle->setObjectName("statusPane0");
    bar->addWidget(idle, 1);
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
    previewBar_ = new QDockWidget("Video preview", this);
    previewBar_->setObjectName(kPreviewBarName);
    previewBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    previewBar_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                             QDockWidget::DockWidgetFloatable);
    previewBar_->setToolTip("Video preview");
    previewPanel_ = new VideoPreviewPanel(previewBar_);
    previewBar_->setWidget(previewPanel_);
    addDockWidget(Qt::LeftDockWidgetArea, previewBar_);
    QAction* viewPreview = actions_[command::kViewPreview];
    // The signal's own value: it also comes while the frame is being torn down.
    connect(previewBar_, &QDockWidget::visibilityChanged, viewPreview, &QAction::setChecked);
    viewPreview->setChecked(true);

    QSlider* slider = previewPanel_->Slider();
    connect(slider, &QSlider::sliderMoved, this,
            [this](int position) { emit SliderMoved(position, false); });
    // Keys and clicks on the groove move the slider by a step; the drag's end
    // seeks once more so the last position is always reached.
    connect(slider, &QSlider::actionTriggered, this, [this, slider](int action) {
        if (action == QAbstractSlider::SliderMove)
            return;
        emit SliderMoved(slider->sliderPosition(), false);
    });
    connect(slider, &QSlider::sliderReleased, this,
            [this, slider] { emit SliderMoved(slider->value(), true); });
}

QAction* CMainFrame::Action(int32_t commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

QSlider* CMainFrame::NavigationSlider() const {
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
    using namespace command;
    if (commandId != kPlay && commandId != kPause && commandId != kStop && commandId != kSampler &&
        commandId != kEngine) {
        return;
    }
    actions_[commandId]->setChecked(checked);
}

void CMainFrame::UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode,
                                  double durationSeconds) {
    panes_[0]->setText(QString::fromStdString(
        FormatText("Frame=%ld/%ld", static_cast<long>(current), static_cast<long>(count))));
    std::string position;
    if (timecodeMode) {
        position = FormatTimecode(current, count, durationSeconds, ':') + " / " +
                   FormatTimecode(count, count, durationSeconds, ':');
    } else {
        position = FormatText("%ld / %ld", static_cast<long>(current), static_cast<long>(count));
    }
    previewPanel_->PositionLabel()->setText(QString::fromStdString(position));
}

void CMainFrame::UpdateShotCount(int32_t count) {
    panes_[2]->setText(
        QString::fromStdString(FormatText("TotalShots=%ld", static_cast<long>(count))));
}

void CMainFrame::SetSliderPosition(int32_t position) {
    QSlider* slider = previewPanel_->Slider();
    // The user's drag wins over the frames that arrive meanwhile.
    if (slider->isSliderDown())
        return;
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
}

void CMainFrame::SetSliderStartMark(int32_t position) {
    startMark_ = position;
    previewPanel_->Slider()->setProperty("startMark", position);
}

void CMainFrame::SetSliderEndMark(int32_t position) {
    endMark_ = position;
    previewPanel_->Slider()->setProperty("endMark", position);
}

void CMainFrame::SetSliderLineSize(int32_t lineSize) {
    previewPanel_->Slider()->setSingleStep(std::max(1, lineSize));
}

void CMainFrame::SetVideoTitle(const std::string& fileName) {
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
    progress_.reset();
    progress_ = std::make_unique<CProgressBar>(statusBar(), QString::fromStdString(caption), 100,
                                               32767, false);
}

void CMainFrame::SetProgress(int32_t position) {
    if (progress_)
        progress_->SetPos(position);
}

void CMainFrame::EndProgress() {
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
    if (!restoreState(layout->state))
        return false;
    if (const auto sizes = settings_.LoadDockSizes(kPreviewBarId)) {
        if (previewBar_->isFloating()) {
            if (sizes->sizeFloatCX > 0 && sizes->sizeFloatCY > 0) {
                previewBar_->resize(sizes->sizeFloatCX, sizes->sizeFloatCY);
            }
        } else if (sizes->sizeVertCX > 0) {
            resizeDocks({previewBar_}, {sizes->sizeVertCX}, Qt::Horizontal);
        }
    }
    return true;
}

void CMainFrame::SaveLayout() {
    DockSizes sizes;
    if (const auto previous = settings_.LoadDockSizes(kPreviewBarId))
        sizes = *previous;
    const QSize size = previewBar_->size();
    if (previewBar_->isFloating()) {
        sizes.sizeFloatCX = size.width();
        sizes.sizeFloatCY = size.height();
    } else {
        sizes.sizeVertCX = size.width();
        sizes.sizeVertCY = size.height();
    }
    // The bar never docks at the top or bottom; its horizontal size follows
    // the vertical one so that the section is complete.
    sizes.sizeHorzCX = sizes.sizeVertCX;
    sizes.sizeHorzCY = sizes.sizeVertCY;
    settings_.SaveDockSizes(kPreviewBarId, sizes);
    settings_.SaveBarLayout({saveState(), {kToolBarName, kPreviewBarName}});
    settings_.Sync();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
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
