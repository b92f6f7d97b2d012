#pragma once
// The chain that exports shots as JPEG images: for each item the video is
// moved to the shot's start frame and, when that frame has arrived, the frame
// is scaled, framed and written under the next image number. The document
// does the seeking, scaling and writing through the host interface and calls
// OnFrameArrived when a frame request of kind 1 or 4 has been answered.
#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

class JpegExportHost {
  public:
    virtual ~JpegExportHost() = default;
    // Makes the frame request (kind 1 for the user's export, 4 for a
    // publication) for the item and moves the video to its shot's start
    // frame. False when that cannot be done (the host has said why).
    virtual bool RequestItemFrame(int32_t item, bool userExport) = 0;
    // The start frame of the item's shot; -1 when unknown.
    virtual int32_t StartFrameOfItem(int32_t item) const = 0;
    // ScaleToWorkSurface at the export size. False stops the chain.
    virtual bool ScaleFrame() = 0;
    // SaveSurfaceAsJpeg into that file, showing its own failure messages.
    virtual bool SaveImage(const std::string& filePath) = 0;
    // Lets up to `maxEvents` waiting user events through; true on Escape.
    virtual bool PumpEventsAndCheckEscape(int maxEvents) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // A report of work done, in an information box.
    virtual void ShowInformation(const std::string& text) { ShowMessage(text); }
    // The "Saving to JPEG" progress bar, range 0..32767.
    virtual void BeginProgress(const std::string& /*caption*/) {}
    virtual void SetProgress(int32_t /*position*/) {}
    virtual void EndProgress() {}
    // Every image has been handled; a publication goes on with its pages.
    // Called after the chain has ended, with the report text.
    virtual void ExportCompleted(bool /*userExport*/, const std::string& /*report*/) {}
};

class JpegExportChain {
  public:
    // A frame other than the shot's start frame is sought again at most this
    // many times; then the frame reached is written, once.
    static constexpr int kMaxRetries = 3;
    // Waiting user events let through after each image.
    static constexpr int kEventsPerImage = 20;

    // `counter` is the document's JPEG counter: the number of the next image.
    JpegExportChain(JpegExportHost& host, int32_t& counter) : host_(host), counter_(counter) {}

    // Exports the items (view item indexes) into the folder (absolute, see
    // JpegOutputFolder). False when a chain is already running, there is no
    // item, or the first request cannot be made.
    bool Start(std::vector<int32_t> items, bool userExport, std::string outputFolder);
    // The requested frame has arrived and the video is at `currentFrame`.
    // False when the chain stopped (scaling failed, Escape, a request failed).
    bool OnFrameArrived(int32_t currentFrame);
    // Ends the chain without a message.
    void Cancel();

    bool IsActive() const { return active_; }
    bool IsUserExport() const { return userExport_; }
    size_t Cursor() const { return cursor_; }
    const std::vector<int32_t>& Items() const { return items_; }
    int RetriesOfCurrentItem() const { return retries_; }
    // Images the last chain was asked for, and those it wrote (fewer when
    // writes failed or the chain stopped early).
    int32_t RequestedCount() const { return requested_; }
    int32_t SavedCount() const { return saved_; }

  private:
    void End();

    JpegExportHost& host_;
    int32_t& counter_;
    std::vector<int32_t> items_;
    size_t cursor_ = 0;
    bool userExport_ = false;
    std::string folder_;
    std::string lastImagePath_;
    std::string lastSavedPath_;
    int32_t requested_ = 0;
    int32_t saved_ = 0;
    bool active_ = false;
    uint64_t run_ = 0;  // counts the chains started, to tell them apart
    bool progressShown_ = false;
    int retries_ = 0;
};

}  // namespace trevanto
