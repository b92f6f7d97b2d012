#pragma once
// Rebuilding the shots read from a shots file: for each queued record the
// video is sought to its image frame and, when that frame has arrived, a new
// shot is captured there. This class is the chain's logic; the document does
// the seeking and capturing through the host interface and calls
// OnFrameArrived when a frame request of kind 3 has been answered.
#include <cstdint>
#include <string>

#include "shots/shot_list.h"

namespace trevanto {

class ShotsFileRebuildHost {
  public:
    virtual ~ShotsFileRebuildHost() = default;
    virtual int32_t FrameCount() const = 0;
    // Makes the frame request of kind 3 for the record and seeks to its image
    // frame. False when it cannot (no video open, no thumbnail surface); the
    // host has then said why, and the rebuilding ends.
    virtual bool RequestRecordFrame(int32_t startFrame, int32_t imageFrame, int32_t endFrame) = 0;
    // Renders the current frame into the thumbnail surface and adds a new
    // shot start..end with its thumbnail. False when nothing was captured.
    virtual bool CaptureRecordShot(int32_t startFrame, int32_t endFrame) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // A report of work done, in an information box.
    virtual void ShowInformation(const std::string& text) { ShowMessage(text); }
    // The "Extracting" progress bar, range 0..32767.
    virtual void BeginProgress(const std::string& /*caption*/) {}
    virtual void SetProgress(int32_t /*position*/) {}
    virtual void EndProgress() {}
    // The thumbnail view's painting is locked while shots are rebuilt.
    virtual void SetViewLocked(bool /*locked*/) {}
};

class ShotsFileRebuild {
  public:
    // A frame other than the requested image frame is sought again at most
    // this many times; then the frame reached is captured.
    static constexpr int kMaxRetries = 3;

    ShotsFileRebuild(PendingShotList& pending, ShotsFileRebuildHost& host)
        : pending_(pending), host_(host) {}

    // Starts rebuilding the queued records (nothing when none are queued):
    // locks the view, shows the progress when more than one record is queued
    // and requests the first record's frame.
    void Start();
    // The requested frame has arrived and the video is at `currentFrame`.
    void OnFrameArrived(int32_t currentFrame);
    // Ends the rebuilding without a message, dropping the queued records (the
    // document closes, or the shots are deleted).
    void Cancel();

    bool IsActive() const { return active_; }
    int32_t Total() const { return total_; }
    int32_t Rebuilt() const { return rebuilt_; }
    int32_t RetriesOfCurrentRecord() const { return retries_; }

  private:
    // Requests the head record's frame; records whose image frame lies
    // outside the video are reported and dropped. Finishes when none is left.
    void RequestNext();
    void DropHead();
    void Finish(bool showReport);

    PendingShotList& pending_;
    ShotsFileRebuildHost& host_;
    bool active_ = false;
    bool progressShown_ = false;
    int32_t total_ = 0;
    int32_t handled_ = 0;
    int32_t rebuilt_ = 0;
    int retries_ = 0;
};

}  // namespace trevanto
