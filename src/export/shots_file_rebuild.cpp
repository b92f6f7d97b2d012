#include "export/shots_file_rebuild.h"

#include "common/text_format.h"
#include "export/shots_file.h"

namespace trevanto {
namespace {

// The image frame may equal the frame count (it is sought and the last frame
// reached); the shot itself must lie in the video.
bool IsUsableRecord(const Shot& record, int32_t frameCount) {
    return record.imageFrame >= 0 && record.imageFrame <= frameCount && record.startFrame >= 0 &&
           record.startFrame <= record.endFrame && record.endFrame < frameCount;
}

}  // namespace

void ShotsFileRebuild::Start() {
    if (active_ || pending_.IsEmpty())
        return;
    active_ = true;
    total_ = pending_.ShotCount();
    handled_ = 0;
    rebuilt_ = 0;
    retries_ = 0;
    host_.SetViewLocked(true);
    progressShown_ = total_ > 1;
    if (progressShown_) {
        host_.BeginProgress("Extracting");
        host_.SetProgress(0);
    }
    RequestNext();
}

void ShotsFileRebuild::RequestNext() {
    retries_ = 0;
    while (Shot* head = pending_.IsEmpty() ? nullptr : pending_.At(0)) {
        if (IsUsableRecord(*head, host_.FrameCount())) {
            if (!host_.RequestRecordFrame(head->startFrame, head->imageFrame, head->endFrame)) {
                pending_.Clear();
                Finish(false);
            }
            return;
        }
        // No seek is made for it; the following records still get their turn.
        host_.ShowMessage("Wrong shot description. The current shot can't be added.");
        // While the message is up the rebuilding may have been ended (another
        // video opened): it then stays ended, without a report.
        if (!active_)
            return;
        DropHead();
    }
    Finish(true);
}

void ShotsFileRebuild::OnFrameArrived(int32_t currentFrame) {
    if (!active_ || pending_.IsEmpty())
        return;
    const Shot& head = *pending_.At(0);
    if (currentFrame != head.imageFrame && retries_ < kMaxRetries) {
        ++retries_;
        if (!host_.RequestRecordFrame(head.startFrame, head.imageFrame, head.endFrame)) {
            pending_.Clear();
            Finish(false);
        }
        return;
    }
    if (host_.CaptureRecordShot(head.startFrame, head.endFrame))
        ++rebuilt_;
    DropHead();
    RequestNext();
}

void ShotsFileRebuild::Cancel() {
    if (!active_)
        return;
    pending_.Clear();
    Finish(false);
}

void ShotsFileRebuild::DropHead() {
    pending_.TakeHead();
    ++handled_;
    if (progressShown_)
        host_.SetProgress(ProgressPosition(handled_, total_));
}

void ShotsFileRebuild::Finish(bool showReport) {
    active_ = false;
    if (progressShown_)
        host_.EndProgress();
    progressShown_ = false;
    if (showReport) {
        host_.ShowInformation(
            FormatText("%ld shots extracted from the shots file.", static_cast<long>(rebuilt_)));
    }
    host_.SetViewLocked(false);
}

}  // namespace trevanto
