#include "app/settings/settings_store.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <charconv>
#include <thread>

namespace trevanto {
namespace {

// The application profile: the registry root name, then the application title.
constexpr const char* kProfileKey = "Software/Trevanto/Trevanto";
constexpr const char* kRecentFileSection = "Software/Trevanto/Trevanto/Recent File List";
constexpr const char* kJpegFolderKey = "Software/Trevanto/Trevanto/Settings/JpegFolder";
constexpr const char* kTemplatePathKey = "Software/Trevanto/Trevanto/Settings/ShotTemplate";
constexpr const char* kTemplateColourKey =
    "Software/Trevanto/Trevanto/Settings/ShotTemplateTransparentColour";
constexpr const char* kRealTimeSlicingKey = "Software/Trevanto/Trevanto/Settings/SliceInRealTime";
constexpr const char* kSlicingJobsKey = "Software/Trevanto/Trevanto/Settings/SlicingJobs";
constexpr const char* kDetectorKey = "Software/Trevanto/Trevanto/Settings/ShotDetector";
constexpr const char* kSensitivityKey = "Software/Trevanto/Trevanto/Settings/Sensitivity";
constexpr const char* kSoundVolumeKey = "Software/Trevanto/Trevanto/Settings/SoundVolume";
constexpr const char* kSoundMutedKey = "Software/Trevanto/Trevanto/Settings/SoundMuted";
constexpr const char* kStatusBarKey = "Software/Trevanto/Trevanto/Settings/StatusBarShown";
constexpr const char* kUrlHistoryKey = "SOFTWARE/Qelvar/Trevanto/options/urls";
constexpr const char* kUrlValuePrefix = "urls";
// The name under which the key's default (unnamed) value is kept.
constexpr const char* kDefaultValueName = "Default";

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

std::string BarLayoutSection() {
    return std::string(kProfileKey) + "/" + SettingsStore::kBarLayoutProfile;
}

std::string DockSizesSection(int32_t barId) {
    return std::string(kProfileKey) + "/" + SettingsStore::kBarLayoutProfile + "-SCBar-" +
           std::to_string(barId);
}

// The number of a value named "urls<digits>", or nothing for another name.
std::optional<long long> UrlValueNumber(const std::string& name) {
    const std::string prefix = kUrlValuePrefix;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    long long number = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || *first == '-' || *first == '+') {
        return std::nullopt;
    }
    return number;
}

// Numbered history values first, by number; any other names after them, by name.
bool UrlValueOrder(const std::string& a, const std::string& b) {
    const auto numberA = UrlValueNumber(a);
    const auto numberB = UrlValueNumber(b);
    if (numberA && numberB)
        return *numberA != *numberB ? *numberA < *numberB : a < b;
    if (numberA || numberB)
        return numberA.has_value();
    return a < b;
}

}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            "Trevanto", "Trevanto")) {}

SettingsStore::SettingsStore(const std::string& filePath)
    : settings_(std::make_unique<QSettings>(ToQString(filePath), QSettings::NativeFormat)) {}

SettingsStore::~SettingsStore() {
    settings_->sync();
}

std::string SettingsStore::FilePath() const {
    return settings_->fileName().toStdString();
}

std::vector<std::string> SettingsStore::RecentFiles() const {
    std::vector<std::string> files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QString("%1/File%2").arg(kRecentFileSection).arg(i);
        const std::string file = settings_->value(key).toString().toStdString();
        if (!file.empty())
            files.push_back(file);
    }
    return files;
}

std::string SettingsStore::JpegFolder() const {
    return settings_->value(kJpegFolderKey).toString().toStdString();
}

void SettingsStore::SetJpegFolder(const std::string& folder) {
    settings_->setValue(kJpegFolderKey, ToQString(folder));
}

ShotDetector SettingsStore::Detector() const {
    const std::string name = settings_->value(kDetectorKey).toString().toStdString();
    return DetectorNamed(name).value_or(ShotDetector::Spread);
}

void SettingsStore::SetDetector(ShotDetector detector) {
    settings_->setValue(kDetectorKey, QString(DetectorName(detector)));
}

float SettingsStore::Sensitivity() const {
    const std::string text = settings_->value(kSensitivityKey).toString().toStdString();
    return ReadSensitivity(text).value_or(kDefaultSensitivity);
}

void SettingsStore::SetSensitivity(float sensitivity) {
    settings_->setValue(kSensitivityKey, QString::number(static_cast<double>(sensitivity)));
}

bool SettingsStore::SliceInRealTime() const {
    return settings_->value(kRealTimeSlicingKey, false).toBool();
}

void SettingsStore::SetSliceInRealTime(bool realTime) {
    settings_->setValue(kRealTimeSlicingKey, realTime);
}

int SettingsStore::SlicingJobs() const {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(settings_->value(kSlicingJobsKey, cores).toInt(), 1,
                      SlicingSettings::kMaxJobs);
}

void SettingsStore::SetSlicingJobs(int jobs) {
    settings_->setValue(kSlicingJobsKey, std::clamp(jobs, 1, SlicingSettings::kMaxJobs));
}

bool SettingsStore::StatusBarShown() const {
    return settings_->value(kStatusBarKey, true).toBool();
}

void SettingsStore::SetStatusBarShown(bool shown) {
    settings_->setValue(kStatusBarKey, shown);
}

int SettingsStore::SoundVolume() const {
    bool ok = false;
    const int percent = settings_->value(kSoundVolumeKey).toInt(&ok);
    return ok ? std::clamp(percent, 0, 100) : 100;
}

void SettingsStore::SetSoundVolume(int percent) {
    settings_->setValue(kSoundVolumeKey, std::clamp(percent, 0, 100));
}

bool SettingsStore::SoundMuted() const {
    return settings_->value(kSoundMutedKey, false).toBool();
}

void SettingsStore::SetSoundMuted(bool muted) {
    settings_->setValue(kSoundMutedKey, muted);
}

std::optional<ShotTemplateFile> SettingsStore::TemplateFile() const {
    const std::string path = settings_->value(kTemplatePathKey).toString().toStdString();
    if (path.empty())
        return std::nullopt;
    bool ok = false;
    const uint32_t colour = settings_->value(kTemplateColourKey).toUInt(&ok);
    return ShotTemplateFile{path, ok ? colour & 0xFFFFFF : ShotTemplateFile{}.transparentColour};
}

void SettingsStore::SetTemplateFile(const std::optional<ShotTemplateFile>& choice) {
    if (!choice) {
        settings_->remove(kTemplatePathKey);
        settings_->remove(kTemplateColourKey);
        return;
    }
    settings_->setValue(kTemplatePathKey, ToQString(choice->path));
    settings_->setValue(kTemplateColourKey, choice->transparentColour);
}

void SettingsStore::AddRecentFile(const std::string& path) {
    if (path.empty())
        return;
    std::vector<std::string> files = RecentFiles();
    std::erase(files, path);
    files.insert(files.begin(), path);
    if (files.size() > kRecentFileCount)
        files.resize(kRecentFileCount);
    WriteRecentFiles(files);
}

void SettingsStore::RemoveRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    std::erase(files, path);
    WriteRecentFiles(files);
}

void SettingsStore::WriteRecentFiles(const std::vector<std::string>& files) {
    settings_->remove(kRecentFileSection);
    for (size_t i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        const QString key = QString("%1/File%2").arg(kRecentFileSection).arg(i + 1);
        settings_->setValue(key, ToQString(files[i]));
    }
    settings_->sync();
}

std::optional<BarLayout> SettingsStore::LoadBarLayout() const {
    const QString section = ToQString(BarLayoutSection());
    const QByteArray state = settings_->value(section + "/State").toByteArray();
    if (state.isEmpty())
        return std::nullopt;
    BarLayout layout;
    layout.state = state;
    for (const QString& name : settings_->value(section + "/Bars").toStringList()) {
        layout.barNames.push_back(name.toStdString());
    }
    return layout;
}

void SettingsStore::SaveBarLayout(const BarLayout& layout) {
    const QString section = ToQString(BarLayoutSection());
    QStringList names;
    for (const std::string& name : layout.barNames)
        names.append(ToQString(name));
    settings_->setValue(section + "/State", layout.state);
    settings_->setValue(section + "/Bars", names);
}

std::optional<WindowPlacement> SettingsStore::LoadWindowPlacement() const {
    const QString section = ToQString(BarLayoutSection());
    const QList<QVariant> values = settings_->value(section + "/Window").toList();
    if (values.size() != 4)
        return std::nullopt;
    WindowPlacement placement;
    placement.x = values[0].toInt();
    placement.y = values[1].toInt();
    placement.width = values[2].toInt();
    placement.height = values[3].toInt();
    placement.maximized = settings_->value(section + "/WindowMaximized", false).toBool();
    return placement;
}

void SettingsStore::SaveWindowPlacement(const WindowPlacement& placement) {
    const QString section = ToQString(BarLayoutSection());
    settings_->setValue(section + "/Window", QList<QVariant>{placement.x, placement.y,
                                                             placement.width, placement.height});
    settings_->setValue(section + "/WindowMaximized", placement.maximized);
}

DockSizes SettingsStore::LoadDockSizes(int32_t barId, const DockSizes& current) const {
    const QString section = ToQString(DockSizesSection(barId));
    const auto read = [&](const char* name, int32_t fallback) {
        return static_cast<int32_t>(settings_->value(section + "/" + name, fallback).toInt());
    };
    return {read("sizeHorzCX", current.sizeHorzCX),   read("sizeHorzCY", current.sizeHorzCY),
            read("sizeVertCX", current.sizeVertCX),   read("sizeVertCY", current.sizeVertCY),
            read("sizeFloatCX", current.sizeFloatCX), read("sizeFloatCY", current.sizeFloatCY)};
}

void SettingsStore::SaveDockSizes(int32_t barId, const DockSizes& sizes) {
    const QString section = ToQString(DockSizesSection(barId));
    settings_->setValue(section + "/sizeHorzCX", sizes.sizeHorzCX);
    settings_->setValue(section + "/sizeHorzCY", sizes.sizeHorzCY);
    settings_->setValue(section + "/sizeVertCX", sizes.sizeVertCX);
    settings_->setValue(section + "/sizeVertCY", sizes.sizeVertCY);
    settings_->setValue(section + "/sizeFloatCX", sizes.sizeFloatCX);
    settings_->setValue(section + "/sizeFloatCY", sizes.sizeFloatCY);
}

UrlHistoryValues SettingsStore::LoadUrlHistory() const {
    UrlHistoryValues history;
    settings_->beginGroup(kUrlHistoryKey);
    std::vector<std::string> names;
    for (const QString& name : settings_->childKeys()) {
        if (!name.isEmpty() && name != kDefaultValueName)
            names.push_back(name.toStdString());
    }
    std::sort(names.begin(), names.end(), UrlValueOrder);
    for (const std::string& name : names) {
        history.entries.push_back(settings_->value(ToQString(name)).toString().toStdString());
    }
    history.current = settings_->value(kDefaultValueName).toString().toStdString();
    settings_->endGroup();
    return history;
}

void SettingsStore::SaveUrlHistory(const UrlHistoryValues& history) {
    // A key that cannot be written leaves the history as it was, silently.
    if (!settings_->isWritable())
        return;
    settings_->beginGroup(kUrlHistoryKey);
    for (const QString& name : settings_->childKeys()) {
        const auto number = UrlValueNumber(name.toStdString());
        if (number && *number >= static_cast<long long>(history.entries.size())) {
            settings_->remove(name);
        }
    }
    for (size_t i = 0; i < history.entries.size(); ++i) {
        settings_->setValue(QString("%1%2").arg(kUrlValuePrefix).arg(i),
                            ToQString(history.entries[i]));
    }
    settings_->setValue(kDefaultValueName, ToQString(history.current));
    settings_->endGroup();
    settings_->sync();
}

bool SettingsStore::Sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace trevanto
