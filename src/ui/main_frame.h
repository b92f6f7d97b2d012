#pragma once
// The program's single frame window: the shot thumbnail view in the middle, a
// toolbar, a status bar with four panes and the "Video preview" docking bar.
// The document drives the toolbar check states, the panes, the slider and the
// preview through FramePort; long operations show their progress bar here.
#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "app/document/document_ports.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/controls/sizing_control_bar.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QSlider;
class QToolBar;

namespace trevanto {

class CProgressBar;
class PreviewWidget;
class SettingsStore;
struct CommandState;
class VideoPreviewPanel;

class CMainFrame : public QMainWindow, public FramePort, public ProgressPort {
    Q_OBJECT
  public:
    // The control id of the preview bar, naming its size section.
    static constexpr int32_t kPreviewBarId = 123;
    static constexpr const char* kToolBarName = "Toolbar";
    static constexpr const char* kPreviewBarName = "VideoPreviewBar";
    static constexpr const char* kScoresBarName = "ChangeScoresBar";

    explicit CMainFrame(SettingsStore& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // FramePort
    void CheckButton(int32_t commandId, bool checked) override;
    void UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode, double durationSeconds,
                          const PictureTimes& times) override;
    void UpdateShotCount(int32_t count) override;
    void ShowSlicingStatus(const std::string& text) override;
    void SetSliderPosition(int32_t position) override;
    void SetSliderStartMark(int32_t position) override;
    void SetSliderEndMark(int32_t position) override;
    void SetVideoTitle(const std::string& fileName) override;
    bool PresentFrame(const std::shared_ptr<const Surface>& frame) override;
    void PostOpenFileCommand() override;
    void ShowNoSound(bool noSound) override;

    // ProgressPort: one status-bar progress bar at a time.
    void BeginProgress(const std::string& caption) override;
    void SetProgress(int32_t position) override;
    void EndProgress() override;
    const CProgressBar* Progress() const { return progress_.get(); }

    // The action of a command id; null for an unknown id.
    QAction* Action(int32_t commandId) const;
    QToolBar* ToolBar() const { return toolBar_; }
    CSizingControlBar* PreviewBar() const;
    // The "Change scores" bar at the bottom; its graph is the owner's.
    QDockWidget* ScoresBar() const { return scoresBar_; }
    // The video alone on the whole screen, or back in its bar.
    void TogglePreviewFullScreen();
    bool PreviewFullScreen() const;
    CMySliderCtrl* NavigationSlider() const;
    PreviewWidget* Preview() const;
    QLabel* PositionLabel() const;
    // Status pane 1 to 3.
    QLabel* StatusPane(int index) const;
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* ViewMenu() const { return viewMenu_; }
    QMenu* ShotsMenu() const { return shotsMenu_; }
    // Enables every command by its rule.
    void EnableCommands(const CommandState& state);
    // The state may have changed: the commands are enabled anew once the
    // events at hand are handled (CommandStateWanted), several changes at once.
    void ScheduleCommandRefresh();
    // Checks every check item that has a rule (the speeds, the slicing pace).
    void CheckCommands(const CommandState& state);
    // Asked before the window closes; false keeps it open.
    void SetCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    // The recent file list of the File menu, most recent first.
    void SetRecentFiles(const std::vector<std::string>& files);
    // Checked while the document shows timecodes; asked when the View menu opens.
    void SetTimecodeCheck(bool on);
    // The toolbar's volume slider shows `percent`; its tooltip says when muted.
    void ShowVolume(int percent, bool muted);
    QSlider* VolumeSlider() const { return volumeSlider_; }

    // Restores the saved bar layout when it names only bars that exist.
    // Returns whether it was restored; else the bars keep their first places.
    // Called once every bar is made.
    bool RestoreLayout();
    void SaveLayout();

  signals:
    // A menu, toolbar or accelerator command; routed by the application object.
    void CommandInvoked(int32_t commandId);
    void RecentFileChosen(const QString& path);
    void FileDropped(const QString& path);
    // The user set the volume on the toolbar's slider, 0 to 100.
    void VolumeChosen(int percent);
    // The navigation slider was moved by the user.
    void SliderMoved(int position, bool force);
    // The View menu is about to show; the owner refreshes the timecode check.
    void ViewMenuAboutToShow();
    // A menu is about to show, or the state may have changed under the
    // toolbar: the owner enables and checks the commands (EnableCommands).
    void CommandStateWanted();
    // A key of the navigation slider asks for a step.
    void SliderStepRequested(CMySliderCtrl::Step step);
    // Escape during a slicing run: the run ends, keeping its shots.
    void StopRunRequested();
    // The frame panes show a new position.
    void FramePanesUpdated();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePreviewBar();
    void CreateScoresBar();
    // The View menu's checks follow the bars as they show and hide.
    void FollowWithCheck(QWidget* bar, int32_t commandId);
    // Where it was left, when that still fits a screen; else a share of the
    // primary screen.
    void PlaceWindow();

    SettingsStore& settings_;
    std::map<int32_t, QAction*> actions_;
    std::vector<QAction*> recentFileActions_;
    QToolBar* toolBar_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    CSizingControlBarG* previewBar_ = nullptr;
    QDockWidget* scoresBar_ = nullptr;
    VideoPreviewPanel* previewPanel_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* shotsMenu_ = nullptr;
    std::function<bool()> closeGuard_;
    QAction* recentSeparator_ = nullptr;
    QLabel* readyPane_ = nullptr;  // "Ready", or "No sound"
    std::vector<QLabel*> panes_;
    std::unique_ptr<CProgressBar> progress_;
    QTimer commandRefresh_;
    // Enabled only while a run goes, so that Escape keeps closing editors
    // and dialogs otherwise.
    QAction* stopRun_ = nullptr;
};

}  // namespace trevanto
