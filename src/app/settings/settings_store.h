#pragma once
// What outlives a run of the program: the recent file list, the bar layout of
// the main window with the docking bar sizes, and the URL history. One
// settings file in the native format stands for the user's registry root, and
// the keys keep the registry paths the program has always used:
//   Software/Trevanto/Trevanto/...           the application profile (and the
//                                            JPEG folder in Settings/JpegFolder,
//                                            the slicing pace in
//                                            Settings/SliceInRealTime,
//                                            Settings/SlicingJobs,
//                                            the shot template in
//                                            Settings/ShotTemplate..., the
//                                            sound in Settings/SoundVolume
//                                            and Settings/SoundMuted, the
//                                            status bar's View check in
//                                            Settings/StatusBarShown)
//   SOFTWARE/Qelvar/Trevanto/options/urls/   the URL history (urls0, urls1,
//                                            ... and the key's default value)
#include <QByteArray>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "online/url_history.h"
#include "shots/slicing_settings.h"

class QSettings;

namespace trevanto {

// The bar state of the main window and the names of the bars it was saved
// with, so that a layout of other bars can be recognised and ignored.
struct BarLayout {
    QByteArray state;
    std::vector<std::string> barNames;
};

// The six sizes a docking bar keeps in the "<profile>-SCBar-<id>" section.
struct DockSizes {
    int32_t sizeHorzCX = 0;
    int32_t sizeHorzCY = 0;
    int32_t sizeVertCX = 0;
    int32_t sizeVertCY = 0;
    int32_t sizeFloatCX = 0;
    int32_t sizeFloatCY = 0;
    bool operator==(const DockSizes&) const = default;
};

// Where the main window was left: its geometry without the frame, in the
// desktop's coordinates, and whether it was maximised.
struct WindowPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

// The shot bitmap template the user chose last, used again at the next start.
struct ShotTemplateFile {
    std::string path;
    uint32_t transparentColour = 0xFF00FF;  // 0xRRGGBB
    bool operator==(const ShotTemplateFile&) const = default;
};

using UrlHistoryValues = UrlHistory;

class SettingsStore {
  public:
    static constexpr int kRecentFileCount = 4;
    // The fixed section name under which the main window keeps its bars.
    static constexpr const char* kBarLayoutProfile = "MainWindowBars";

    // The user's own settings file of the program.
    SettingsStore();
    // A settings file at the given path (created when first written).
    explicit SettingsStore(const std::string& filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    std::string FilePath() const;

    // Most recent first, at most kRecentFileCount entries.
    std::vector<std::string> RecentFiles() const;
    // Puts the path at the top of the list (moving it there when it is
    // listed already) and writes the list at once.
    void AddRecentFile(const std::string& path);
    void RemoveRecentFile(const std::string& path);

    std::optional<BarLayout> LoadBarLayout() const;
    void SaveBarLayout(const BarLayout& layout);
    // Nothing when no window was saved yet.
    std::optional<WindowPlacement> LoadWindowPlacement() const;
    void SaveWindowPlacement(const WindowPlacement& placement);
    // Each size missing from the section keeps its value in `current`.
    DockSizes LoadDockSizes(int32_t barId, const DockSizes& current) const;
    void SaveDockSizes(int32_t barId, const DockSizes& sizes);

    // Every non-empty value name of the history key in the numeric order of
    // the names (urls2 before urls10), then the key's default value.
    UrlHistoryValues LoadUrlHistory() const;
    // Writes urls0, urls1, ... and the default value. Numbered values left
    // from a longer earlier list are removed, so they cannot come back.
    void SaveUrlHistory(const UrlHistoryValues& history);

    // The folder "Extract as jpeg" last wrote to; empty when none was chosen.
    std::string JpegFolder() const;
    void SetJpegFolder(const std::string& folder);

    // Slicing runs play paced at the chosen speed ("Slice in real time");
    // off, they go as fast as decoding.
    bool SliceInRealTime() const;
    void SetSliceInRealTime(bool realTime);
    // Workers of a slicing run (the Settings dialog): the cores unless
    // chosen, always 1 to SlicingSettings::kMaxJobs.
    int SlicingJobs() const;
    void SetSlicingJobs(int jobs);

    // The shot engine's detector and the content detector's sensitivity, as
    // the Settings dialog left them (the spread rule and the default
    // sensitivity when never set or unreadable).
    ShotDetector Detector() const;
    void SetDetector(ShotDetector detector);
    float Sensitivity() const;
    void SetSensitivity(float sensitivity);

    // The status bar is shown (View > Status bar); the docking layout keeps
    // the other bars.
    bool StatusBarShown() const;
    void SetStatusBarShown(bool shown);

    // Nothing when the built-in template is used.
    std::optional<ShotTemplateFile> TemplateFile() const;
    // Nothing goes back to the built-in template.
    void SetTemplateFile(const std::optional<ShotTemplateFile>& choice);

    // The sound's volume in percent (0 to 100, 100 when never set) and
    // whether it is muted.
    int SoundVolume() const;
    void SetSoundVolume(int percent);
    bool SoundMuted() const;
    void SetSoundMuted(bool muted);

    // Writes pending changes to the file; false when it cannot be written.
    bool Sync();

  private:
    void WriteRecentFiles(const std::vector<std::string>& files);

    std::unique_ptr<QSettings> settings_;
};

}  // namespace trevanto
