#pragma once
// Saving the document's shots as a shots file and loading them back: the
// file dialogs, the messages, the progress bars, and the rebuilding of the
// loaded records through frame requests of kind 3 while the view's painting
// is locked.
#include <cstdint>
#include <string>

#include "export/shots_file_rebuild.h"
#include "video/frame_request.h"

namespace trevanto {

class CPlayerDoc;

class ShotsFileCommands : private ShotsFileRebuildHost {
  public:
    // Registers itself as the document's handler of kind 3 requests.
    explicit ShotsFileCommands(CPlayerDoc& doc);
    ShotsFileCommands(const ShotsFileCommands&) = delete;
    ShotsFileCommands& operator=(const ShotsFileCommands&) = delete;

    // "Sa&ve shots...": true when a file was written.
    bool SaveShots();
    // "&Load shots...": reads the chosen file, opens its video and starts
    // rebuilding its shots after those already shown.
    void LoadShots();
    // The same for a file named by the caller (the desktop's command line);
    // true when the file's video is open and its shots are being rebuilt.
    bool LoadShotsFile(const std::string& path);

    bool IsRebuilding() const { return rebuild_.IsActive(); }
    // Ends a rebuilding without a message (the video closed).
    void CancelRebuilding() { rebuild_.Cancel(); }
    // Records queued by the last load, and how many of them became shots.
    int32_t LoadedRecords() const { return rebuild_.Total(); }
    int32_t RebuiltShots() const { return rebuild_.Rebuilt(); }

  private:
    void OnFrameArrived();
    void ShowMessage(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

    // ShotsFileRebuildHost
    int32_t FrameCount() const override;
    bool RequestRecordFrame(int32_t startFrame, int32_t imageFrame, int32_t endFrame) override;
    bool CaptureRecordShot(int32_t startFrame, int32_t endFrame) override;
    void BeginProgress(const std::string& caption) override;
    void SetProgress(int32_t position) override;
    void EndProgress() override;
    void SetViewLocked(bool locked) override;

    CPlayerDoc& doc_;
    ShotsFileRebuild rebuild_;
};

}  // namespace trevanto
