#pragma once
// The application object: owns the settings, the shot bitmap template, the
// URL history, the one document, the main frame and the thumbnail view; it
// routes the commands and carries the graph's events to the UI thread.
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/settings/settings_store.h"
#include "export/shot_template.h"
#include "video/media_graph.h"

namespace trevanto {

class BatchDialog;
class CMainFrame;
class CPlayerDoc;
class CScoreGraph;
class CThumbView;
class MenuShadows;
class DesktopUserPort;
class HelpWindow;

struct AppOptions {
    // Empty: the user's own settings file.
    std::string settingsPath;
    // Null: the graph on FFmpeg.
    MediaGraphFactory graphFactory;
    // Null: message boxes and file dialogs.
    DesktopUserPort* user = nullptr;
    // Unpaced playback hands over every frame as fast as decoding goes.
    bool pacedPlayback = true;
};

class CTrevantoApp : public QObject {
    Q_OBJECT
  public:
    // The user guide's contents page, among the program's shipped files.
    static constexpr const char* kHelpFileName = "help/index.html";

    explicit CTrevantoApp(AppOptions options = {});
    ~CTrevantoApp() override;

    // Shows the main window. Then a video or shots file named on the command
    // line is opened (OpenDocument); false when that fails, which ends the
    // start-up.
    bool Start(const std::string& commandLineVideo = {});
    // Saves the URL history; called once when the program ends.
    void Exit();

    bool OpenVideo(const std::string& path);
    // A file given to the program (command line, file manager): a shots file
    // loads its video and rebuilds its shots, anything else opens as a video.
    // False when no video is open afterwards.
    bool OpenDocument(const std::string& path);
    // Brings the main window to the front (a later start handed a file over).
    void ShowWindow();
    // A menu, toolbar, accelerator or context menu command: run from the
    // command table when its rule allows it now.
    void OnCommand(int32_t commandId);

    // What commands do beyond the document's own.
    void OpenChosenVideo();
    // "Open shot bitmap template": the template for the thumbnails and images
    // made from now on, kept for later starts when it loads.
    void OpenShotTemplate();
    // "Open online video": a stream URL, or a stream of an ASX script.
    void OpenOnlineVideo();
    // "Slice a folder...": the batch dialog, kept while the program runs so
    // that its table stays; its "Open" opens a finished video's shots file.
    void SliceFolder();
    void ToggleTimecode();
    // "Slice in real time": the next runs play paced, or no longer; remembered.
    void ToggleRealTimeSlicing();
    // The Settings dialog; the detector chosen is kept between runs.
    void EditSlicingSettings();
    // "Mute", "Volume up" / "Volume down" (by `percent`) and the toolbar's
    // volume slider (to `percent`), kept for later starts.
    void ToggleMute();
    void ChangeVolume(int percent);
    void SetVolume(int percent);
    // "Go to frame...": the frame of the number the user enters.
    void GoToChosenFrame();
    // "Extract as jpeg": the selected shots, into a folder the user chooses.
    void ExtractSelectedAsJpeg();
    // "Help Topics": the user guide in its window, at `page` of it when given.
    void ShowHelp(const std::string& page = {});
    // The guide's contents page from now on; empty: the one installed with
    // the program (kHelpFileName).
    void SetHelpIndex(std::string index) { helpIndex_ = std::move(index); }
    void ShowAbout();
    // "Keyboard shortcuts": every command's keys, from the command table.
    void ShowShortcuts();
    // "Close video": the shots stay, for another video or to be saved.
    void CloseVideo();

    CPlayerDoc& Document() { return *document_; }
    CMainFrame& Frame() { return *frame_; }
    CThumbView& View() { return *view_; }
    CScoreGraph& ScoreGraph() { return *scoreGraph_; }
    SettingsStore& Settings() { return *settings_; }
    const ShotTemplate& Template() const { return template_; }
    UrlHistoryValues& UrlHistory() { return urlHistory_; }
    DesktopUserPort& User() { return *user_; }

  signals:
    // Graph events have been handled (a few milliseconds' worth at a time).
    void GraphEventsHandled();

  private:
    // Opens what the player can play, and lists `recentName` in the recent files.
    bool OpenPlayable(const std::string& video, const std::string& recentName);
    void OnGraphNotify();
    // The volume and mute of the settings, to the document and the Mute check.
    void ApplySound();
    // The threshold line of the score graph was let go at `threshold`.
    void OnThresholdChosen(float threshold);
    // The "Change scores" bar at the bottom of the window.
    void CreateScoreGraph();
    // Before the window closes: unsaved shots are saved, discarded, or the
    // window stays. False keeps it open.
    bool QueryCloseShots();
    void RefreshRecentFiles();
    // The template chosen in an earlier run, else the built-in one; silent.
    void LoadStartupTemplate();

    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<DesktopUserPort> ownUser_;
    DesktopUserPort* user_ = nullptr;
    ShotTemplate template_;
    UrlHistoryValues urlHistory_;
    std::unique_ptr<CMainFrame> frame_;
    CThumbView* view_ = nullptr;         // owned by the frame
    CScoreGraph* scoreGraph_ = nullptr;  // owned by the frame
    std::unique_ptr<CPlayerDoc> document_;
    // Set while a queued drain of the graph's events is on its way.
    std::atomic<bool> drainQueued_{false};
    bool exited_ = false;
    // Drawn under popup menus from start-up to exit, where the window system
    // draws none.
    std::unique_ptr<MenuShadows> shadows_;
    std::string helpIndex_;
    // Made when the guide is first asked for; owned by the frame.
    HelpWindow* help_ = nullptr;
    // Made when first asked for; owned by the frame.
    BatchDialog* batchDialog_ = nullptr;
};

}  // namespace trevanto
