#pragma once
// The document's publisher: the publishing options, the facts of the opened
// video, the keyword value texts and run state that the page generators set
// and ExpandKeywords reads, and the web archive writer of a run.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "common/timecode.h"
#include "publish/publish_options.h"
#include "publish/web_archive_writer.h"

namespace trevanto {

class Shot;
class ShotList;

// Where an expansion goes. Into HTML, values from outside the user's template
// and options (the video's name and url, the user name, the links and file
// names) are escaped so that they cannot add markup, and a url whose scheme
// could run script is left out (publish/html_values.h). What the user typed,
// the template, the title and the caption, stays as typed.
enum class KeywordOutput { kText, kHtml };

// One text per value keyword.
struct KeywordTexts {
    std::string index;
    std::string paddedIndex;
    std::string count;
    std::string paddedCount;
    std::string shotWidth;
    std::string shotHeight;
    std::string page;
    std::string pageCount;
    std::string thumbnailWidth;
    std::string thumbnailHeight;
    std::string videoName;
    std::string videoUrl;
    std::string videoFrames;
    std::string videoDuration;
    std::string creationDate;
    std::string userName;
};

// What the page keywords read while pages are produced.
struct PublishRunState {
    const ShotList* shots = nullptr;
    const Shot* currentShot = nullptr;
    int32_t pageIndex = 0;
    int32_t pageCount = 0;
    std::string firstPagePath;
    // The shot images in shot order, when the export kept them elsewhere than
    // in the target folder under their shotFileName names.
    std::vector<std::string> imageFiles;
};

class Publisher {
  public:
    Publisher() = default;
    // A publisher owns an open archive during a run; copies go through Assign.
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    const PublishOptions& Options() const { return options_; }
    PublishOptions& Options() { return options_; }

    // Every option takes its default except the additional files and the two
    // urls.
    void ResetToDefaults();
    // Copies what the wizard edits and the video url (not shotFileName, the
    // video name, frame count or duration).
    void Assign(const Publisher& other);
    // Off empties the template file.
    void SetUseTemplate(bool useTemplate);
    // `times`: the frames' own times where the rate varies (PictureTimes).
    void PublishVideoFacts(const std::string& videoPath, int32_t frameCount, double durationSeconds,
                           PictureTimes times = nullptr);
    bool IsArchive() const;
    std::string TargetTypeText() const;

    int32_t FrameCount() const { return frameCount_; }
    double DurationSeconds() const { return durationSeconds_; }

    // Replaces the keywords of the text by their values. pageLevel: a text of
    // the whole page outside any shot; shotsExhausted: a template run has
    // placed every shot.
    std::string ExpandKeywords(std::string_view text, bool pageLevel, bool shotsExhausted,
                               KeywordOutput output) const;
    // Keyword values may add this many characters to one publication in all.
    static constexpr size_t kRunGrowthLimit = size_t{64} << 20;
    // True when an expansion since the last reset stopped at one of its limits
    // (its growth, the publication's, replacements or depth) and left its text
    // unfinished.
    bool ExpansionLimitHit() const { return expansionLimitHit_; }
    void ResetExpansionLimit() {
        expansionLimitHit_ = false;
        runGrowthLeft_ = kRunGrowthLimit;
    }
    // File name (no folder) of page k of the run.
    std::string PageFileName(int32_t k) const;

    KeywordTexts& Texts() { return texts_; }
    const KeywordTexts& Texts() const { return texts_; }
    PublishRunState& Run() { return run_; }
    const PublishRunState& Run() const { return run_; }
    WebArchiveWriter& Archive() { return archive_; }

    // "%d" and "%04d" texts of the index, emptied for 0 or less.
    void SetIndexTexts(int32_t index);
    void ClearIndexTexts();
    void SetCountTexts(int32_t count);
    // Video duration, creation date and user name texts at the start of a run.
    void SetRunTexts(const std::tm& localTime, std::string userName);

  private:
    struct ExpansionBudget;
    std::string Expand(std::string_view text, bool pageLevel, bool shotsExhausted,
                       KeywordOutput output, ExpansionBudget& budget, int depth) const;
    std::string KeywordValue(int id, bool pageLevel, bool shotsExhausted, KeywordOutput output,
                             ExpansionBudget& budget, int depth) const;
    std::string PageValue(int id) const;
    // A file name of the publication as a reference from a page: "cid:" in
    // front in an archive; into HTML, never read as a url scheme.
    std::string FileLink(std::string name, KeywordOutput output) const;

    PublishOptions options_;
    std::string videoName_;
    std::string videoUrl_;
    int32_t frameCount_ = 0;
    double durationSeconds_ = 0.0;
    PictureTimes pictureTimes_;
    KeywordTexts texts_;
    PublishRunState run_;
    WebArchiveWriter archive_;
    mutable bool expansionLimitHit_ = false;
    mutable size_t runGrowthLeft_ = kRunGrowthLimit;
};

// "hh:mm:ss" without the leading zero fields: 125 s gives 02:05, 42 s gives 42.
std::string VideoDurationText(double durationSeconds);
// "2005/11/16 10:19".
std::string CreationDateText(const std::tm& localTime);
// The logged-on user's name.
std::string CurrentUserName();

}  // namespace trevanto
