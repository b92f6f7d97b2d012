#pragma once
// Every command id of the menus, the toolbar, the accelerators and the
// thumbnail view's context menus. Kept as the numbers the program has always
// used so that saved layouts and tests can name them.
#include <cstdint>
#include <optional>

namespace trevanto::command {

// File
inline constexpr int32_t kFileOpen = 57601;
inline constexpr int32_t kOpenOnlineVideo = 32787;
inline constexpr int32_t kOpenBitmapTemplate = 32789;
inline constexpr int32_t kExportShotList = 32841;
inline constexpr int32_t kCloseVideo = 32870;
inline constexpr int32_t kSliceFolder = 32876;
inline constexpr int32_t kExit = 57665;
// Edit: the shot edits
inline constexpr int32_t kUndo = 57643;
inline constexpr int32_t kRedo = 57644;
// Media
inline constexpr int32_t kPlay = 32771;
inline constexpr int32_t kPause = 32772;
inline constexpr int32_t kStop = 32773;
inline constexpr int32_t kTogglePlayPause = 32775;
inline constexpr int32_t kRateTenth = 32777;
inline constexpr int32_t kRateThird = 32778;
inline constexpr int32_t kRateHalf = 32779;
inline constexpr int32_t kRateSlow = 32780;
inline constexpr int32_t kRateNormal = 32781;
inline constexpr int32_t kRateFast = 32782;
inline constexpr int32_t kRateDouble = 32783;
inline constexpr int32_t kSetStartMark = 101;
inline constexpr int32_t kSetEndMark = 102;
inline constexpr int32_t kMute = 32860;
inline constexpr int32_t kVolumeUp = 32861;
inline constexpr int32_t kVolumeDown = 32862;
inline constexpr int32_t kNextFrame = 32863;
inline constexpr int32_t kPreviousFrame = 32864;
inline constexpr int32_t kGoToFrame = 32865;
// Shots
inline constexpr int32_t kInsertShot = 103;
inline constexpr int32_t kSettings = 104;
inline constexpr int32_t kSampler = 106;
inline constexpr int32_t kEngine = 107;
inline constexpr int32_t kPublish = 108;
inline constexpr int32_t kShotsStartEngine = 32832;
inline constexpr int32_t kShotsAddManually = 32834;
inline constexpr int32_t kLoadShots = 32835;
inline constexpr int32_t kSaveShots = 32836;
inline constexpr int32_t kDeleteShots = 32837;
inline constexpr int32_t kSliceInRealTime = 32850;
inline constexpr int32_t kSplitShot = 32871;
// One shot (the thumbnail view's "Shot menu")
inline constexpr int32_t kGoToBegin = 32822;
inline constexpr int32_t kGoToMiddle = 32823;
inline constexpr int32_t kGoToEnd = 32824;
inline constexpr int32_t kPlayShot = 32826;
inline constexpr int32_t kVideoLink = 32790;
inline constexpr int32_t kRefresh = 32828;
inline constexpr int32_t kRefineImage = 32839;
inline constexpr int32_t kExtractJpeg = 32829;
inline constexpr int32_t kMerge = 32830;
inline constexpr int32_t kDeleteShot = 32831;
// View and Help
inline constexpr int32_t kViewToolbar = 32785;
inline constexpr int32_t kViewPreview = 32786;
inline constexpr int32_t kViewTimecode = 32788;
inline constexpr int32_t kViewStatusBar = 32872;
inline constexpr int32_t kViewScores = 32873;
inline constexpr int32_t kFullScreen = 32874;
inline constexpr int32_t kShortcuts = 32875;
inline constexpr int32_t kHelpTopics = 32784;
inline constexpr int32_t kAbout = 57664;

struct RateCommand {
    int32_t id;
    float rate;
};

inline constexpr RateCommand kRates[] = {
    {kRateTenth, 0.1f},  {kRateThird, 0.3f}, {kRateHalf, 0.5f},   {kRateSlow, 0.8f},
    {kRateNormal, 1.0f}, {kRateFast, 1.5f},  {kRateDouble, 2.0f},
};

// The playing speed a rate command sets; none for any other command.
constexpr std::optional<float> RateOf(int32_t commandId) {
    for (const RateCommand& rate : kRates) {
        if (rate.id == commandId)
            return rate.rate;
    }
    return std::nullopt;
}

}  // namespace trevanto::command
