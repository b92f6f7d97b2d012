#pragma once
// What each step of the publish wizard checks and stores, given its edits as
// typed. A step stores into the working copy only when every check passes;
// the first failing check's message comes back (empty when all passed).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

class Publisher;
struct PublishOptions;

namespace message {
inline constexpr const char* kNoTargetFile = "You need to specify a target file.";
inline constexpr const char* kBadShotsPerRow = "Bad value for 'In the x-direction ... shots'.";
inline constexpr const char* kBadEdgeWidth = "Bad value for 'Edge width ... pixels'.";
inline constexpr const char* kBadPageKBytes = "Bad value for 'New page each ... kbytes'.";
inline constexpr const char* kTitleCircular =
    "$(TITLE) cannot be used in the thumbnail title. Circular reference.";
inline constexpr const char* kNoTemplateFile = "A template filename must be provided.";
inline constexpr const char* kBadShotWidth = "Bad value for the shot width.";
inline constexpr const char* kBadShotHeight = "Bad value for the shot height.";
inline constexpr const char* kCaptionCircular =
    "$(SHOTCAPTION) cannot be used in the shot caption. Circular reference.";
}  // namespace message

// An edit's number: blanks, an optional sign, the digits up to the first other
// character; no digits read 0. Beyond 32 bits it is held at the nearest end.
int32_t ReadEditNumber(std::string_view text);

// Step 1.
std::string StoreTargetStep(const std::string& target, bool useTemplate, bool showResult,
                            Publisher& copy);

struct LayoutStepFields {
    std::string title, shotsPerRow, edgeWidth, pageKBytes;
};
// Step 2 of the built-in page, on Next and on Previous alike.
std::string StoreLayoutStep(const LayoutStepFields& fields, PublishOptions& options);

// Step 2 with a template. Going back stores the template path unchecked.
std::string StoreTemplateStep(const std::string& title, const std::string& templateFile,
                              bool forward, PublishOptions& options);

struct ShotStepFields {
    std::string caption, width, height;
    bool stretchToFit = false;
    bool displayCaption = true;
};
// Step 3, on Next and on Previous alike.
std::string StoreShotStep(const ShotStepFields& fields, PublishOptions& options);

// Step 4's "Add": the chosen files (full paths) in the order they are
// appended, sorted by path without regard to letter case.
std::vector<std::string> SortedForAdding(std::vector<std::string> paths);

// Step 5's first field: the online video url, else the opened video's url
// when it is an online stream.
std::string ProposedVideoUrl(const Publisher& publisher);

}  // namespace trevanto
