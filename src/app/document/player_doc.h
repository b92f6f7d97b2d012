#pragma once
// The document: one opened video with its player and surfaces, the shots made
// from it and the slicing run. A plain class without widgets; it reaches the
// thumbnail view, the main frame and the user only through the ports, so the
// desktop program, trevanto-cli and the tests drive the same document.
//
// Threads: every member runs on the front end's one thread. The notify
// callback (SetGraphNotify) runs on the graph's streaming thread and on a
// slicing run's owner thread; it must only wake the front end's thread,
// which then calls HandleGraphEvents.
#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/document/document_playback.h"
#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
#include "app/document/shot_editing.h"
#include "app/document/slicing_run.h"
#include "app/jobs/command_hosts.h"
#include "app/jobs/frame_job_chain.h"
#include "app/jobs/jpeg_export_commands.h"
#include "app/jobs/publishing_commands.h"
#include "app/jobs/shots_file_commands.h"
#include "app/jobs/thumbnail_refresh_job.h"
#include "export/shot_list_export.h"
#include "export/shot_template.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"
#include "shots/shot_slicer.h"
#include "video/media_graph.h"
#include "video/player.h"

namespace trevanto {

class CPlayerDoc : private PlayerListener,
                   private ShotsFileHost,
                   private JpegExportHost,
                   private PublishingHost,
                   private ThumbnailRefreshHost,
                   private SlicingRunHost,
                   private ShotEditingHost {
  public:
    // `screenWidth` x `screenHeight` sizes the work surface of the JPEG export.
    CPlayerDoc(MediaGraphFactory factory, DocumentPorts ports, int screenWidth = 1920,
               int screenHeight = 1080);
    ~CPlayerDoc() override;
    CPlayerDoc(const CPlayerDoc&) = delete;
    CPlayerDoc& operator=(const CPlayerDoc&) = delete;

    // Null ports become do-nothing ones.
    void SetPorts(const DocumentPorts& ports) { ports_ = ports.WithDefaults(); }
    const DocumentPorts& Ports() const override { return ports_; }
    // The application's shot bitmap template; null draws none.
    void SetShotTemplate(const ShotTemplate* shotTemplate) { template_ = shotTemplate; }

    // --- Graph events -----------------------------------------------------
    void SetGraphNotify(const std::function<void()>& notify) {
        player_.SetGraphNotify(notify);
        slicing_.SetRunNotify(notify);
    }
    // Takes and handles every waiting event of the graph and the run; a
    // frame job whose pictures workers make goes on from here too.
    void HandleGraphEvents() {
        while (slicing_.HandleNextRunEvent()) {
        }
        player_.HandleGraphEvents();
        chain_.ResumeWork();
    }
    // Takes and handles one waiting event (the run's first); false when
    // none waits.
    bool HandleNextGraphEvent() {
        return slicing_.HandleNextRunEvent() || player_.HandleNextGraphEvent() ||
               chain_.ResumeWork();
    }

    // --- Video ------------------------------------------------------------
    // Opens the video at `path`; work on the frames of the one open is
    // stopped first, when the user agrees (MayOpen).
    bool OpenVideo(const std::string& path) override;
    // Work on frames (JPEG images, a publication, rebuilding shots) that
    // opening `path` would end: the user is asked whether to stop it
    // ("Stop saving the JPEG images and open b.mpg?"); a Yes stops it and
    // reports what was done and what was not. False when the work goes on.
    bool MayOpen(const std::string& path) override;
    void CloseVideo() { player_.CloseVideo(); }
    bool IsOpen() const override { return player_.IsOpen(); }
    const Player& GetPlayer() const { return player_; }
    // The transport, the marks, the sound and stepping frame by frame.
    DocumentPlayback& Playback() { return playback_; }
    // The preview needs repainting: the current frame is presented again, or
    // the window colour shown when no video is open.
    void RepaintPreview();

    // --- Shots ------------------------------------------------------------
    // The edits of the shots and their undo stack.
    ShotEditing& Editing() { return editing_; }
    const ShotEditing& Editing() const { return editing_; }
    // How runs, rebuilds and edits add their shots; called alone it marks
    // the shots changed without a step of the undo stack.
    bool AddShot(const QImage& picture, std::string& captionOut, int32_t start,
                 int32_t end) override;
    // The view has removed the item and its image.
    void ShiftIndexesAfterRemoval(int32_t item, int32_t image);
    // False when there is no such shot or its start could not be sought.
    bool GoToShot(int32_t item, bool play) override;
    void GoToMiddle(int32_t item);
    void GoToEnd(int32_t item);
    void RecaptionAll();
    int32_t ShotCount() const override { return shots_.ShotCount(); }
    const ShotList& Shots() const override { return shots_; }
    // The records of a shots file waiting to be rebuilt.
    const PendingShotList& Pending() const { return pending_; }
    bool TimecodeMode() const override { return timecodeMode_; }
    // The shot was taken from the open video (or from no known one).
    bool IsOfOpenVideo(const Shot& shot) const { return shot.IsFrom(player_.OpenedPath()); }
    CaptionContext Captions() const override;

    // --- Slicing ----------------------------------------------------------
    // The engine and sampler runs, their pace and settings.
    SlicingRun& Slicing() { return slicing_; }
    const SlicingRun& Slicing() const { return slicing_; }
    // "Export shot list..." (command::kExportShotList): the shots as a CSV
    // table or, for a name ending in .edl, a CMX 3600 EDL; true when written.
    bool ExportShotList();
    // Writes the shots of the open video as a shot list of that kind (those
    // of other videos left out, which the user is told); true when written.
    bool WriteShotList(const std::string& path, ShotListKind kind);

    // --- Thumbnails ---------------------------------------------------------
    // Scales the current frame into the thumbnail surface.
    bool ScaleToThumbnail() override;
    // Makes a thumbnail from the thumbnail surface and adds a shot
    // [start, end], or (add off) replaces image `imageIndex` of the view.
    bool CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex = -1) override;

    // The thumbnail and work surfaces exist (made when a video opens).
    bool SurfacesSetUp() const override { return surfaces_.IsSetUp(); }
    // The number of the next JPEG image.
    int32_t JpegCounter() const { return jpegExport_.Counter(); }
    // Deleting shots asks first.
    bool ConfirmDeletes() const { return confirmDeletes_; }
    void SetConfirmDeletes(bool confirm) { confirmDeletes_ = confirm; }
    const ShotTemplate& GetShotTemplate() const override { return Template(); }

    // --- Shots files, JPEG export, publishing (player_doc_export.cpp) -------
    ShotsFileCommands& ShotsFile() { return shotsFile_; }
    JpegExportCommands& JpegExport() { return jpegExport_; }
    PublishingCommands& Publishing() { return publishing_; }
    const Publisher& GetPublisher() const { return publisher_; }
    // The publishing options of the video (reset when a video opens or closes).
    void SetPublishOptions(const PublishOptions& options);
    // "Create a videolink" from the start of the first item's shot to the end
    // of the last item's: the user completes the link's parts, which the
    // publishing options keep. The link (the desktop puts it on the
    // clipboard), or empty when an item has no shot or the user cancelled.
    std::string CreateVideoLink(int32_t firstItem, int32_t lastItem);
    // The chain of frame jobs (shots file, JPEG export, publication images,
    // refresh); only one job runs at a time.
    const FrameJobChain& Chain() const { return chain_; }
    // Gives up a frame the chain has waited for too long (see
    // FrameJobChain::CheckFrameWait); the front ends call it now and then.
    void CheckFrameWait(FrameJobChain::Clock::time_point now = FrameJobChain::Clock::now()) {
        chain_.CheckFrameWait(now);
    }
    bool FrameChainRunning() const override { return chain_.IsRunning(); }

  private:
    // PlayerListener: how the player reaches the ports and the run.
    void OnNoVideo() override;
    // A warning for the user.
    void ShowMessage(const std::string& text);
    void CheckButton(PlayerButton button, bool checked) override;
    void OnPlayWithoutVideo() override;
    void OnOpenFailed(OpenFailure failure) override;
    bool SetUpSurfaces() override;
    void OnVideoOpened(const std::string& fileName, int32_t frameCount) override;
    void OnSoundChecked(bool playing) override { ports_.frame->ShowNoSound(!playing); }
    void OnPlayRangeChanged(int32_t start, int32_t end) override;
    void OnPlaybackStopped() override { slicing_.StopSlicing(); }
    void PresentFrame(bool beyondPlayRange) override;
    void OnAwaitedFrame() override;
    void OnAwaitedFrameMissed() override;
    // Once a chain is over, the frame the video stands on is shown again.
    void ShowFrameAfterChain();
    void OnPlaybackEnd(int32_t frameAfterEnd) override { slicing_.OnPlaybackEnd(frameAfterEnd); }
    void OnVideoClosed() override;

    void CheckCommand(int32_t commandId, bool checked);
    // Tells the user which shots a shot list leaves out (those of other
    // videos); false when none is left to list.
    bool TellShotsLeftOut();
    bool SaveShotListOfOpenVideo(const std::string& path, ShotListKind kind);
    void UpdateShotCount();
    // SlicingRunHost and ShotsFileHost: the steps of the undo stack.
    void OpenRunStep() override { editing_.OpenRunStep(); }
    void CloseRunStep() override { editing_.CloseRunStep(); }
    void RecordShotsEdit(const ShotEdit& edit) override { editing_.RecordShotsEdit(edit); }
    void SetShotsModified(bool modified) override { editing_.SetShotsModified(modified); }
    // ShotEditingHost: the frame jobs that finish an edit.
    void StartRefresh(int32_t item) override;
    void RebuildShots(std::vector<Shot> records) override;
    const ShotTemplate& Template() const;

    DocumentPorts ports_;
    const ShotTemplate* template_ = nullptr;
    int screenWidth_;
    int screenHeight_;
    DocumentSurfaces surfaces_;
    ShotList shots_;
    PendingShotList pending_;
    ShotSlicer slicer_;
    bool timecodeMode_ = false;
    bool confirmDeletes_ = true;
    Publisher publisher_;
    // The chain keeps a reference to the player, made below; it is only
    // used once the document is built.
    FrameJobChain chain_{player_, ports_};
    ShotsFileCommands shotsFile_{*this, player_, pending_, chain_, surfaces_};
    JpegExportCommands jpegExport_{*this, player_, surfaces_, chain_, publisher_};
    PublishingCommands publishing_{*this, player_, publisher_, jpegExport_};
    ThumbnailRefreshJob refreshJob_{*this};
    DocumentPlayback playback_{player_, slicer_, chain_};
    SlicingRun slicing_{*this, player_, slicer_, surfaces_};
    ShotEditing editing_{*this, player_, slicer_, surfaces_, shots_, pending_};
    // Last: the player and its graph go first, before what they report to.
    Player player_;
};

}  // namespace trevanto
