#pragma once
// The document: one opened video with its player and surfaces, the shots made
// from it and the slicing run. A plain class without widgets; it reaches the
// thumbnail view, the main frame and the user only through the ports, so the
// desktop program, trevanto-cli and the tests drive the same document.
//
// Threads: every member runs on the front end's one thread. The graph's
// notify callback (SetGraphNotify) runs on the graph's streaming thread; it
// must only wake that thread, which then calls HandleGraphEvents.
#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/shot_edit_stack.h"
#include "app/document/document_playback.h"
#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
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
                   private SlicingRunHost {
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
    void SetGraphNotify(std::function<void()> notify) { player_.SetGraphNotify(std::move(notify)); }
    // Takes and handles every waiting graph event.
    void HandleGraphEvents() { player_.HandleGraphEvents(); }
    // Takes and handles one waiting event; false when none waits.
    bool HandleNextGraphEvent() { return player_.HandleNextGraphEvent(); }

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
    // Each edit below is one step of the undo stack (see Undo), refused
    // (false, changing nothing) during a run or while a chain of frame jobs
    // runs; InsertShot during a run joins the run's step. AddShot is how
    // runs, rebuilds and edits add their shots; called alone it marks the
    // shots changed without a step.
    bool AddShot(const QImage& picture, std::string& captionOut, int32_t start,
                 int32_t end) override;
    bool DeleteShot(int32_t item);
    // Deletes the items (ascending) as one edit; each removed shot's frames
    // go to the shot after it. False when one could not be deleted.
    bool DeleteShots(const std::vector<int32_t>& items);
    void ShiftIndexesAfterRemoval(int32_t item, int32_t image);
    // "Delete shots": every shot and its view item, and the records waiting
    // to be rebuilt.
    void ClearShots();
    // False when there is no such shot or its start could not be sought.
    bool GoToShot(int32_t item, bool play) override;
    void GoToMiddle(int32_t item);
    void GoToEnd(int32_t item);
    void RecaptionAll();
    void RefineShotStart(int32_t item);
    // "Merge": the items (ascending) become one shot, the last, whose picture
    // is retaken at its new start. Refused (false) while a chain of frame
    // requests runs, since it ends with a refresh.
    bool MergeShots(const std::vector<int32_t>& items);
    // "Split shot here": the shot of the open video that holds the frame on
    // show ends before it, and a new shot starts at it, its picture that
    // frame. False, changing nothing, when no shot can be split there (the
    // frame is a shot's first), without a video, during a run or a chain.
    bool SplitShotHere();
    // The shots changed since they were last saved or loaded; undoing back
    // to those shots makes them unchanged again.
    bool ShotsModified() const;
    void SetShotsModified(bool modified) override;

    // --- Undo and redo (player_doc_undo.cpp) --------------------------------
    // Puts the shots back as they were before the last edit (Redo: after the
    // last edit undone), pictures and all. Refused (false) when there is no
    // such edit, during a run or while a chain of frame jobs runs.
    bool Undo();
    bool Redo();
    // The edit Undo (Redo) takes back, e.g. "Merge 3 shots"; empty for none.
    std::string UndoName() const { return edits_.UndoName(); }
    std::string RedoName() const { return edits_.RedoName(); }
    int32_t ShotCount() const override { return shots_.ShotCount(); }
    const ShotList& Shots() const override { return shots_; }
    // The records of a shots file waiting to be rebuilt.
    const PendingShotList& Pending() const { return pending_; }
    bool TimecodeMode() const { return timecodeMode_; }
    // The shot was taken from the open video (or from no known one).
    bool IsOfOpenVideo(const Shot& shot) const { return shot.IsFrom(player_.OpenedPath()); }
    CaptionContext Captions() const;

    // --- Slicing ----------------------------------------------------------
    // The engine and sampler runs, their pace and settings.
    SlicingRun& Slicing() { return slicing_; }
    const SlicingRun& Slicing() const { return slicing_; }
    void InsertShot();  // command::kInsertShot, command::kShotsAddManually
    // "Export shot list..." (command::kExportShotList): the shots as a CSV
    // table or, for a name ending in .edl, a CMX 3600 EDL; true when written.
    bool ExportShotList();
    // Writes the shots of the open video as a shot list of that kind (those
    // of other videos left out, which the user is told); true when written.
    bool WriteShotList(const std::string& path, ShotListKind kind);
    // Cuts the video again from the kept scores at `threshold`, which becomes
    // the engine's: the shots the last cut made are replaced, their pictures
    // retaken from the video. Shots made by hand or edited (any other range)
    // are kept when `keepOwnShots`, else dropped. False, changing nothing,
    // without scores or while a run or a chain of frame requests runs.
    bool RecutShots(float threshold, bool keepOwnShots);

    // --- Thumbnails ---------------------------------------------------------
    // Scales the current frame into the thumbnail surface.
    bool ScaleToThumbnail() override;
    // Makes a thumbnail from the thumbnail surface and adds a shot
    // [start, end], or (add off) replaces image `imageIndex` of the view.
    bool CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex = -1) override;
    // Retakes the picture of the item's shot at its start frame. Refused
    // (false) while a chain of frame requests runs: the chain owns the request.
    bool RefreshShotImage(int32_t item);

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
    // SlicingRunHost: a run's shots are one edit.
    void OpenRunStep() override;
    void CloseRunStep() override;
    // Runs `change` as one edit: the undo stack keeps the shots as they were
    // when it changed their records or, `later`, when it returned true having
    // started a frame job that will. An edit within an edit is part of that
    // one; during a run or a chain the edit is refused, but for an insert
    // during a run, which is part of the run's step.
    bool RunEdit(const ShotEdit& edit, bool later, const std::function<bool()>& change);
    // ShotsFileHost: loading keeps the shots as they are as one edit.
    void RecordShotsEdit(const ShotEdit& edit) override;
    ShotsState KeepShots() const;
    void PutBackShots(const ShotsState& state);
    // The edits without their undo step.
    bool RemoveShot(int32_t item);
    void RemoveAllShots();
    void RefineStartNow(int32_t item);
    bool MergeNow(const std::vector<int32_t>& items);
    bool SplitNow();
    bool RefreshNow(int32_t item);
    bool RecutNow(float threshold, bool keepOwnShots);
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
    ShotEditStack edits_;
    int editDepth_ = 0;
    // The shots when the run in progress started; its shots are one edit.
    std::optional<ShotsState> runBefore_;
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
    // Last: the player and its graph go first, before what they report to.
    Player player_;
};

}  // namespace trevanto
