#pragma once
// The keywords of the publishing language, in the order the wizard offers
// them. Ids identify the keywords; they do not follow the order.
#include <array>
#include <string_view>
#include <vector>

namespace trevanto {

enum class KeywordId : int {
    kIndex = 0,
    kCount = 1,
    kPaddedIndex = 2,
    kPaddedCount = 3,
    kDescription = 4,
    kMarkIn = 5,
    kMarkOut = 6,
    kTimecodeIn = 7,
    kTimecodeOut = 8,
    kShotWidth = 9,
    kShotHeight = 10,
    kLink = 11,
    kVideoLink = 12,
    kPage = 13,
    kPageCount = 14,
    kThumbnailWidth = 15,
    kThumbnailHeight = 16,
    kCreationDate = 17,
    kVideoName = 18,
    kVideoUrl = 19,
    kVideoFrames = 20,
    kVideoDuration = 21,
    kUserName = 22,
    kTitle = 23,
    kShotCaption = 24,
    kBeginShot = 25,
    kEndShot = 26,
    kFirstPage = 27,
    kPreviousPage = 28,
    kNextPage = 29,
    kLastPage = 30,
    kShotFileName = 31,
    kPrevious5Page = 32,
    kNext5Page = 33,
    kPrevious10Page = 34,
    kNext10Page = 35,
    kVideoLinkUrl = 36,
    kVideoLinkStartAt = 37,
};

struct KeywordRow {
    KeywordId id;
    std::string_view name;
    bool captionList;  // offered by the wizard's caption step
    bool titleList;    // offered by the wizard's title steps
    bool offered;
    bool expandable;  // a keyword that is not expandable is never replaced
};

inline constexpr size_t kKeywordCount = 38;
extern const std::array<KeywordRow, kKeywordCount> KeywordTable;

// The first expandable row of that exact (case-sensitive) name, or null.
const KeywordRow* FindExpandableKeyword(std::string_view name);

// The keywords the wizard's "Keywords" menus offer, in table order: those
// offered and expandable on the title's list or on the caption's.
enum class KeywordMenu { Title, Caption };
std::vector<std::string_view> MenuKeywords(KeywordMenu menu);

}  // namespace trevanto
