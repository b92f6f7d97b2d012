#pragma once
// Saving the document's shots as a shots file and loading them back: the
// file dialogs, the messages, the progress bars, and the rebuilding of the
// loaded records as a frame job (NextPendingShot: each record's image frame
// is sought and a shot captured there) while the view's painting is locked.
#include <cstdint>
#include <string>
#include <vector>

#include "app/jobs/command_hosts.h"
#include "app/jobs/frame_job_chain.h"
#include "shots/shot_list.h"

namespace trevanto {

class DocumentSurfaces;
class Player;

class ShotsFileCommands : private FrameJob {
  public:
    ShotsFileCommands(ShotsFileHost& host, Player& player, PendingShotList& pending,
                      FrameJobChain& chain, const DocumentSurfaces& surfaces)
        : host_(host), player_(player), pending_(pending), chain_(chain), surfaces_(surfaces) {}
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

    // Rebuilds the given shots (start, image and end frames) after those
    // shown, their pictures taken from the video, without a message at the end.
    // The caller has made sure that the video is open and no frame job runs:
    // it changes the shots before it hands the records over.
    void RebuildShots(std::vector<Shot> records);

    bool IsRebuilding() const;
    // Records queued by the last load, and how many of them became shots.
    int32_t LoadedRecords() const { return total_; }
    int32_t RebuiltShots() const { return rebuilt_; }

  private:
    // FrameJob: item k is always the head of the pending records.
    std::string ProgressCaption() const override { return "Extracting"; }
    void Begin() override;
    Seek SeekItem(int32_t k) override;
    int32_t WantedFrame(int32_t k) const override;
    bool ItemGone(int32_t k) const override;
    bool Act(int32_t k) override;
    void OnUnreachable(int32_t k) override;
    std::string StopAction() const override;
    void ReportStopped() override;
    void Finish(bool completed) override;

    ShotsFileHost& host_;
    Player& player_;
    PendingShotList& pending_;
    FrameJobChain& chain_;
    const DocumentSurfaces& surfaces_;
    int32_t total_ = 0;
    int32_t rebuilt_ = 0;
    bool fromFile_ = true;  // the end is reported as a shots file load
};

}  // namespace trevanto
