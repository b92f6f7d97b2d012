#include "export/jpeg_export_chain.h"

#include "common/paths.h"
#include "export/jpeg_export.h"
#include "export/shots_file.h"

namespace trevanto {

bool JpegExportChain::Start(std::vector<int32_t> items, bool userExport, std::string outputFolder) {
    if (active_ || items.empty())
        return false;
    items_ = std::move(items);
    cursor_ = 0;
    userExport_ = userExport;
    folder_ = std::move(outputFolder);
    lastImagePath_.clear();
    lastSavedPath_.clear();
    requested_ = static_cast<int32_t>(items_.size());
    saved_ = 0;
    retries_ = 0;
    progressShown_ = false;
    active_ = true;
    ++run_;
    if (!host_.RequestItemFrame(items_[0], userExport_)) {
        End();
        return false;
    }
    return true;
}

bool JpegExportChain::OnFrameArrived(int32_t currentFrame) {
    if (!active_)
        return false;
    const int32_t item = items_[cursor_];
    const int32_t startFrame = host_.StartFrameOfItem(item);
    if (startFrame >= 0 && currentFrame != startFrame && retries_ < kMaxRetries) {
        ++retries_;
        if (host_.RequestItemFrame(item, userExport_))
            return true;
        End();
        return false;
    }
    if (!host_.ScaleFrame()) {
        End();
        return false;
    }
    lastImagePath_ = JoinPath(folder_, JpegImageName(counter_));
    ++counter_;  // also when writing fails
    if (host_.SaveImage(lastImagePath_)) {
        ++saved_;
        lastSavedPath_ = lastImagePath_;
    }
    const uint64_t run = run_;
    const bool escape = host_.PumpEventsAndCheckEscape(kEventsPerImage);
    // The events let through may have ended this chain (another video was
    // opened) and even started another: this one then ends silently.
    if (!active_ || run != run_)
        return false;
    if (escape) {
        host_.ShowMessage("Publish to the web aborted.");
        End();
        return false;
    }
    ++cursor_;
    retries_ = 0;
    if (cursor_ < items_.size()) {
        if (!progressShown_)
            host_.BeginProgress("Saving to JPEG");
        progressShown_ = true;
        host_.SetProgress(
            ProgressPosition(static_cast<int64_t>(cursor_), static_cast<int64_t>(items_.size())));
        if (host_.RequestItemFrame(items_[cursor_], userExport_))
            return true;
        End();
        return false;
    }
    if (progressShown_)
        host_.SetProgress(32767);
    // The report counts what reached the disk, not what was asked for.
    const std::string report = JpegExportReport(saved_, lastSavedPath_);
    if (userExport_)
        host_.ShowInformation(report);
    const bool userExport = userExport_;
    End();
    host_.ExportCompleted(userExport, report);
    return true;
}

void JpegExportChain::Cancel() {
    if (active_)
        End();
}

void JpegExportChain::End() {
    if (progressShown_)
        host_.EndProgress();
    progressShown_ = false;
    items_.clear();
    cursor_ = 0;
    retries_ = 0;
    active_ = false;
}

}  // namespace trevanto
