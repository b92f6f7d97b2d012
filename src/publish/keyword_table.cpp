#include "publish/keyword_table.h"

namespace trevanto {

using K = KeywordId;

const std::array<KeywordRow, kKeywordCount> KeywordTable = {{
    {K::kIndex, "INDEX", true, false, true, true},
    {K::kCount, "COUNT", true, true, true, true},
    {K::kPaddedIndex, "PADDEDINDEX", true, false, true, true},
    {K::kPaddedCount, "PADDEDCOUNT", true, true, true, true},
    {K::kDescription, "DESCRIPTION", true, false, true, false},
    {K::kMarkIn, "MARKIN", true, false, true, true},
    {K::kMarkOut, "MARKOUT", true, false, true, true},
    {K::kTimecodeIn, "TIMECODEIN", true, false, true, true},
    {K::kTimecodeOut, "TIMECODEOUT", true, false, true, true},
    {K::kShotWidth, "SHOTWIDTH", true, true, true, true},
    {K::kShotHeight, "SHOTHEIGHT", true, true, true, true},
    {K::kLink, "LINK", true, true, true, false},
    {K::kVideoLink, "VIDEOLINK", true, false, true, true},
    {K::kVideoLinkUrl, "VIDEOLINK_URL", true, true, true, true},
    {K::kVideoLinkStartAt, "VIDEOLINK_STARTAT", true, false, true, true},
    {K::kPage, "PAGE", true, true, true, true},
    {K::kPageCount, "PAGECOUNT", true, true, true, true},
    {K::kThumbnailWidth, "THUMBNAILWIDTH", true, true, true, true},
    {K::kThumbnailHeight, "THUMBNAILHEIGHT", true, true, true, true},
    {K::kCreationDate, "CREATIONDATE", true, true, true, true},
    {K::kVideoName, "VIDEONAME", true, true, true, true},
    {K::kVideoUrl, "VIDEOURL", true, true, true, true},
    {K::kVideoFrames, "VIDEOFRAMES", true, true, true, true},
    {K::kVideoDuration, "VIDEODURATION", true, true, true, true},
    {K::kUserName, "USERNAME", true, true, true, true},
    {K::kTitle, "TITLE", true, true, false, true},
    {K::kShotCaption, "SHOTCAPTION", true, false, false, true},
    {K::kBeginShot, "BEGINSHOT", true, true, false, true},
    {K::kEndShot, "ENDSHOT", true, true, false, true},
    {K::kFirstPage, "FIRSTPAGE", true, true, false, true},
    {K::kPreviousPage, "PREVIOUSPAGE", true, true, false, true},
    {K::kNextPage, "NEXTPAGE", true, true, false, true},
    {K::kLastPage, "LASTPAGE", true, true, false, true},
    {K::kShotFileName, "SHOTFILENAME", true, false, true, true},
    {K::kPrevious5Page, "PREVIOUS5PAGE", true, true, false, true},
    {K::kNext5Page, "NEXT5PAGE", true, true, false, true},
    {K::kPrevious10Page, "PREVIOUS10PAGE", true, true, false, true},
    {K::kNext10Page, "NEXT10PAGE", true, true, false, true},
}};

const KeywordRow* FindExpandableKeyword(std::string_view name) {
    for (const KeywordRow& row : KeywordTable) {
        if (row.expandable && row.name == name)
            return &row;
    }
    return nullptr;
}

std::vector<std::string_view> MenuKeywords(KeywordMenu menu) {
    std::vector<std::string_view> names;
    for (const KeywordRow& row : KeywordTable) {
        const bool listed = menu == KeywordMenu::Title ? row.titleList : row.captionList;
        if (listed && row.offered && row.expandable)
            names.push_back(row.name);
    }
    return names;
}

}  // namespace trevanto
