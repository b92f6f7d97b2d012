#include "cli/cli_ports.h"

#include <algorithm>
#include <cstdio>

#include "app/messages/video_link_messages.h"

namespace trevanto::cli {

void CliUser::ShowMessage(const std::string& text, MessageKind /*kind*/) {
    ++messages_;
    err_ << "trevanto-cli: " << text << '\n';
}

bool CliUser::EditVideoLink(VideoLinkFields& fields) {
    return AcceptVideoLinkFields(fields, *this);
}

bool CliUser::AskYesNo(const std::string& text) {
    // Nobody to ask: the command line goes ahead.
    err_ << "trevanto-cli: " << text << " yes\n";
    return true;
}

bool CliView::AddThumbnail(const QImage& picture, const std::string& caption, int32_t& imageIndex,
                           int32_t& itemIndex) {
    pictures_.emplace_back(picture);
    captions_.push_back(caption);
    imageIndex = itemIndex = static_cast<int32_t>(captions_.size()) - 1;
    return true;
}

bool CliView::ReplaceThumbnail(int32_t imageIndex, const QImage& picture) {
    if (imageIndex < 0 || imageIndex >= static_cast<int32_t>(pictures_.size()))
        return false;
    pictures_[static_cast<size_t>(imageIndex)] = CompactThumbnail(picture);
    return true;
}

QImage CliView::Thumbnail(int32_t imageIndex) const {
    if (imageIndex < 0 || imageIndex >= static_cast<int32_t>(pictures_.size()))
        return {};
    return pictures_[static_cast<size_t>(imageIndex)].Picture();
}

void CliView::SetItemCaption(int32_t item, const std::string& caption) {
    if (item >= 0 && item < static_cast<int32_t>(captions_.size())) {
        captions_[static_cast<size_t>(item)] = caption;
    }
}

void CliView::DeleteItemAndImage(int32_t item) {
    if (item < 0 || item >= static_cast<int32_t>(captions_.size()))
        return;
    captions_.erase(captions_.begin() + item);
    pictures_.erase(pictures_.begin() + item);
}

void CliView::DeleteAllItems() {
    captions_.clear();
    pictures_.clear();
}

int SlicedPercent(int32_t frame, int32_t first, int32_t last) {
    const int64_t span = std::max<int64_t>(int64_t{last} - first + 1, 1);
    return static_cast<int>(std::clamp<int64_t>(100 * (int64_t{frame} - first + 1) / span, 0, 100));
}

void ProgressLine::Begin(int32_t firstFrame, int32_t lastFrame) {
    active_ = true;
    first_ = firstFrame;
    last_ = std::max(lastFrame, firstFrame);
    frames_ = 0;
    started_ = lastDrawn_ = Clock::now();
}

void ProgressLine::Update(int32_t frame) {
    if (!active_)
        return;
    ++frames_;
    if (!enabled_)
        return;
    const Clock::time_point now = Clock::now();
    if (now - lastDrawn_ < std::chrono::milliseconds(200))
        return;
    lastDrawn_ = now;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    const int percent = SlicedPercent(frame, first_, last_);
    char line[64];
    std::snprintf(line, sizeof line, "\rslicing %3d%%  %7.1f fps ", percent,
                  seconds > 0.0 ? frames_ / seconds : 0.0);
    err_ << line << std::flush;
    drawn_ = true;
}

void ProgressLine::End() {
    active_ = false;
    if (drawn_)
        err_ << '\r' << std::string(40, ' ') << '\r' << std::flush;
    drawn_ = false;
}

void CliFrame::UpdateFramePanes(int32_t current, int32_t, bool, double, const PictureTimes&) {
    progress_.Update(current);
}

}  // namespace trevanto::cli
