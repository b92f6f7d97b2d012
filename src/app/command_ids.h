#pragma once
// Command ids of the menus, toolbar and accelerators, routed to the document,
// the view or the application object. Kept as the numbers the program has
// always used so that saved layouts and tests can name them.
#include <cstdint>

namespace trevanto::command {

inline constexpr int32_t kSetStartMark = 101;
inline constexpr int32_t kSetEndMark = 102;
inline constexpr int32_t kInsertShot = 103;
inline constexpr int32_t kSettings = 104;
inline constexpr int32_t kSampler = 106;
inline constexpr int32_t kEngine = 107;
inline constexpr int32_t kPublish = 108;
inline constexpr int32_t kPlay = 32771;
inline constexpr int32_t kPause = 32772;
inline constexpr int32_t kStop = 32773;
inline constexpr int32_t kTogglePlayPause = 32775;
inline constexpr int32_t kRateFirst = 32777;  // 0.1, 0.3, 0.5, 0.8, 1.0, 1.5, 2.0
inline constexpr int32_t kRateLast = 32783;
inline constexpr int32_t kViewToolbar = 32785;
inline constexpr int32_t kViewPreview = 32786;
inline constexpr int32_t kViewTimecode = 32788;
inline constexpr int32_t kShotsStartEngine = 32832;
inline constexpr int32_t kShotsAddManually = 32834;
inline constexpr int32_t kFileOpen = 57601;

}  // namespace trevanto::command
